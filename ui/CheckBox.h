#pragma once
// A check box.

#include "ui/Button.h"

namespace ui {

class CheckBox : public Button {
public:
    void Create(HWND parent, const ButtonDesign& design);
    bool Checked() const;
    void SetChecked(bool checked);
};

} // namespace ui
