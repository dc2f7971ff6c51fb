#include "ui/TrackBar.h"

#include <commctrl.h>

#include "ui/Guard.h"

namespace ui {

void TrackBar::Create(HWND parent, const TrackBarDesign& design) {
    Attach(CreateChild(TRACKBAR_CLASSA, "",
                       WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, parent,
                       design.left, design.top, design.width, design.height));
    ::SendMessageA(handle_, TBM_SETRANGE, FALSE, MAKELPARAM(design.min, design.max));
    ::SendMessageA(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(design.frequency), 0);
    SetPosition(design.position);
}

int TrackBar::Position() const {
    return static_cast<int>(::SendMessageA(handle_, TBM_GETPOS, 0, 0));
}

void TrackBar::SetPosition(int position) {
    ::SendMessageA(handle_, TBM_SETPOS, TRUE, position);
}

int TrackBar::Min() const {
    return static_cast<int>(::SendMessageA(handle_, TBM_GETRANGEMIN, 0, 0));
}

int TrackBar::Max() const {
    return static_cast<int>(::SendMessageA(handle_, TBM_GETRANGEMAX, 0, 0));
}

bool TrackBar::OnParentMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_HSCROLL) {
        return false;
    }
    Fire(OnChange);
    result = 0;
    return true;
}

} // namespace ui
