#include "platform/Process.h"

#include <utility>
#include <windows.h>

namespace platform {

namespace {
EndProcessHandler& InstalledHandler() {
    static EndProcessHandler handler;
    return handler;
}
} // namespace

void EndProcess(int exitCode) {
    const EndProcessHandler& handler = InstalledHandler();
    if (handler) {
        handler(exitCode);
        return;
    }
    ::ExitProcess(static_cast<UINT>(exitCode));
}

EndProcessHandler SetEndProcessHandler(EndProcessHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

} // namespace platform
