#include "ui/ProgressBar.h"

#include <commctrl.h>

namespace ui {

void ProgressBar::Create(HWND parent, const Bounds& bounds) {
    Attach(CreateChild(PROGRESS_CLASSA, "", WS_VISIBLE, 0, parent, bounds.left, bounds.top,
                       bounds.width, bounds.height));
    ::SendMessageA(handle_, PBM_SETRANGE32, 0, 100);
}

int ProgressBar::Position() const {
    return static_cast<int>(::SendMessageA(handle_, PBM_GETPOS, 0, 0));
}

void ProgressBar::SetPosition(int percent) {
    ::SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

} // namespace ui
