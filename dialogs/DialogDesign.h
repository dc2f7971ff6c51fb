#pragma once
// The layout shared by the dialogs: a caption with the close box only, centred on the
// desktop, in "MS Sans Serif".

#include "ui/Form.h"
#include "ui/ToolBar.h"

inline ui::FormDesign DialogDesign(const char* className, const char* caption, int width,
                                   int height, int fontHeight) {
    ui::FormDesign design;
    design.className = className;
    design.caption = caption;
    design.width = width;
    design.height = height;
    design.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    design.position = ui::FormPosition::DesktopCenter;
    design.font = {"MS Sans Serif", fontHeight};
    return design;
}

// A tool bar button with a caption and no picture.
inline ui::ToolButtonDesign TextButton(const char* caption) {
    ui::ToolButtonDesign design;
    design.caption = caption;
    return design;
}
