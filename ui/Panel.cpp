#include "ui/Panel.h"

namespace ui {

namespace {
const char kPanelClass[] = "TarvoxPanel";
}

void Panel::Create(HWND parent, const Bounds& bounds) {
    WNDCLASSA windowClass{};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (!::GetClassInfoA(instance, kPanelClass, &windowClass)) {
        windowClass.lpfnWndProc = &Panel::PanelProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kPanelClass;
        ::RegisterClassA(&windowClass);
    }
    Attach(CreateChild(kPanelClass, "", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                       parent, bounds.left, bounds.top, bounds.width, bounds.height));
}

LRESULT CALLBACK Panel::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace ui
