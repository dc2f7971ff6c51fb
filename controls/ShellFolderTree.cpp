#include "controls/ShellFolderTree.h"

#include <algorithm>
#include <commctrl.h>
#include <memory>
#include <shellapi.h>
#include <shlwapi.h>
#include <vector>

#include "controls/ShellDropTarget.h"
#include "platform/Messages.h"
#include "platform/win32/WidePath.h"
#include "ui/Dpi.h"
#include "ui/FileDrag.h"
#include "ui/Guard.h"

namespace controls {

namespace {

constexpr UINT_PTR kWatchTimer = 0x5F;
constexpr UINT kWatchMilliseconds = 300;
// Drives are looked at every third tick (about 2 ms under Wine).
constexpr unsigned kDrivesEveryTicks = 3;

std::wstring Wide(const std::string& text) {
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string NarrowToUtf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                          nullptr, nullptr);
    return narrow;
}

std::wstring FileSystemPath(PCIDLIST_ABSOLUTE pidl) {
    wchar_t path[MAX_PATH] = {};
    return pidl != nullptr && ::SHGetPathFromIDListW(pidl, path) ? path : L"";
}

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T> using ComPtr = std::unique_ptr<T, ComRelease>;

// The shell folder behind an absolute PIDL; the desktop's is the empty one.
ComPtr<IShellFolder> BindFolder(IShellFolder* desktop, PCIDLIST_ABSOLUTE pidl) {
    IShellFolder* folder = nullptr;
    if (pidl->mkid.cb == 0) {
        desktop->AddRef();
        folder = desktop;
    } else if (FAILED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder,
                                            reinterpret_cast<void**>(&folder)))) {
        folder = nullptr;
    }
    return ComPtr<IShellFolder>(folder);
}

// What the shell offers for an item (its menu, its data for a drag), asked of the folder
// it is in; the desktop, in none, offers nothing.
template <typename T> ComPtr<T> UIObjectOf(HWND owner, PCIDLIST_ABSOLUTE pidl, REFIID iid) {
    IShellFolder* rawParent = nullptr;
    PCUITEMID_CHILD child = nullptr;
    if (pidl->mkid.cb == 0 ||
        FAILED(::SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&rawParent),
                                &child))) {
        return nullptr;
    }
    ComPtr<IShellFolder> parent(rawParent);
    T* object = nullptr;
    if (FAILED(parent->GetUIObjectOf(owner, 1, &child, iid, nullptr,
                                     reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return ComPtr<T>(object);
}

// The drives there are. Some systems keep the list of drives a program started with
// (Wine): a drive come since still has a root to look at, and one gone has none. A
// listed drive whose root cannot be read for another reason (no disc in it) stays.
DWORD PresentDrives() {
    const DWORD listed = ::GetLogicalDrives();
    DWORD present = 0;
    DWORD previousMode = 0;
    // An empty drive answers at once instead of asking for a disc.
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    wchar_t root[] = L"A:\\";
    for (int letter = 0; letter < 26; ++letter) {
        root[0] = static_cast<wchar_t>(L'A' + letter);
        const DWORD bit = 1u << letter;
        if (::GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES) {
            present |= bit;
        } else if ((listed & bit) != 0) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_PATH_NOT_FOUND && error != ERROR_FILE_NOT_FOUND &&
                error != ERROR_INVALID_DRIVE) {
                present |= bit;
            }
        }
    }
    ::SetThreadErrorMode(previousMode, nullptr);
    return present;
}

// The bit of the drive whose root an item of the computer is ("T:\"), 0 for any other.
DWORD DriveBit(IShellFolder* computer, PCUITEMID_CHILD id) {
    STRRET text{};
    wchar_t name[MAX_PATH] = {};
    if (FAILED(computer->GetDisplayNameOf(id, SHGDN_FORPARSING, &text)) ||
        FAILED(::StrRetToBufW(&text, id, name, MAX_PATH))) {
        return 0;
    }
    const wchar_t letter =
        name[0] >= L'a' && name[0] <= L'z' ? static_cast<wchar_t>(name[0] - L'a' + L'A') : name[0];
    return letter >= L'A' && letter <= L'Z' && name[1] == L':' && name[2] == L'\\' &&
                   name[3] == L'\0'
               ? 1u << (letter - L'A')
               : 0;
}

} // namespace

struct ShellFolderTree::Node {
    PIDLIST_ABSOLUTE pidl;
    bool loaded = false;
    ~Node() { ::ILFree(pidl); }
};

