#include "ui/ListView.h"

#include <commctrl.h>

#include "ui/Guard.h"

namespace ui {

void ListView::Create(HWND parent, const ListViewDesign& design) {
    columns_ = design.columns;
    DWORD style = WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SHOWSELALWAYS;
    if (!design.multiSelect) {
        style |= LVS_SINGLESEL;
    }
    if (design.sortByCaption) {
        style |= LVS_SORTASCENDING;
    }
    if (!design.columnClick) {
        style |= LVS_NOSORTHEADER;
    }
    Attach(CreateChild(WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE, parent, design.left, design.top,
                       design.width, design.height));
    SetControlFont(handle_, design.font);
    ::SendMessageA(handle_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(design.color));
    ::SendMessageA(handle_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(design.color));
    ::SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                   LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns_[i].caption.c_str());
        column.cx = columns_[i].width;
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

void ListView::SizeColumns() {
    RECT area;
    ::GetClientRect(handle_, &area);
    int free = area.right;
    int shared = 0;
    for (const ListColumnDesign& column : columns_) {
        if (column.autoSize) {
            ++shared;
        } else {
            free -= column.width;
        }
    }
    if (shared == 0 || free <= 0) {
        return;
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].autoSize) {
            ::SendMessageA(handle_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(free / shared, 0));
        }
    }
}

int ListView::Count() const {
    return static_cast<int>(::SendMessageA(handle_, LVM_GETITEMCOUNT, 0, 0));
}

void ListView::Clear() {
    ::SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
}

int ListView::Add(const std::string& caption, const std::vector<std::string>& subItems) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<char*>(caption.c_str());
    const auto row = static_cast<int>(
        ::SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t i = 0; i < subItems.size(); ++i) {
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(i) + 1;
        sub.pszText = const_cast<char*>(subItems[i].c_str());
        ::SendMessageA(handle_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

std::string ListView::Caption(int row) const {
    return SubItem(row, 0);
}

std::string ListView::SubItem(int row, int subItem) const {
    char text[1024] = {};
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(handle_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return text;
}

bool ListView::Selected(int row) const {
    return ::SendMessageA(handle_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

int ListView::SelectedCount() const {
    return static_cast<int>(::SendMessageA(handle_, LVM_GETSELECTEDCOUNT, 0, 0));
}

bool ListView::OnParentMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) {
        return false;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    result = 0;
    switch (header->code) {
    case NM_CLICK:
        Fire(OnClick);
        return true;
    case NM_DBLCLK:
        Fire(OnDblClick);
        return true;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) != 0 &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
            Fire(OnSelectItem, change->iItem, (change->uNewState & LVIS_SELECTED) != 0);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace ui
