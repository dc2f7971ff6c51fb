#pragma once
// Runs foreign code so that a hardware fault inside it (an access violation, an
// illegal instruction, a division by zero) comes back as a failed call instead of
// ending the process: a vectored exception handler on Windows, a signal handler
// elsewhere. Only for calls into an engine library.

#include <functional>

namespace platform {

// True when call returned; false when a fault cut it short. Calls may nest.
bool CallGuarded(const std::function<void()>& call);

} // namespace platform