ShellFolderTree::~ShellFolderTree() {
    if (dropTarget_ != nullptr) {
        dropTarget_->Revoke();
    }
    if (handle_ != nullptr && ::IsWindow(handle_)) {
        // The items free their nodes as they go.
        ::SendMessageW(handle_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        ::KillTimer(handle_, kWatchTimer);
        ::RemoveWindowSubclass(handle_, SubclassProc, 0);
    }
    for (const auto& [item, watch] : watches_) {
        ::FindCloseChangeNotification(watch);
    }
    if (desktop_ != nullptr) {
        desktop_->Release();
    }
    ::ILFree(drivesPidl_);
}

void ShellFolderTree::OnDpiChanged(int dpi) {
    ::SendMessageW(handle_, TVM_SETINDENT, static_cast<WPARAM>(ui::Scale(indent_, dpi)), 0);
}

void ShellFolderTree::Create(HWND parent, const ShellFolderTreeDesign& design) {
    ::SHGetDesktopFolder(&desktop_);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                        TVS_EDITLABELS | TVS_SHOWSELALWAYS;
    Attach(ui::CreateChildW(WC_TREEVIEWW, style & ~WS_CHILD, WS_EX_CLIENTEDGE, parent,
                            {design.left, design.top, design.width, design.height}));
    ui::SetControlFont(handle_, design.font);
    indent_ = design.indent;
    OnDpiChanged(ui::DpiOf(handle_));
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ::SendMessageW(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    ::SetWindowSubclass(handle_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    oleDrag_ = design.oleDrag;
    if (design.oleDrop) {
        dropTarget_ = ShellDropTarget::Register(
            handle_, [this](const POINTL* screen) { return DropFolderAt(screen); });
    }

    ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drivesPidl_);
    PIDLIST_ABSOLUTE desktopPidl = nullptr;
    ::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktopPidl);
    SHFILEINFOW desktopInfo{};
    ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktopPidl), 0, &desktopInfo, sizeof desktopInfo,
                     SHGFI_PIDL | SHGFI_DISPLAYNAME);
    root_ = Insert(TVI_ROOT, desktopPidl, desktopInfo.szDisplayName, true);
    ::SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
    ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root_));

    // The watched folders are looked at on every tick.
    ::SetTimer(handle_, kWatchTimer, kWatchMilliseconds, nullptr);
}

