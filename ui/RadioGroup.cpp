#include "ui/RadioGroup.h"

#include <algorithm>

namespace ui {

RadioGroup::~RadioGroup() {
    for (HWND item : items_) {
        if (::IsWindow(item)) {
            ::DestroyWindow(item);
        }
    }
}

void RadioGroup::Create(HWND parent, const RadioGroupDesign& design) {
    Attach(CreateChild("BUTTON", design.caption, WS_VISIBLE | BS_GROUPBOX, 0, parent, design.left,
                       design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    // The options are the frame's siblings, spread over its inside.
    const int count = static_cast<int>(design.items.size());
    const int inside = design.height - 24;
    for (int i = 0; i < count; ++i) {
        const int top = design.top + 18 + (count > 0 ? inside * i / count : 0);
        const DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        HWND item = CreateChild("BUTTON", design.items[static_cast<std::size_t>(i)], style, 0,
                                parent, design.left + 8, top, design.width - 16, 17);
        SetControlFont(item, design.font);
        items_.push_back(item);
    }
    SetItemIndex(design.itemIndex);
}

std::string RadioGroup::Item(int index) const {
    if (index < 0 || index >= ItemCount()) {
        return {};
    }
    char text[256] = {};
    ::GetWindowTextA(items_[static_cast<std::size_t>(index)], text, sizeof text);
    return text;
}

void RadioGroup::SetItem(int index, const std::string& caption) {
    if (index >= 0 && index < ItemCount()) {
        ::SetWindowTextA(items_[static_cast<std::size_t>(index)], caption.c_str());
    }
}

int RadioGroup::ItemIndex() const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (::SendMessageA(items_[static_cast<std::size_t>(i)], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return i;
        }
    }
    return -1;
}

void RadioGroup::SetItemIndex(int index) {
    for (int i = 0; i < ItemCount(); ++i) {
        ::SendMessageA(items_[static_cast<std::size_t>(i)], BM_SETCHECK,
                       i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool RadioGroup::HasFocus(HWND focus) const {
    return focus != nullptr && std::find(items_.begin(), items_.end(), focus) != items_.end();
}

void RadioGroup::TakeFocus(bool) {
    if (!items_.empty()) {
        ::SetFocus(items_[static_cast<std::size_t>(std::max(0, ItemIndex()))]);
    }
}

bool RadioGroup::OnArrowKey(UINT key) {
    const int count = ItemCount();
    const auto at = std::find(items_.begin(), items_.end(), ::GetFocus());
    if (count == 0 || at == items_.end()) {
        return false;
    }
    const int step = key == VK_UP || key == VK_LEFT ? -1 : 1;
    const int next = (static_cast<int>(at - items_.begin()) + step + count) % count;
    SetItemIndex(next);
    ::SetFocus(items_[static_cast<std::size_t>(next)]);
    return true;
}

} // namespace ui
