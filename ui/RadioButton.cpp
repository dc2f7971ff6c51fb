#include "ui/RadioButton.h"

namespace ui {

void RadioButton::Create(HWND parent, const ButtonDesign& design) {
    Attach(CreateChild("BUTTON", design.caption, WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON, 0,
                       parent, design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    SetChecked(design.checked);
}

} // namespace ui