HTREEITEM ShellFolderTree::Insert(HTREEITEM parent, PIDLIST_ABSOLUTE pidl, std::wstring name,
                                  bool hasChildren) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = name.data();
    // The shell's icon of a folder costs a look at it on disk (tens of milliseconds under
    // Wine): only the rows shown ask for theirs.
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.cChildren = hasChildren ? 1 : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(new Node{pidl, false});
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(handle_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

ShellFolderTree::Node* ShellFolderTree::NodeOf(HTREEITEM item) const {
    TVITEMW tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (item == nullptr ||
        !::SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) {
        return nullptr;
    }
    return reinterpret_cast<Node*>(tv.lParam);
}

HTREEITEM ShellFolderTree::Selected() const {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void ShellFolderTree::LoadChildren(HTREEITEM item) {
    Node* node = NodeOf(item);
    if (node == nullptr || node->loaded) {
        return;
    }
    node->loaded = true;
    const std::wstring path = FileSystemPath(node->pidl);
    if (watching_ && !path.empty()) {
        const HANDLE watch =
            ::FindFirstChangeNotificationW(path.c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
        if (watch != INVALID_HANDLE_VALUE) {
            // The tree may hand out the handle of an item gone unnoticed again.
            StopWatching(item);
            watches_[item] = watch;
        }
    }
    ComPtr<IShellFolder> folder = BindFolder(desktop_, node->pidl);
    IEnumIDList* raw = nullptr;
    if (!folder ||
        folder->EnumObjects(handle_, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &raw) != S_OK) {
        return;
    }
    ComPtr<IEnumIDList> children(raw);
    std::vector<PITEMID_CHILD> ids;
    for (PITEMID_CHILD id = nullptr; children->Next(1, &id, nullptr) == S_OK;) {
        ids.push_back(id);
    }
    if (drivesPidl_ != nullptr && ::ILIsEqual(node->pidl, drivesPidl_)) {
        AdjustDrives(folder.get(), ids);
    }
    struct Child {
        PITEMID_CHILD id;
        bool hasChildren;
        std::wstring name;
    };
    std::vector<Child> found;
    for (PITEMID_CHILD id : ids) {
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_STREAM;
        PCUITEMID_CHILD one[] = {id};
        folder->GetAttributesOf(1, one, &attributes);
        // Archives that the shell opens as folders are files here.
        if ((attributes & SFGAO_FOLDER) != 0 && (attributes & SFGAO_STREAM) == 0) {
            STRRET text{};
            wchar_t name[MAX_PATH] = {};
            if (SUCCEEDED(folder->GetDisplayNameOf(id, SHGDN_NORMAL, &text))) {
                ::StrRetToBufW(&text, id, name, MAX_PATH);
            }
            found.push_back({id, (attributes & SFGAO_HASSUBFOLDER) != 0, name});
        } else {
            ::ILFree(id);
        }
    }
    // The shell's own order.
    std::sort(found.begin(), found.end(), [&](const Child& a, const Child& b) {
        return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a.id, b.id))) < 0;
    });
    for (const Child& child : found) {
        Insert(item, ::ILCombine(node->pidl, child.id), child.name, child.hasChildren);
        ::ILFree(child.id);
    }
    if (found.empty()) {
        TVITEMW tv{};
        tv.mask = TVIF_CHILDREN;
        tv.hItem = item;
        tv.cChildren = 0;
        ::SendMessageW(handle_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    }
}

void ShellFolderTree::AdjustDrives(IShellFolder* computer, std::vector<PITEMID_CHILD>& ids) {
    drives_ = PresentDrives();
    DWORD listed = 0;
    std::erase_if(ids, [&](PITEMID_CHILD id) {
        const DWORD bit = DriveBit(computer, id);
        listed |= bit;
        if (bit != 0 && (drives_ & bit) == 0) {
            ::ILFree(id);
            return true;
        }
        return false;
    });
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives_ & ~listed & (1u << letter)) == 0) {
            continue;
        }
        wchar_t root[] = L"A:\\";
        root[0] = static_cast<wchar_t>(L'A' + letter);
        PIDLIST_ABSOLUTE drive = nullptr;
        if (SUCCEEDED(
                desktop_->ParseDisplayName(handle_, nullptr, root, nullptr, &drive, nullptr))) {
            if (::ILIsParent(drivesPidl_, drive, TRUE)) {
                ids.push_back(::ILClone(::ILFindLastID(drive)));
            }
            ::ILFree(drive);
        }
    }
}

// Reads the children again: the expanded ones below stay expanded, the selection stays
// on the same folder, or moves up to this one when it went.
void ShellFolderTree::Reload(HTREEITEM item) {
    Node* node = NodeOf(item);
    if (node == nullptr || !node->loaded) {
        return;
    }
    std::vector<PIDLIST_ABSOLUTE> expanded;
    PIDLIST_ABSOLUTE selected = nullptr;
    const HTREEITEM selection = Selected();
    for (HTREEITEM at = selection; at != nullptr;
         at = reinterpret_cast<HTREEITEM>(
             ::SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(at)))) {
        if (at == item && selection != item) {
            selected = ::ILCloneFull(NodeOf(selection)->pidl);
        }
    }
    std::vector<HTREEITEM> stack{item};
    while (!stack.empty()) {
        const HTREEITEM at = stack.back();
        stack.pop_back();
        for (auto child = reinterpret_cast<HTREEITEM>(::SendMessageW(
                 handle_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(at)));
             child != nullptr;
             child = reinterpret_cast<HTREEITEM>(::SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_NEXT,
                                                                reinterpret_cast<LPARAM>(child)))) {
            const auto state = ::SendMessageW(handle_, TVM_GETITEMSTATE,
                                              reinterpret_cast<WPARAM>(child), TVIS_EXPANDED);
            if ((state & TVIS_EXPANDED) != 0) {
                expanded.push_back(::ILCloneFull(NodeOf(child)->pidl));
                stack.push_back(child);
            }
        }
    }
    if (selected != nullptr) {
        ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    for (HTREEITEM child;
         (child = reinterpret_cast<HTREEITEM>(::SendMessageW(
              handle_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)))) != nullptr;) {
        ::SendMessageW(handle_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
    }
    StopWatching(item);
    node->loaded = false;
    TVITEMW tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = item;
    tv.cChildren = 1;
    ::SendMessageW(handle_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    LoadChildren(item);
    // Parents come before their children in the list, so each is found once loaded.
    for (PIDLIST_ABSOLUTE pidl : expanded) {
        if (const HTREEITEM again = FindLoaded(item, pidl)) {
            ::SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(again));
        }
        ::ILFree(pidl);
    }
    if (selected != nullptr) {
        if (const HTREEITEM again = FindLoaded(item, selected)) {
            ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(again));
        }
        ::ILFree(selected);
    }
}

