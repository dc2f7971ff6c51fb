#pragma once
// Fonts as window layouts give them: a face name and a negative height, the character
// height in pixels without internal leading.

#include <string>
#include <windows.h>

namespace ui {

struct FontDesign {
    std::string name = "MS Sans Serif";
    int height = -11;
    bool bold = false;
    bool underline = false;
};

// One font object per design, kept for the life of the process.
HFONT GetFont(const FontDesign& design);

void SetControlFont(HWND window, const FontDesign& design);

} // namespace ui
