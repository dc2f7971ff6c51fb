#include "ui/Application.h"

#include <cstdint>
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "platform/Messages.h"
#include "platform/Shell.h"
#include "ui/Form.h"
#include "ui/Guard.h"

namespace ui {

Application& App() {
    static Application application;
    return application;
}

void Application::Initialize() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                     ICC_PAGESCROLLER_CLASS | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    // The shell's folder trees and their context menus need an apartment of their own.
    ::OleInitialize(nullptr);
}

const std::string& Application::Title() const {
    return platform::ApplicationTitle();
}

void Application::SetTitle(const std::string& title) {
    platform::SetApplicationTitle(title);
}

void Application::SetMainForm(Form* form) {
    mainForm_ = form;
    platform::SetApplicationWindow(
        form != nullptr ? reinterpret_cast<std::uintptr_t>(form->Handle()) : 0);
}

bool Application::PreTranslate(const MSG& message) {
    // With the focus nowhere, as in a window disabled while it works, the key reaches
    // the active window as a system key.
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        message.wParam == VK_ESCAPE && FireAnswer(App().OnStopKey)) {
        return true;
    }
    if (message.message != WM_KEYDOWN && message.message != WM_SYSCHAR) {
        return false;
    }
    auto* form = dynamic_cast<Form*>(Control::OfWindow(::GetAncestor(message.hwnd, GA_ROOT)));
    return form != nullptr && form->PreTranslateKey(message);
}

void Application::ProcessMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}

int Application::Run() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

} // namespace ui
