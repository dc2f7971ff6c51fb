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

// One font object per design and scale, kept for the life of the process.
HFONT GetFont(const FontDesign& design, int dpi);

// Gives the window the font at its scale, and keeps the design for a change of scale.
void SetControlFont(HWND window, const FontDesign& design);
// Gives a window whose font was set above that font again at the scale.
void RescaleFont(HWND window, int dpi);

} // namespace ui
