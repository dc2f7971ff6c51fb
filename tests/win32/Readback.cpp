#include "tests/win32/Readback.h"

#include <commctrl.h>
#include <cstddef>
#include <windowsx.h>

#include "ui/Application.h"

std::string WindowCaption(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<ToolButtonState> ToolButtons(HWND toolBar) {
    std::vector<ToolButtonState> buttons;
    const auto count = static_cast<int>(::SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageA(toolBar, TB_GETBUTTON, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&button));
        char text[256] = {};
        ::SendMessageA(toolBar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                       reinterpret_cast<LPARAM>(text));
        const bool enabled = ::SendMessageA(toolBar, TB_ISBUTTONENABLED,
                                            static_cast<WPARAM>(button.idCommand), 0) != 0;
        buttons.push_back({text, button.iBitmap, enabled});
    }
    return buttons;
}

void ClickToolButton(HWND toolBar, int index) {
    RECT area{};
    ::SendMessageA(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&area));
    const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ::SendMessageA(toolBar, WM_MOUSEMOVE, 0, at);
    ::SendMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(toolBar, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

std::vector<std::vector<std::wstring>> ListRows(HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::wstring>> rows(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < columns; ++column) {
            wchar_t text[512] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 512;
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(&item));
            rows[static_cast<std::size_t>(row)].push_back(text);
        }
    }
    return rows;
}

namespace {

void MouseAt(HWND list, LPARAM at, UINT down, WPARAM keys) {
    ::SendMessageW(list, WM_MOUSEMOVE, 0, at);
    // The list view watches for a drag after the press until the release comes.
    ::PostMessageW(list, WM_LBUTTONUP, keys, at);
    ::SendMessageW(list, down, keys | MK_LBUTTON, at);
    PumpMessages();
}

LPARAM RowPoint(HWND list, int row) {
    RECT area{};
    area.left = LVIR_LABEL;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&area));
    return MAKELPARAM(area.left + 4, (area.top + area.bottom) / 2);
}

} // namespace

void ClickListRow(HWND list, int row, bool extend) {
    MouseAt(list, RowPoint(list, row), WM_LBUTTONDOWN, extend ? MK_CONTROL : 0);
}

void DoubleClickListRow(HWND list, int row) {
    const LPARAM at = RowPoint(list, row);
    MouseAt(list, at, WM_LBUTTONDOWN, 0);
    MouseAt(list, at, WM_LBUTTONDBLCLK, 0);
}

void RightClickListRow(HWND list, int row) {
    RECT client{};
    ::GetClientRect(list, &client);
    const LPARAM at =
        row >= 0 ? RowPoint(list, row) : MAKELPARAM(client.right / 2, client.bottom - 2);
    // The list places its shortcut menu where the pointer was when the release came.
    POINT screen{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ::ClientToScreen(list, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(list, WM_MOUSEMOVE, 0, at);
    // As with the left button, the list watches for a drag until the release comes.
    ::PostMessageW(list, WM_RBUTTONUP, 0, at);
    ::SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PumpMessages();
}

void ClickListBlank(HWND list) {
    RECT client{};
    ::GetClientRect(list, &client);
    MouseAt(list, MAKELPARAM(client.right / 2, client.bottom - 2), WM_LBUTTONDOWN, 0);
}

namespace {

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (::GetSubMenu(menu, i) != nullptr) {
            state &= 0xFF; // the high byte counts the items of a nested menu
        }
        if ((state & MF_SEPARATOR) != 0) {
            entries.push_back({"-", true});
            continue;
        }
        char text[512] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        entries.push_back({text, (state & (MF_GRAYED | MF_DISABLED)) == 0});
    }
    return entries;
}

} // namespace

std::vector<MenuEntry> MenuEntries(HMENU menu) {
    return Entries(menu);
}

std::vector<MenuEntry> MenuBar(HWND window) {
    return Entries(::GetMenu(window));
}

std::vector<MenuEntry> DropDown(HWND window, int menuIndex) {
    return Entries(::GetSubMenu(::GetMenu(window), menuIndex));
}

void ChooseMenuItem(HWND window, int menuIndex, int itemIndex) {
    HMENU menu = ::GetSubMenu(::GetMenu(window), menuIndex);
    const UINT id = ::GetMenuItemID(menu, itemIndex);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

std::vector<std::string> TabCaptions(HWND tabs) {
    std::vector<std::string> captions;
    const auto count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    return captions;
}

std::vector<std::string> ColumnCaptions(HWND list) {
    std::vector<std::string> captions;
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    const auto count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&column));
        captions.push_back(text);
    }
    return captions;
}

std::string StatusText(HWND statusBar, int panel) {
    char text[512] = {};
    ::SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(panel),
                   reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<int> StatusParts(HWND statusBar) {
    int edges[16] = {};
    const auto count = static_cast<int>(
        ::SendMessageA(statusBar, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + count);
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void PressKey(WPARAM key) {
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, key, 1);
    ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    ui::App().ProcessMessages();
}

RECT BoundsInParent(HWND control) {
    RECT bounds{};
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

Painted PaintedClient(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    Painted painted;
    painted.width = client.right;
    painted.height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = painted.width;
    info.bmiHeader.biHeight = -painted.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    ::SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
    const auto* pixels = static_cast<const unsigned*>(bits);
    for (int i = 0; i < painted.width * painted.height; ++i) {
        painted.pixels.push_back(pixels[i] & 0xFFFFFFu);
    }
    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return painted;
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = MAX_PATH;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}
