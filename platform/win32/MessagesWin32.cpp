#include "platform/Messages.h"

#include <windows.h>

namespace platform {

int ShowPlatformMessageBox(const MessageBoxRequest& request) {
    HWND active = ::GetActiveWindow();
    HWND owner = request.owner == kActiveWindow ? active : reinterpret_cast<HWND>(request.owner);
    const int answer =
        ::MessageBoxA(owner, request.text.c_str(), request.caption.c_str(), request.style);
    // A box of no window gives the keyboard back to no one: the window that had it takes it.
    if (active != nullptr && ::IsWindow(active) && ::GetActiveWindow() != active) {
        ::SetActiveWindow(active);
    }
    return answer;
}

} // namespace platform
