#pragma once
// The layout shared by the dialogs: a caption with the close box only, centred on the
// desktop, in "MS Sans Serif".

#include "ui/Form.h"

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
