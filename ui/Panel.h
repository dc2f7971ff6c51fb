#pragma once
// A plain container window (a tab sheet, say): it paints the button face and hands the
// messages about its children back to their wrappers.

#include "ui/Control.h"

namespace ui {

class Panel : public Control {
public:
    void Create(HWND parent, const Bounds& bounds);

private:
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace ui
