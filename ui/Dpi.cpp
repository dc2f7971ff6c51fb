#include "ui/Dpi.h"

#include <cstdint>

namespace ui {

namespace {

// The per-monitor functions are looked up: older systems lack them, and then every
// window has the system's scale.
template <typename Function> Function Lookup(const char* module, const char* name) {
    HMODULE library = ::GetModuleHandleA(module);
    if (library == nullptr) {
        library = ::LoadLibraryA(module);
    }
    return library != nullptr ? reinterpret_cast<Function>(
                                    reinterpret_cast<void*>(::GetProcAddress(library, name)))
                              : nullptr;
}

const char kDpiProperty[] = "TarvoxDpi";

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

} // namespace

int DpiOf(HWND window) {
    if (window != nullptr) {
        if (const auto dpi = reinterpret_cast<std::uintptr_t>(
                ::GetPropA(::GetAncestor(window, GA_ROOT), kDpiProperty));
            dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        Lookup<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

void SetDpi(HWND topLevel, int dpi) {
    ::SetPropA(topLevel, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(dpi)));
}

int DpiAt(POINT point) {
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor =
        Lookup<GetDpiForMonitorFunction>("shcore.dll", "GetDpiForMonitor");
    if (getDpiForMonitor != nullptr) {
        UINT x = 0, y = 0;
        HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(getDpiForMonitor(monitor, 0 /* effective */, &x, &y)) && y > 0) {
            return static_cast<int>(y);
        }
    }
    return SystemDpi();
}

int Scale(int designPixels, int dpi) {
    return ::MulDiv(designPixels, dpi, kDesignDpi);
}

int Unscale(int pixels, int dpi) {
    return ::MulDiv(pixels, kDesignDpi, dpi);
}

RECT FrameAround(RECT client, DWORD style, DWORD exStyle, int dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi =
        Lookup<AdjustFunction>("user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr ||
        !adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        ::AdjustWindowRectEx(&client, style, FALSE, exStyle);
    }
    return client;
}

} // namespace ui
