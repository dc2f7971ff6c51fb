#pragma once
// A bar that fills from 0 to 100 percent.

#include "ui/Control.h"

namespace ui {

class ProgressBar : public Control {
public:
    void Create(HWND parent, const Bounds& bounds);
    int Position() const;
    void SetPosition(int percent);
};

} // namespace ui
