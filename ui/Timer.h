#pragma once
// A window timer: ticks through the message loop of the form that owns it.

#include <functional>
#include <windows.h>

namespace ui {

struct TimerDesign {
    UINT interval = 1000; // milliseconds
    bool enabled = true;  // ticking from the start
};

class Timer {
public:
    Timer() = default;
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void Create(HWND owner, const TimerDesign& design);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    UINT_PTR Id() const { return id_; }

    // Called by the owner on WM_TIMER with this timer's id.
    void Tick();

    std::function<void()> OnTimer;

private:
    HWND owner_ = nullptr;
    UINT_PTR id_ = 0;
    UINT interval_ = 1000;
    bool enabled_ = false;
    bool ticking_ = false;
};

} // namespace ui
