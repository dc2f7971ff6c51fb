#include "platform/Messages.h"

#include <windows.h>

namespace platform {

int ShowPlatformMessageBox(const MessageBoxRequest& request) {
    HWND owner = request.owner == kActiveWindow ? ::GetActiveWindow()
                                                : reinterpret_cast<HWND>(request.owner);
    return ::MessageBoxA(owner, request.text.c_str(), request.caption.c_str(), request.style);
}

} // namespace platform
