#pragma once
// Reading back what a user sees in real controls, and acting on them as a user does.

#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

struct ToolButtonState {
    std::string caption;
    int image;
    bool enabled;

    bool operator==(const ToolButtonState&) const = default;
};

std::string WindowCaption(HWND window);
std::vector<ToolButtonState> ToolButtons(HWND toolBar);
// Presses and releases the left mouse button over the tool bar's button.
void ClickToolButton(HWND toolBar, int index);

struct MenuEntry {
    std::string caption; // "-" for a separator
    bool enabled;

    bool operator==(const MenuEntry&) const = default;
};

// The items of the window's menu bar, or of the drop-down menu at a place of it.
std::vector<MenuEntry> MenuBar(HWND window);
std::vector<MenuEntry> DropDown(HWND window, int menuIndex);
// Chooses an item of a drop-down menu, as a click on it does.
void ChooseMenuItem(HWND window, int menuIndex, int itemIndex);

std::vector<std::string> TabCaptions(HWND tabs);
std::vector<std::string> ColumnCaptions(HWND list);
std::string StatusText(HWND statusBar, int panel);
std::vector<int> StatusParts(HWND statusBar);

// Every row of a list view, each as its cells in column order.
std::vector<std::vector<std::wstring>> ListRows(HWND list);
// A click on a row's caption, with Ctrl held when extend is set; a double click.
void ClickListRow(HWND list, int row, bool extend = false);
void DoubleClickListRow(HWND list, int row);
// A right click on a row's caption, or on the blank below the rows for -1.
void RightClickListRow(HWND list, int row);
// The items of a menu, as MenuBar and DropDown read theirs.
std::vector<MenuEntry> MenuEntries(HMENU menu);
// A click below the last row, where there is none.
void ClickListBlank(HWND list);

// The caption of a tree view's item.
std::wstring TreeItemText(HWND tree, HTREEITEM item);

// A control's place and size in its parent's client area.
RECT BoundsInParent(HWND control);

// What a control paints of its client area (through WM_PRINTCLIENT): rows top first,
// each pixel as 0x00RRGGBB.
struct Painted {
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    unsigned At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
Painted PaintedClient(HWND control);

// Handles the messages waiting in the thread's queue.
void PumpMessages();
// Presses and releases a key where the focus is, as the program's message loop receives
// it: through the forms' own keys (Tab, Enter, Escape).
void PressKey(WPARAM key);
