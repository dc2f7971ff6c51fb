// The other end of drags the window tests drive with the real mouse:
//   drop_probe target FOLDER LOG   a window that takes dropped files, copies them into
//                                  FOLDER and writes their names to LOG, one a line
// The window sits at the screen's left edge, below the program's windows.
//   drop_probe where list|tree     prints the screen point of the main window's first
//                                  row; or of the folder the extract dialog's tree selected,
//                                  the tree's row height, and 1 when the next row is open
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

namespace {

std::wstring folder, logPath;

class Target final : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IDropTarget) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        std::string lines;
        if (SUCCEEDED(data->GetData(&format, &medium))) {
            const auto drop = static_cast<HDROP>(medium.hGlobal);
            const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                std::wstring name(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
                ::DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
                const std::wstring leaf = name.substr(name.find_last_of(L'\\') + 1);
                ::CopyFileW(name.c_str(), (folder + L"\\" + leaf).c_str(), FALSE);
                char utf8[4 * MAX_PATH] = {};
                ::WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, utf8, sizeof utf8, nullptr,
                                      nullptr);
                lines += std::string(utf8) + "\n";
            }
            ::ReleaseStgMedium(&medium);
        }
        const HANDLE log = ::CreateFileW(logPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(log, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        ::CloseHandle(log);
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
} target;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

struct Wanted {
    const wchar_t* kind;
    HWND found;
};

BOOL CALLBACK Look(HWND child, LPARAM out) {
    auto* wanted = reinterpret_cast<Wanted*>(out);
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    if (::lstrcmpiW(name, wanted->kind) == 0 && ::IsWindowVisible(child)) {
        wanted->found = child;
        return FALSE;
    }
    return TRUE;
}

HWND ChildOf(HWND parent, const wchar_t* kind) {
    Wanted wanted{kind, nullptr};
    ::EnumChildWindows(parent, Look, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

// Only messages without pointers cross to the program's process.
int Where(const std::wstring& what) {
    POINT point{};
    if (what == L"list") {
        const HWND list = ChildOf(::FindWindowW(nullptr, L"TARVOX  v4.1.0    "), L"SysListView32");
        const HWND header = ChildOf(list, L"SysHeader32");
        RECT rows{}, top{};
        ::GetWindowRect(list, &rows);
        ::GetWindowRect(header, &top);
        point = {rows.left + 30, top.bottom + 6};
    } else {
        const HWND tree = ChildOf(::FindWindowW(nullptr, L"Descomprimir en ..."), L"SysTreeView32");
        const auto send = [&](UINT message, WPARAM w, LPARAM l) {
            return ::SendMessageW(tree, message, w, l);
        };
        const LPARAM selected = send(TVM_GETNEXTITEM, TVGN_CARET, 0);
        int row = 0;
        for (LPARAM at = send(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0); at != 0 && at != selected;
             at = send(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, at)) {
            ++row;
        }
        int depth = 0;
        for (LPARAM at = send(TVM_GETNEXTITEM, TVGN_PARENT, selected); at != 0;
             at = send(TVM_GETNEXTITEM, TVGN_PARENT, at)) {
            ++depth;
        }
        const int height = static_cast<int>(send(TVM_GETITEMHEIGHT, 0, 0));
        const int indent = static_cast<int>(send(TVM_GETINDENT, 0, 0));
        point = {depth * indent + 16 + 12, row * height + height / 2};
        ::ClientToScreen(tree, &point);
        const LPARAM next = send(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, selected);
        const bool open =
            next != 0 && (send(TVM_GETITEMSTATE, next, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        std::printf("%ld %ld %d %d\n", point.x, point.y, height, open ? 1 : 0);
        return 0;
    }
    std::printf("%ld %ld\n", point.x, point.y);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    const std::wstring mode = argv[1];
    if (mode == L"where") {
        return Where(argv[2]);
    }
    ::OleInitialize(nullptr);
    WNDCLASSW type{};
    type.lpfnWndProc = Proc;
    type.hInstance = ::GetModuleHandleW(nullptr);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    type.lpszClassName = L"TarvoxDropProbe";
    ::RegisterClassW(&type);
    if (mode != L"target" || argc < 4) {
        return 2;
    }
    folder = argv[2];
    logPath = argv[3];
    const HWND window = ::CreateWindowExW(0, type.lpszClassName, L"Tarvox drop probe",
                                          WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 610, 200, 150,
                                          nullptr, nullptr, type.hInstance, nullptr);
    ::RegisterDragDrop(window, &target);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::OleUninitialize();
    return 0;
}
