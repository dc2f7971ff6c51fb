#pragma once
// Dragging files out of the program with the left button: to the shell, the desktop or
// any program that takes dropped files. The files may not exist yet when the drag
// starts; they are made when a target takes the drop.

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include <ole2.h>

namespace ui {

struct FileDrag {
    // The paths the files will have, for targets that look at them before the drop.
    std::function<std::vector<std::wstring>()> expected;
    // Makes the files and gives their paths; called once, when a target takes the drop.
    std::function<std::vector<std::wstring>()> render;
};

// Runs the drag until the button is released or Escape is pressed; true when a target
// took the files.
bool DragFilesOut(const FileDrag& drag);

// Runs the drag of a shell data object (the shell's own drag of its items) with the
// effects given; true when a target took it.
bool DragShellData(IDataObject* data, DWORD effects);

} // namespace ui
