#include "ui/Timer.h"

#include "ui/Guard.h"

namespace ui {

namespace {
// Ids unique in the process, so that no two timers of one window share one.
UINT_PTR NextTimerId() {
    static UINT_PTR next = 100;
    return next++;
}
} // namespace

Timer::~Timer() {
    SetEnabled(false);
}

void Timer::Create(HWND owner, const TimerDesign& design) {
    owner_ = owner;
    id_ = NextTimerId();
    interval_ = design.interval;
    SetEnabled(design.enabled);
}

void Timer::SetEnabled(bool enabled) {
    if (owner_ == nullptr || enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled) {
        ::SetTimer(owner_, id_, interval_, nullptr);
    } else if (::IsWindow(owner_)) {
        ::KillTimer(owner_, id_);
    }
}

void Timer::Tick() {
    // A handler that waits for the user (a message box) lets further ticks through its
    // message loop: they are dropped rather than run the handler inside itself.
    if (enabled_ && !ticking_) {
        ticking_ = true;
        Fire(OnTimer);
        ticking_ = false;
    }
}

} // namespace ui
