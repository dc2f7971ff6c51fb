#pragma once
// A tree of the shell's folders: the desktop at the root, then what the shell puts under
// it (the computer, its drives, special folders, the file system), with the shell's names
// and icons. A node's children are read when it is first expanded; hidden folders show.
// Paths are texts in the program's code page.

#include <functional>
#include <map>
#include <string>
#include <vector>
#include <windows.h>

#include <shlobj.h>

#include "ui/Control.h"
#include "ui/Font.h"

namespace controls {

struct ShellFolderTreeDesign {
    int left = 0, top = 0, width = 0, height = 0;
    int indent = 19;
    ui::FontDesign font{};
    // A folder dragged out is the shell's drag of it; what is dropped on a folder goes to
    // the shell's drop handling of that folder.
    bool oleDrag = false;
    bool oleDrop = false;
};

class ShellDropTarget;

class ShellFolderTree : public ui::Control {
public:
    ~ShellFolderTree() override;
    void Create(HWND parent, const ShellFolderTreeDesign& design);

    // Expands the tree down to the folder the shell makes of the path and selects it; a
    // path the shell cannot parse selects the desktop.
    void SetPath(const std::string& path);
    // The same, true when it got there; otherwise the selection stays where it was.
    bool SelectPath(const std::string& path);
    // The file-system path of the selected folder ("C:\" for a drive root, no final "\"
    // otherwise); empty for a folder the shell keeps outside the file system.
    std::string Path() const;
    // Creates a folder with the default name inside the selected one, selects it and
    // begins editing its label, which renames the folder on disk. False, after saying
    // why, when the folder cannot be made.
    bool NewFolder();
    void Repaint();
    // Reads the children of every loaded folder again, keeping what is expanded and
    // selected where it still exists.
    void Refresh();
    // While on, folders made, renamed or removed by anyone, and drives that come or go,
    // show soon after in every folder read; turning it on reads the loaded folders again.
    // Off, nothing holds the folders open.
    void Watch(bool on);

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(int dpi) override;

    // The selected folder changed.
    std::function<void()> OnChange;
    // Editing of a node's label begins: its text; the handler may clear allow.
    std::function<void(const std::string& text, bool& allow)> OnEditing;

    // The default name of a new folder; a second one in the same folder gets " (2)".
    static constexpr const char* kNewFolderName = "New Folder";

private:
    int indent_ = 0; // design pixels
    struct Node;
    HTREEITEM Insert(HTREEITEM parent, PIDLIST_ABSOLUTE pidl, std::wstring name, bool hasChildren);
    Node* NodeOf(HTREEITEM item) const;
    HTREEITEM Selected() const;
    void LoadChildren(HTREEITEM item);
    void Reload(HTREEITEM item);
    HTREEITEM ChildToward(HTREEITEM item, PCIDLIST_ABSOLUTE target) const;
    HTREEITEM FindLoaded(HTREEITEM from, PCIDLIST_ABSOLUTE pidl) const;
    void StopWatching(HTREEITEM item);
    void ReloadChanged();
    // The computer's drives: what the shell lists, less drives gone, with those come
    // since the program started.
    void AdjustDrives(IShellFolder* computer, std::vector<PITEMID_CHILD>& ids);
    void ShowContextMenu(HTREEITEM item, POINT screen);
    void DragOut(HTREEITEM item);
    // The folder under a point of the screen while something is dragged over the tree.
    PCIDLIST_ABSOLUTE DropFolderAt(const POINTL* screen);
    bool Rename(HTREEITEM item, const wchar_t* name);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self);

    IShellFolder* desktop_ = nullptr;
    HTREEITEM root_ = nullptr;
    // The computer, parent of the drives, and the drives there were at the last look.
    PIDLIST_ABSOLUTE drivesPidl_ = nullptr;
    DWORD drives_ = 0;
    unsigned drivesTick_ = 0;
    // A change notification for each folder read from the file system.
    std::map<HTREEITEM, HANDLE> watches_;
    bool watching_ = false;
    bool reloading_ = false;
    bool oleDrag_ = false;
    ShellDropTarget* dropTarget_ = nullptr;
    // The folder a drag rests on, and since when: resting opens it.
    HTREEITEM dropHover_ = nullptr;
    unsigned long long dropHoverSince_ = 0;
};

} // namespace controls
