#pragma once
// An option button of its own, not in a group box: the ones of a form exclude each other.

#include "ui/CheckBox.h"

namespace ui {

class RadioButton : public CheckBox {
public:
    void Create(HWND parent, const ButtonDesign& design);
};

} // namespace ui
