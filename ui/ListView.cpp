#include "ui/ListView.h"

#include <windowsx.h>

#include <commctrl.h>
#include <cwchar>

#include "ui/Dpi.h"
#include "ui/Guard.h"

namespace ui {

void ListView::Create(HWND parent, const ListViewDesign& design) {
    columns_ = design.columns;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                  LVS_SHOWSELALWAYS | LVS_OWNERDATA;
    if (!design.multiSelect) {
        style |= LVS_SINGLESEL;
    }
    if (!design.columnClick) {
        style |= LVS_NOSORTHEADER;
    }
    // A Unicode control, so that entry names show whatever the program's code page.
    Attach(CreateChildW(WC_LISTVIEWW, style & ~WS_CHILD, WS_EX_CLIENTEDGE, parent,
                        {design.left, design.top, design.width, design.height}));
    SetControlFont(handle_, design.font);
    ::SendMessageW(handle_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(design.color));
    ::SendMessageW(handle_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(design.color));
    ::SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                   LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns_[i].caption.c_str());
        column.cx = Scale(columns_[i].width, DpiOf(handle_));
        column.iSubItem = static_cast<int>(i);
        ::SendMessageA(handle_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SizeColumns();
}

std::string ListView::ColumnCaption(int index) const {
    char text[256] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ::SendMessageA(handle_, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
    return text;
}

void ListView::SetColumnCaption(int index, const std::string& caption) {
    if (index < 0 || index >= ColumnCount()) {
        return;
    }
    columns_[static_cast<std::size_t>(index)].caption = caption;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(caption.c_str());
    ::SendMessageA(handle_, LVM_SETCOLUMNA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
}

void ListView::OnDpiChanged(int dpi) {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].autoSize) {
            ::SendMessageW(handle_, LVM_SETCOLUMNWIDTH, i,
                           MAKELPARAM(Scale(columns_[i].width, dpi), 0));
        }
    }
    SizeColumns();
}

void ListView::SizeColumns() {
    RECT area;
    ::GetClientRect(handle_, &area);
    const int dpi = DpiOf(handle_);
    int free = area.right;
    int shared = 0;
    for (const ListColumnDesign& column : columns_) {
        if (column.autoSize) {
            ++shared;
        } else {
            free -= Scale(column.width, dpi);
        }
    }
    if (shared == 0 || free <= 0) {
        return;
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].autoSize) {
            ::SendMessageW(handle_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(free / shared, 0));
        }
    }
}

int ListView::Count() const {
    return static_cast<int>(::SendMessageW(handle_, LVM_GETITEMCOUNT, 0, 0));
}

void ListView::SetCount(int count) {
    // Dropping the old rows is no change of selection the owner should hear about.
    const auto handler = std::move(OnSelectItem);
    OnSelectItem = nullptr;
    // The rows go first, all at once: unselecting thousands of scattered rows one by one
    // costs seconds, and so does cutting the count to nothing under them.
    ::SendMessageW(handle_, LVM_DELETEALLITEMS, 0, 0);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&none));
    ::SendMessageW(handle_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
    OnSelectItem = handler;
}

bool ListView::Selected(int row) const {
    return ::SendMessageW(handle_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

int ListView::SelectedCount() const {
    return static_cast<int>(::SendMessageW(handle_, LVM_GETSELECTEDCOUNT, 0, 0));
}

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(SelectedCount()));
    int row = -1;
    while ((row = static_cast<int>(::SendMessageW(handle_, LVM_GETNEXTITEM,
                                                  static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        rows.push_back(row);
    }
    return rows;
}

void ListView::SetSelected(int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

void ListView::ContextMenu(LPARAM at) {
    POINT screen{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    int row = -1;
    if (at == -1) {
        // From the keyboard: the menu goes by the row with the focus, if it is selected.
        row = static_cast<int>(
            ::SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (row >= 0 && !Selected(row)) {
            row = -1;
        }
        RECT area{};
        area.left = LVIR_LABEL;
        if (row >= 0 && ::SendMessageW(handle_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                       reinterpret_cast<LPARAM>(&area)) != 0) {
            screen = {area.left, area.bottom};
        } else {
            screen = {0, 0};
        }
        ::ClientToScreen(handle_, &screen);
    } else {
        LVHITTESTINFO hit{};
        hit.pt = screen;
        ::ScreenToClient(handle_, &hit.pt);
        row = static_cast<int>(
            ::SendMessageW(handle_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if ((hit.flags & LVHT_ONITEM) == 0) {
            row = -1;
        }
    }
    Fire(OnContextMenu, row, screen);
}

void ListView::TakeFocus(bool) {
    ::SetFocus(handle_);
    if (Count() == 0 ||
        ::SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0) {
        return;
    }
    const auto selected =
        ::SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = LVIS_FOCUSED;
    ::SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(selected >= 0 ? selected : 0),
                   reinterpret_cast<LPARAM>(&item));
}

void ListView::SelectAll() {
    SetSelected(-1, true);
}

bool ListView::OnParentMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_CONTEXTMENU) {
        ContextMenu(lParam);
        result = 0;
        return true;
    }
    if (message != WM_NOTIFY) {
        return false;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    result = 0;
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
            std::wstring text;
            Guarded([&] {
                if (OnCellText) {
                    text = OnCellText(item.iItem, item.iSubItem);
                }
            });
            const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
            const std::size_t n = text.size() < room ? text.size() : room;
            text.copy(item.pszText, n);
            item.pszText[n] = L'\0';
        }
        return true;
    }
    case LVN_ODFINDITEMW: {
        // Typing a row's first letters goes to the next row whose caption starts so.
        const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
        result = -1;
        if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr ||
            !OnCellText) {
            return true;
        }
        const std::size_t length = std::wcslen(find->lvfi.psz);
        const int count = Count();
        Guarded([&] {
            for (int i = 0; i < count; ++i) {
                const int row = (find->iStart + i) % count;
                const std::wstring caption = OnCellText(row, 0);
                if (caption.size() >= length &&
                    ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.c_str(),
                                     static_cast<int>(length), find->lvfi.psz,
                                     static_cast<int>(length)) == CSTR_EQUAL) {
                    result = row;
                    return;
                }
            }
        });
        return true;
    }
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
        if (key == 'A' && ::GetKeyState(VK_CONTROL) < 0) {
            SelectAll();
        } else if (key == VK_DELETE || key == VK_RETURN) {
            Fire(OnKeyDown, static_cast<UINT>(key));
        }
        return true;
    }
    case NM_CLICK:
        Fire(OnClick);
        return true;
    case NM_DBLCLK:
        Fire(OnDblClick);
        return true;
    case LVN_BEGINDRAG:
        Fire(OnBeginDrag);
        return true;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) != 0 &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
            Fire(OnSelectItem, change->iItem, (change->uNewState & LVIS_SELECTED) != 0);
        }
        return true;
    }
    case LVN_ODSTATECHANGED: {
        // A range chosen with Shift: one change for the whole range.
        const auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(lParam);
        if (((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
            Fire(OnSelectItem, change->iFrom, (change->uNewState & LVIS_SELECTED) != 0);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace ui
