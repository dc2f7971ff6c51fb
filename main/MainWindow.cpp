#include "main/MainWindow.h"

const char kMainWindowCaption[] = "TARVOX  v4.1.0    ";

namespace {

const char kClassName[] = "TPRINCIPAL";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    if (!::GetClassInfoA(instance, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        if (!::RegisterClassA(&windowClass)) {
            return nullptr;
        }
    }
    return ::CreateWindowExA(0, kClassName, kMainWindowCaption, WS_OVERLAPPEDWINDOW, 71, 89, 686,
                             432, nullptr, nullptr, instance, nullptr);
}