// The item of a folder among those read so far below from, or none.
HTREEITEM ShellFolderTree::FindLoaded(HTREEITEM from, PCIDLIST_ABSOLUTE pidl) const {
    HTREEITEM at = from;
    while (at != nullptr) {
        const Node* node = NodeOf(at);
        if (::ILIsEqual(node->pidl, pidl)) {
            return at;
        }
        HTREEITEM next = nullptr;
        if (node->loaded) {
            for (auto child = reinterpret_cast<HTREEITEM>(::SendMessageW(
                     handle_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(at)));
                 child != nullptr && next == nullptr;
                 child = reinterpret_cast<HTREEITEM>(::SendMessageW(
                     handle_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
                if (::ILIsParent(NodeOf(child)->pidl, pidl, FALSE)) {
                    next = child;
                }
            }
        }
        at = next;
    }
    return nullptr;
}

// The child of a read folder on the way to the target, or none.
HTREEITEM ShellFolderTree::ChildToward(HTREEITEM item, PCIDLIST_ABSOLUTE target) const {
    for (auto child = reinterpret_cast<HTREEITEM>(
             ::SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
         child != nullptr;
         child = reinterpret_cast<HTREEITEM>(::SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_NEXT,
                                                            reinterpret_cast<LPARAM>(child)))) {
        PCIDLIST_ABSOLUTE pidl = NodeOf(child)->pidl;
        if (::ILIsEqual(pidl, target) || ::ILIsParent(pidl, target, FALSE)) {
            return child;
        }
    }
    return nullptr;
}

void ShellFolderTree::SetPath(const std::string& path) {
    // What the shell cannot parse or the tree cannot reach leaves it at the desktop.
    if (!SelectPath(path)) {
        ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root_));
        ::SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
        ::SendMessageW(handle_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(root_));
    }
}

bool ShellFolderTree::SelectPath(const std::string& path) {
    PIDLIST_ABSOLUTE target = nullptr;
    std::wstring wide = Wide(path);
    if (path.empty() || FAILED(desktop_->ParseDisplayName(handle_, nullptr, wide.data(), nullptr,
                                                          &target, nullptr))) {
        return false;
    }
    // Down from the desktop, one level at a time; a folder read before the one on the way
    // was made (or its drive came) is read again.
    HTREEITEM at = root_;
    while (at != nullptr && !::ILIsEqual(NodeOf(at)->pidl, target)) {
        LoadChildren(at);
        HTREEITEM next = ChildToward(at, target);
        if (next == nullptr) {
            Reload(at);
            next = ChildToward(at, target);
        }
        at = next;
    }
    ::ILFree(target);
    if (at == nullptr) {
        return false;
    }
    ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(at));
    ::SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(at));
    ::SendMessageW(handle_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(at));
    return true;
}

std::string ShellFolderTree::Path() const {
    const Node* node = NodeOf(Selected());
    return node != nullptr ? NarrowToUtf8(FileSystemPath(node->pidl)) : std::string();
}

bool ShellFolderTree::NewFolder() {
    const HTREEITEM parent = Selected();
    const Node* node = NodeOf(parent);
    const std::wstring folder = node != nullptr ? FileSystemPath(node->pidl) : L"";
    const std::wstring base = Wide(kNewFolderName);
    std::wstring name = base;
    std::wstring path;
    bool made = false;
    if (!folder.empty()) {
        const std::wstring prefix = folder.back() == L'\\' ? folder : folder + L'\\';
        for (int n = 2;; ++n) {
            path = prefix + name;
            if (::CreateDirectoryW(platform::LongForm(path).c_str(), nullptr)) {
                made = true;
                break;
            }
            if (::GetLastError() != ERROR_ALREADY_EXISTS || n > 999) {
                break;
            }
            name = base + L" (" + std::to_wstring(n) + L")";
        }
    }
    if (!made) {
        platform::ShowMessage("No se puede crear la carpeta " + NarrowToUtf8(path));
        return false;
    }
    Reload(parent);
    ::SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    PIDLIST_ABSOLUTE madePidl = nullptr;
    HTREEITEM item = nullptr;
    if (SUCCEEDED(desktop_->ParseDisplayName(handle_, nullptr, path.data(), nullptr, &madePidl,
                                             nullptr))) {
        item = FindLoaded(parent, madePidl);
        ::ILFree(madePidl);
    }
    if (item != nullptr) {
        ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        ::SetFocus(handle_);
        ::SendMessageW(handle_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item));
    }
    return true;
}

