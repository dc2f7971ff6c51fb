#include "ui/PageControl.h"

#include "ui/Dpi.h"

#include <commctrl.h>

namespace ui {

void TabSheet::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (owner_ == nullptr) {
        return;
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption_.c_str());
    ::SendMessageA(owner_->Handle(), TCM_SETITEMA, static_cast<WPARAM>(index_),
                   reinterpret_cast<LPARAM>(&item));
    // Shorter tabs leave the old ones' text behind unless the whole row is painted.
    ::InvalidateRect(owner_->Handle(), nullptr, TRUE);
    owner_->Realign();
}

int TabSheet::Width() const {
    RECT area;
    ::GetClientRect(handle_, &area);
    return Unscale(area.right, DpiOf(handle_));
}

int TabSheet::Height() const {
    RECT area;
    ::GetClientRect(handle_, &area);
    return Unscale(area.bottom, DpiOf(handle_));
}

void PageControl::Create(HWND parent, const PageControlDesign& design,
                         std::vector<TabSheet*> pages) {
    pages_ = std::move(pages);
    Attach(CreateChild(WC_TABCONTROLA, "",
                       WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TCS_BUTTONS |
                           TCS_FLATBUTTONS | TCS_MULTILINE,
                       0, parent, design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        TabSheet& page = *pages_[i];
        page.owner_ = this;
        page.index_ = static_cast<int>(i);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(page.caption_.c_str());
        ::SendMessageA(handle_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        const RECT area = DisplayArea();
        page.Create(handle_, {.left = area.left,
                              .top = area.top,
                              .width = area.right - area.left,
                              .height = area.bottom - area.top});
    }
    SetActivePageIndex(0);
}

RECT PageControl::DisplayArea() const {
    RECT area;
    ::GetClientRect(handle_, &area);
    ::SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int dpi = DpiOf(handle_);
    return {Unscale(area.left, dpi), Unscale(area.top, dpi), Unscale(area.right, dpi),
            Unscale(area.bottom, dpi)};
}

int PageControl::ActivePageIndex() const {
    return static_cast<int>(::SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
}

void PageControl::SetActivePageIndex(int index) {
    ::SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (TabSheet* page : pages_) {
        page->SetVisible(page->index_ == index);
    }
}

void PageControl::Realign() {
    const RECT area = DisplayArea();
    for (TabSheet* page : pages_) {
        page->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    }
}

void PageControl::OnDpiChanged(int) {
    Realign();
}

bool PageControl::OnParentMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE) {
        return false;
    }
    SetActivePageIndex(ActivePageIndex());
    result = 0;
    return true;
}

} // namespace ui
