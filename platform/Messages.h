#pragma once
// The message-box seam. The program shows a modal box; tests install a recorder;
// tarvox-cli writes to standard error. Texts are Windows-1252 bytes.

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// MessageBoxA's style bits and answers, so that portable code can ask for them.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Stands for "whatever window is active when the box is shown".
inline constexpr std::uintptr_t kActiveWindow = ~std::uintptr_t{0};

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    std::uintptr_t owner = 0; // a window handle, 0 for none, or kActiveWindow
    unsigned style = kMbOk;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows the box through the installed handler and returns the button pressed.
int ShowMessageBox(const MessageBoxRequest& request);

// The program's standard message: the application title as caption, one OK button.
void ShowMessage(const std::string& text);

// The application's error box: an error's text under the application title, with the
// error icon and one OK button.
void ShowErrorMessage(const std::string& text);

// Installs a handler (an empty one restores the platform's own) and returns the previous.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

void SetApplicationTitle(std::string title);
const std::string& ApplicationTitle();

} // namespace platform