void ShellFolderTree::Repaint() {
    ::RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ShellFolderTree::Refresh() {
    Reload(root_);
}

bool ShellFolderTree::Rename(HTREEITEM item, const wchar_t* name) {
    Node* node = NodeOf(item);
    const std::wstring from = node != nullptr ? FileSystemPath(node->pidl) : L"";
    const std::size_t cut = from.find_last_of(L'\\');
    if (from.empty() || cut == std::wstring::npos || cut + 1 == from.size()) {
        return false;
    }
    const std::wstring to = from.substr(0, cut + 1) + name;
    PIDLIST_ABSOLUTE renamed = nullptr;
    std::wstring parse = to;
    if (!::MoveFileW(platform::LongForm(from).c_str(), platform::LongForm(to).c_str()) ||
        FAILED(desktop_->ParseDisplayName(handle_, nullptr, parse.data(), nullptr, &renamed,
                                          nullptr))) {
        platform::ShowMessage("No se puede cambiar el nombre de " + NarrowToUtf8(from));
        return false;
    }
    ::ILFree(node->pidl);
    node->pidl = renamed;
    return true;
}

void ShellFolderTree::StopWatching(HTREEITEM item) {
    if (const auto watch = watches_.find(item); watch != watches_.end()) {
        ::FindCloseChangeNotification(watch->second);
        watches_.erase(watch);
    }
}

void ShellFolderTree::Watch(bool on) {
    for (const auto& [item, watch] : watches_) {
        ::FindCloseChangeNotification(watch);
    }
    watches_.clear();
    watching_ = on;
    if (on) {
        Refresh();
    }
}

void ShellFolderTree::ReloadChanged() {
    // Reading a folder again while its label is edited would take the edit away. The
    // shell's calls can pump messages, so a tick may come while a folder is being read.
    // A window disabled for an operation (an extraction into the selected folder) reads
    // its folders when it is done: what changed stays signalled till then.
    if (reloading_ || ::SendMessageW(handle_, TVM_GETEDITCONTROL, 0, 0) != 0 ||
        !::IsWindowEnabled(::GetAncestor(handle_, GA_ROOT))) {
        return;
    }
    reloading_ = true;
    const struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{reloading_};
    // Drives that came or went change the computer's folder.
    if (watching_ && ++drivesTick_ % kDrivesEveryTicks == 0) {
        if (const DWORD present = PresentDrives(); present != drives_) {
            drives_ = present;
            if (const HTREEITEM computer = FindLoaded(root_, drivesPidl_)) {
                Reload(computer);
            }
        }
    }
    std::vector<HTREEITEM> changed;
    for (const auto& [item, watch] : watches_) {
        if (::WaitForSingleObject(watch, 0) == WAIT_OBJECT_0) {
            changed.push_back(item);
        }
    }
    // A reload forgets the folders below, so one may be gone by its turn.
    for (const HTREEITEM item : changed) {
        if (watches_.count(item) != 0) {
            Reload(item);
        }
    }
}

void ShellFolderTree::ShowContextMenu(HTREEITEM item, POINT screen) {
    const Node* node = NodeOf(item);
    ComPtr<IContextMenu> menu =
        node != nullptr ? UIObjectOf<IContextMenu>(handle_, node->pidl, IID_IContextMenu) : nullptr;
    if (!menu) {
        return;
    }
    HMENU popup = ::CreatePopupMenu();
    constexpr UINT kFirst = 1, kLast = 0x7FFF;
    if (SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirst, kLast, CMF_NORMAL))) {
        const UINT chosen = ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                             screen.y, 0, handle_, nullptr);
        if (chosen >= kFirst) {
            CMINVOKECOMMANDINFO invoke{};
            invoke.cbSize = sizeof invoke;
            invoke.hwnd = handle_;
            invoke.lpVerb = MAKEINTRESOURCEA(chosen - kFirst);
            invoke.nShow = SW_SHOWNORMAL;
            menu->InvokeCommand(&invoke);
        }
    }
    ::DestroyMenu(popup);
}

