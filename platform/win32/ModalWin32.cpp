#include "platform/Modal.h"

#include <utility>
#include <vector>
#include <windows.h>

namespace platform {

namespace {

ModalHandler& InstalledHandler() {
    static ModalHandler handler;
    return handler;
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM windows) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    }
    return TRUE;
}

void RunModalLoop(const ModalRequest& request) {
    // Every other window of the program waits while the form is up.
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow,
                        reinterpret_cast<LPARAM>(&disabled));
    HWND form = reinterpret_cast<HWND>(request.window);
    HWND previous = ::GetActiveWindow();
    for (HWND window : disabled) {
        if (window != form) {
            ::EnableWindow(window, FALSE);
        }
    }
    request.show();
    MSG message;
    while (!request.closed()) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // Leave the quit request to the outer loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (request.translateKey && request.translateKey(&message)) {
            continue;
        }
        if (!::IsDialogMessageA(form, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    for (HWND window : disabled) {
        if (window != form) {
            ::EnableWindow(window, TRUE);
        }
    }
    request.hide();
    if (previous != nullptr && ::IsWindow(previous)) {
        ::SetActiveWindow(previous);
    }
}

} // namespace

void ShowModal(const ModalRequest& request) {
    const ModalHandler& handler = InstalledHandler();
    if (handler) {
        handler(request);
    } else {
        RunModalLoop(request);
    }
}

ModalHandler SetModalHandler(ModalHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

} // namespace platform
