#include "platform/Messages.h"

#include <utility>

namespace platform {

// Defined by the platform's own implementation file.
int ShowPlatformMessageBox(const MessageBoxRequest& request);

namespace {
MessageBoxHandler& InstalledHandler() {
    static MessageBoxHandler handler;
    return handler;
}
std::string& Title() {
    static std::string title = "Tarvox";
    return title;
}
} // namespace

int ShowMessageBox(const MessageBoxRequest& request) {
    const MessageBoxHandler& handler = InstalledHandler();
    return handler ? handler(request) : ShowPlatformMessageBox(request);
}

void ShowMessage(const std::string& text) {
    ShowMessageBox({text, ApplicationTitle(), kActiveWindow, kMbOk});
}

void ShowErrorMessage(const std::string& text) {
    ShowMessageBox({text, ApplicationTitle(), kActiveWindow, kMbOk | kMbIconError});
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

void SetApplicationTitle(std::string title) {
    Title() = std::move(title);
}

const std::string& ApplicationTitle() {
    return Title();
}

} // namespace platform
