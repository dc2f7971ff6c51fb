#include "ui/Control.h"

#include <cstdint>
#include <vector>

#include "ui/Dpi.h"
#include "ui/Font.h"

namespace ui {

namespace {
const char kWrapperProperty[] = "TarvoxControl";

Control* WrapperOf(HWND window) {
    return window != nullptr ? static_cast<Control*>(::GetPropA(window, kWrapperProperty))
                             : nullptr;
}
// A child's bounds in design pixels, kept with the window for a change of scale.
const char* const kDesignProperties[] = {"TarvoxLeft", "TarvoxTop", "TarvoxWidth", "TarvoxHeight"};
const char kDesignedProperty[] = "TarvoxDesigned";

void Place(HWND window, const Bounds& bounds) {
    const int values[] = {bounds.left, bounds.top, bounds.width, bounds.height};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        ::SetPropA(window, kDesignProperties[i],
                   reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(values[i])));
    }
    ::SetPropA(window, kDesignedProperty, reinterpret_cast<HANDLE>(1));
    // Edges, not sizes, are scaled, so that controls that meet at design meet at any scale.
    const int dpi = DpiOf(window);
    const int left = Scale(bounds.left, dpi), top = Scale(bounds.top, dpi);
    ::MoveWindow(window, left, top, Scale(bounds.left + bounds.width, dpi) - left,
                 Scale(bounds.top + bounds.height, dpi) - top, TRUE);
}

bool DesignOf(HWND window, Bounds& bounds) {
    if (::GetPropA(window, kDesignedProperty) == nullptr) {
        return false;
    }
    int* fields[] = {&bounds.left, &bounds.top, &bounds.width, &bounds.height};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        *fields[i] = static_cast<int>(
            reinterpret_cast<std::intptr_t>(::GetPropA(window, kDesignProperties[i])));
    }
    return true;
}

BOOL CALLBACK RescaleChild(HWND window, LPARAM dpi) {
    Bounds bounds;
    if (DesignOf(window, bounds)) {
        Place(window, bounds);
    }
    RescaleFont(window, static_cast<int>(dpi));
    if (Control* wrapper = WrapperOf(window)) {
        wrapper->OnDpiChanged(static_cast<int>(dpi));
    }
    return TRUE;
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
    Place(handle_, {left, top, width, height});
}

void Control::OnDpiChanged(int) {}

bool Control::HasFocus(HWND focus) const {
    return focus != nullptr && (focus == handle_ || ::IsChild(handle_, focus));
}

void Control::TakeFocus(bool) {
    ::SetFocus(handle_);
}

bool Control::StepFocus(bool) {
    return false;
}

bool Control::OnArrowKey(UINT) {
    return false;
}

bool Control::OnEnterKey() {
    return false;
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
    case WM_CONTEXTMENU:
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
    HWND window = ::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, 0, 0, 0, 0,
                                    parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (window != nullptr) {
        Place(window, {left, top, width, height});
    }
    return window;
}

HWND CreateChildW(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent,
                  const Bounds& bounds) {
    HWND window = ::CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
        Place(window, bounds);
    }
    return window;
}

void RescaleChildren(HWND topLevel, int dpi) {
    ::EnumChildWindows(topLevel, &RescaleChild, dpi);
}

} // namespace ui
