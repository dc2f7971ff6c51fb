#include "ui/CheckBox.h"

namespace ui {

void CheckBox::Create(HWND parent, const ButtonDesign& design) {
    CreateStyled(parent, design, BS_AUTOCHECKBOX);
}

void CheckBox::CreateStyled(HWND parent, const ButtonDesign& design, DWORD buttonStyle) {
    Attach(CreateChild("BUTTON", design.caption, WS_VISIBLE | WS_TABSTOP | buttonStyle, 0, parent,
                       design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    SetChecked(design.checked);
}

bool CheckBox::Checked() const {
    return ::SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    ::SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace ui
