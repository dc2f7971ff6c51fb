#include "ui/PageScroller.h"

#include <commctrl.h>

#include "ui/ToolBar.h"

namespace ui {

void PageScroller::Create(HWND parent, const Bounds& bounds) {
    Attach(CreateChild(WC_PAGESCROLLERA, "", WS_VISIBLE | PGS_HORZ, 0, parent, bounds.left,
                       bounds.top, bounds.width, bounds.height));
}

void PageScroller::SetChild(ToolBar& child) {
    child_ = &child;
    ::SendMessageA(handle_, PGM_SETCHILD, 0, reinterpret_cast<LPARAM>(child.Handle()));
    Measure();
}

void PageScroller::SetBounds(int left, int top, int width, int height) {
    Control::SetBounds(left, top, width, height);
    Measure();
}

void PageScroller::Measure() {
    // The buttons narrow to the width first: the arrows are for what still does not fit.
    if (child_ != nullptr) {
        RECT area{};
        ::GetClientRect(handle_, &area);
        child_->FitTo(area.right);
    }
    ::SendMessageA(handle_, PGM_RECALCSIZE, 0, 0);
    // Some pagers show or hide their arrows only when the position changes: a step
    // forth and back has them measured again.
    const LRESULT position = ::SendMessageA(handle_, PGM_GETPOS, 0, 0);
    ::SendMessageA(handle_, PGM_SETPOS, 0, position + 1);
    ::SendMessageA(handle_, PGM_SETPOS, 0, position);
}

bool PageScroller::OnParentMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY || child_ == nullptr) {
        return false;
    }
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code != PGN_CALCSIZE) {
        return false;
    }
    auto* size = reinterpret_cast<NMPGCALCSIZE*>(lParam);
    if (size->dwFlag == PGF_CALCWIDTH) {
        size->iWidth = child_->IdealWidth();
    }
    result = 0;
    return true;
}

} // namespace ui
