#include "ui/Control.h"

#include <vector>

namespace ui {

namespace {
const char kWrapperProperty[] = "TarvoxControl";

Control* WrapperOf(HWND window) {
    return window != nullptr ? static_cast<Control*>(::GetPropA(window, kWrapperProperty))
                             : nullptr;
}
} // namespace

Control::~Control() {
    if (handle_ != nullptr && ::IsWindow(handle_)) {
        ::RemovePropA(handle_, kWrapperProperty);
        ::DestroyWindow(handle_);
    }
}

Control* Control::OfWindow(HWND window) {
    return WrapperOf(window);
}

bool Control::OnParentMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void Control::SetBounds(int left, int top, int width, int height) {
    ::MoveWindow(handle_, left, top, width, height, TRUE);
}

bool Control::Visible() const {
    return ::IsWindowVisible(handle_) != FALSE;
}

void Control::SetVisible(bool visible) {
    ::ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

bool Control::Enabled() const {
    return ::IsWindowEnabled(handle_) != FALSE;
}

void Control::SetEnabled(bool enabled) {
    ::EnableWindow(handle_, enabled ? TRUE : FALSE);
}

std::string Control::Text() const {
    const int length = ::GetWindowTextLengthA(handle_);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    ::GetWindowTextA(handle_, text.data(), length + 1);
    return text.data();
}

void Control::SetText(const std::string& text) {
    ::SetWindowTextA(handle_, text.c_str());
}

void Control::Attach(HWND window) {
    handle_ = window;
    Adopt(window);
}

void Control::Adopt(HWND window) {
    if (window != nullptr) {
        ::SetPropA(window, kWrapperProperty, this);
    }
}

bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        // A menu item's names a menu, not a window.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        child = item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
        break;
    }
    case WM_NOTIFYFORMAT:
        // A control made as a Unicode window notifies in Unicode. Asked while the control
        // is being created, before any wrapper could answer.
        result = ::IsWindowUnicode(reinterpret_cast<HWND>(wParam)) ? NFR_UNICODE : NFR_ANSI;
        return true;
    case WM_SETCURSOR:
        // A child's own default handling asks its parent first.
        child = reinterpret_cast<HWND>(wParam);
        break;
    default:
        return false;
    }
    Control* wrapper = WrapperOf(child);
    return wrapper != nullptr && wrapper->OnParentMessage(message, wParam, lParam, result);
}

HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                 HWND parent, int left, int top, int width, int height) {
    return ::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, left, top, width,
                             height, parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

} // namespace ui
