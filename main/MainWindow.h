#pragma once
// The program's main window.

#include <windows.h>

// "TARVOX  v4.1.0    ", trailing blanks included.
extern const char kMainWindowCaption[];

// Creates the main window, hidden; it ends the message loop when it is destroyed.
HWND CreateMainWindow(HINSTANCE instance);
