#pragma once
// The end-of-process seam. The program ends at once with the code; a test installs a
// handler that records the code, and the call then returns.

#include <functional>

namespace platform {

using EndProcessHandler = std::function<void(int exitCode)>;

void EndProcess(int exitCode);

// Installs a handler (an empty one restores the platform's own) and returns the previous.
EndProcessHandler SetEndProcessHandler(EndProcessHandler handler);

} // namespace platform
