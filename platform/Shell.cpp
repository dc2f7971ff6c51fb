#include "platform/Shell.h"

#include <utility>

namespace platform {

// Defined by the platform's own implementation file.
std::intptr_t PlatformShellExecute(const ShellExecuteRequest& request);

namespace {
ShellExecuteHandler& InstalledHandler() {
    static ShellExecuteHandler handler;
    return handler;
}
std::uintptr_t& MainWindow() {
    static std::uintptr_t window = 0;
    return window;
}
} // namespace

std::intptr_t ExecuteThroughShell(const ShellExecuteRequest& request) {
    const ShellExecuteHandler& handler = InstalledHandler();
    return handler ? handler(request) : PlatformShellExecute(request);
}

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

void SetApplicationWindow(std::uintptr_t window) {
    MainWindow() = window;
}

std::uintptr_t ApplicationWindow() {
    return MainWindow();
}

} // namespace platform
