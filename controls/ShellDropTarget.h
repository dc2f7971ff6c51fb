#pragma once
// Takes drops for a window whose parts stand for shell folders: what is dragged over a
// folder goes to the shell's own drop handling of that folder, which copies, moves or
// links as the shell would in its own windows.

#include <functional>
#include <windows.h>

#include <shlobj.h>

namespace controls {

class ShellDropTarget final : public IDropTarget {
public:
    // The folder under a point of the screen, marked as the drop's place, or none; with
    // no point, the mark goes. The folder stays the window's.
    using FolderAt = std::function<PCIDLIST_ABSOLUTE(const POINTL* screen)>;

    // Registered for the window until Revoke.
    static ShellDropTarget* Register(HWND window, FolderAt folderAt);
    void Revoke();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    ShellDropTarget(HWND window, FolderAt folderAt);
    ~ShellDropTarget();
    // Moves to the folder under the point, leaving the one before.
    void Follow(DWORD keys, POINTL point, DWORD allowed);
    void Leave();

    HWND window_;
    FolderAt folderAt_;
    ULONG references_ = 1;
    IDataObject* data_ = nullptr;
    PIDLIST_ABSOLUTE folder_ = nullptr;
    IDropTarget* target_ = nullptr;
};

} // namespace controls
