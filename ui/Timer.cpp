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

void Timer::Create(HWND owner, UINT interval, bool enabled) {
    owner_ = owner;
    id_ = NextTimerId();
    interval_ = interval;
    SetEnabled(enabled);
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
    if (enabled_) {
        Fire(OnTimer);
    }
}

} // namespace ui