void ShellFolderTree::DragOut(HTREEITEM item) {
    const Node* node = NodeOf(item);
    if (node == nullptr) {
        return;
    }
    if (ComPtr<IDataObject> data = UIObjectOf<IDataObject>(handle_, node->pidl, IID_IDataObject)) {
        ui::DragShellData(data.get(), DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    }
}

PCIDLIST_ABSOLUTE ShellFolderTree::DropFolderAt(const POINTL* screen) {
    HTREEITEM item = nullptr;
    if (screen != nullptr) {
        TVHITTESTINFO hit{};
        hit.pt = {screen->x, screen->y};
        ::ScreenToClient(handle_, &hit.pt);
        // Anywhere on a folder's row is on the folder.
        item = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    }
    ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
    constexpr unsigned long long kOpenAfterMilliseconds = 800;
    const unsigned long long now = ::GetTickCount64();
    if (item != dropHover_) {
        dropHover_ = item;
        dropHoverSince_ = now;
    } else if (item != nullptr && now - dropHoverSince_ >= kOpenAfterMilliseconds) {
        ::SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
    const Node* node = NodeOf(item);
    return node != nullptr ? node->pidl : nullptr;
}

bool ShellFolderTree::OnParentMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) {
        return false;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    result = 0;
    switch (header->code) {
    case TVN_ITEMEXPANDINGW: {
        const auto* tree = reinterpret_cast<const NMTREEVIEWW*>(lParam);
        if (tree->action == TVE_EXPAND) {
            LoadChildren(tree->itemNew.hItem);
        }
        return true;
    }
    case TVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(lParam);
        if ((info->item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) != 0) {
            const Node* node = reinterpret_cast<const Node*>(info->item.lParam);
            const auto source = reinterpret_cast<LPCWSTR>(node->pidl);
            SHFILEINFOW closed{}, open{};
            constexpr UINT kIcon = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
            ::SHGetFileInfoW(source, 0, &closed, sizeof closed, kIcon);
            ::SHGetFileInfoW(source, 0, &open, sizeof open, kIcon | SHGFI_OPENICON);
            info->item.iImage = closed.iIcon;
            info->item.iSelectedImage = open.iIcon;
            // Asked once: the tree keeps the answer.
            info->item.mask |= TVIF_DI_SETITEM;
        }
        return true;
    }
    case TVN_DELETEITEMW: {
        const TVITEMW& item = reinterpret_cast<const NMTREEVIEWW*>(lParam)->itemOld;
        StopWatching(item.hItem);
        delete reinterpret_cast<Node*>(item.lParam);
        return true;
    }
    case TVN_SELCHANGEDW:
        ui::Fire(OnChange);
        return true;
    case TVN_BEGINDRAGW:
        if (oleDrag_) {
            const HTREEITEM item = reinterpret_cast<const NMTREEVIEWW*>(lParam)->itemNew.hItem;
            ui::Guarded([&] { DragOut(item); });
        }
        return true;
    case TVN_BEGINLABELEDITW: {
        const auto* edit = reinterpret_cast<const NMTVDISPINFOW*>(lParam);
        const Node* node = NodeOf(edit->item.hItem);
        // Only folders of the file system, and not drives, have names to change.
        const std::wstring path = node != nullptr ? FileSystemPath(node->pidl) : L"";
        bool allow = !path.empty() && path.back() != L'\\';
        wchar_t text[MAX_PATH] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = edit->item.hItem;
        tv.pszText = text;
        tv.cchTextMax = MAX_PATH;
        ::SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        if (allow) {
            ui::Fire(OnEditing, NarrowToUtf8(text), allow);
        }
        result = allow ? FALSE : TRUE;
        return true;
    }
    case TVN_ENDLABELEDITW: {
        const auto* edit = reinterpret_cast<const NMTVDISPINFOW*>(lParam);
        result = edit->item.pszText != nullptr && edit->item.pszText[0] != L'\0' &&
                 Rename(edit->item.hItem, edit->item.pszText);
        return true;
    }
    case NM_RCLICK: {
        POINT screen;
        ::GetCursorPos(&screen);
        TVHITTESTINFO hit{};
        hit.pt = screen;
        ::ScreenToClient(handle_, &hit.pt);
        const auto item = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (item != nullptr) {
            ::SendMessageW(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            ShowContextMenu(item, screen);
        }
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK ShellFolderTree::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_TIMER && wParam == kWatchTimer) {
        ui::Guarded([self] { reinterpret_cast<ShellFolderTree*>(self)->ReloadChanged(); });
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

} // namespace controls
