#pragma once
// Window layouts are designed in pixels at 96 dots per inch. A window shows them at its
// monitor's scale: every place, size and font height goes through Scale, here only.

#include <windows.h>

namespace ui {

constexpr int kDesignDpi = 96;

// The dots per inch the window is shown at: its top-level window's as that window last
// learned it (SetDpi), else the system's answer.
int DpiOf(HWND window);
void SetDpi(HWND topLevel, int dpi);
// Of the monitor nearest to the point, for a window not yet made.
int DpiAt(POINT point);

// Design pixels to pixels at the scale, rounded to the nearest; and back.
int Scale(int designPixels, int dpi);
int Unscale(int pixels, int dpi);

// The frame that gives a window of the style the client size, at the scale.
RECT FrameAround(RECT client, DWORD style, DWORD exStyle, int dpi);

} // namespace ui
