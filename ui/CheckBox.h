#pragma once
// A check box.

#include "ui/Button.h"

namespace ui {

class CheckBox : public Button {
public:
    void Create(HWND parent, const ButtonDesign& design);
    bool Checked() const;
    void SetChecked(bool checked);

protected:
    // A two-state button of the given BS_ style.
    void CreateStyled(HWND parent, const ButtonDesign& design, DWORD buttonStyle);
};

} // namespace ui
