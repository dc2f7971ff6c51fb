#pragma once
// The application-wide guard: an error raised in a handler is shown in the
// application's error box, and that handler stops there; the program goes on.

#include <exception>
#include <utility>

#include "platform/Messages.h"

namespace ui {

template <typename Handler, typename... Args>
void Guarded(const Handler& handler, Args&&... args) noexcept {
    try {
        handler(std::forward<Args>(args)...);
    } catch (const std::exception& error) {
        platform::ShowErrorMessage(error.what());
    } catch (...) {
        platform::ShowErrorMessage("Unknown error");
    }
}

// Runs an event handler if one is bound.
template <typename Event, typename... Args> void Fire(const Event& event, Args&&... args) noexcept {
    if (event) {
        Guarded(event, std::forward<Args>(args)...);
    }
}

// Runs a handler that answers whether it handled something, if one is bound; one that
// failed handled nothing.
template <typename Event, typename... Args>
bool FireAnswer(const Event& event, Args&&... args) noexcept {
    bool handled = false;
    if (event) {
        Guarded([&] { handled = event(std::forward<Args>(args)...); });
    }
    return handled;
}

} // namespace ui
