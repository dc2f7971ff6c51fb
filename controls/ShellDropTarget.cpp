#include "controls/ShellDropTarget.h"

#include <utility>

namespace controls {

namespace {

// The shell's drop handling of a folder: its view's, as in the shell's own windows.
IDropTarget* TargetOf(HWND window, PCIDLIST_ABSOLUTE folder) {
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop))) {
        return nullptr;
    }
    IShellFolder* shell = desktop;
    if (folder->mkid.cb != 0 && FAILED(desktop->BindToObject(folder, nullptr, IID_IShellFolder,
                                                             reinterpret_cast<void**>(&shell)))) {
        shell = nullptr;
    }
    IDropTarget* target = nullptr;
    if (shell != nullptr && FAILED(shell->CreateViewObject(window, IID_IDropTarget,
                                                           reinterpret_cast<void**>(&target)))) {
        target = nullptr;
    }
    if (shell != nullptr && shell != desktop) {
        shell->Release();
    }
    desktop->Release();
    return target;
}

} // namespace

ShellDropTarget* ShellDropTarget::Register(HWND window, FolderAt folderAt) {
    auto* target = new ShellDropTarget(window, std::move(folderAt));
    ::RegisterDragDrop(window, target);
    return target;
}

void ShellDropTarget::Revoke() {
    ::RevokeDragDrop(window_);
    Leave();
    folderAt_ = nullptr;
    Release();
}

ShellDropTarget::ShellDropTarget(HWND window, FolderAt folderAt)
    : window_(window), folderAt_(std::move(folderAt)) {}

ShellDropTarget::~ShellDropTarget() = default;

HRESULT STDMETHODCALLTYPE ShellDropTarget::QueryInterface(REFIID id, void** out) {
    if (id == IID_IUnknown || id == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ShellDropTarget::AddRef() {
    return ++references_;
}

ULONG STDMETHODCALLTYPE ShellDropTarget::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

void ShellDropTarget::Leave() {
    if (target_ != nullptr) {
        target_->DragLeave();
        target_->Release();
        target_ = nullptr;
    }
    ::ILFree(folder_);
    folder_ = nullptr;
}

void ShellDropTarget::Follow(DWORD keys, POINTL point, DWORD allowed) {
    const PCIDLIST_ABSOLUTE under = folderAt_ ? folderAt_(&point) : nullptr;
    const bool same =
        under == nullptr ? folder_ == nullptr : folder_ != nullptr && ::ILIsEqual(under, folder_);
    if (same) {
        return;
    }
    Leave();
    if (under == nullptr) {
        return;
    }
    folder_ = ::ILCloneFull(under);
    target_ = TargetOf(window_, under);
    if (target_ != nullptr && FAILED(target_->DragEnter(data_, keys, point, &allowed))) {
        target_->Release();
        target_ = nullptr;
    }
}

HRESULT STDMETHODCALLTYPE ShellDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                                     DWORD* effect) {
    if (data_ != nullptr) {
        data_->Release();
    }
    data_ = data;
    data_->AddRef();
    return DragOver(keys, point, effect);
}

HRESULT STDMETHODCALLTYPE ShellDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    Follow(keys, point, *effect);
    if (target_ == nullptr) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    return target_->DragOver(keys, point, effect);
}

HRESULT STDMETHODCALLTYPE ShellDropTarget::DragLeave() {
    Leave();
    if (folderAt_) {
        folderAt_(nullptr);
    }
    if (data_ != nullptr) {
        data_->Release();
        data_ = nullptr;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ShellDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point,
                                                DWORD* effect) {
    if (data_ == nullptr) {
        data_ = data;
        data_->AddRef();
    }
    const DWORD allowed = *effect;
    Follow(keys, point, allowed);
    HRESULT result = S_OK;
    if (target_ != nullptr) {
        *effect = allowed;
        // The shell's handling owns the drop from here; nothing to leave afterwards.
        result = target_->Drop(data, keys, point, effect);
        target_->Release();
        target_ = nullptr;
    } else {
        *effect = DROPEFFECT_NONE;
    }
    Leave();
    if (folderAt_) {
        folderAt_(nullptr);
    }
    data_->Release();
    data_ = nullptr;
    return result;
}

} // namespace controls
