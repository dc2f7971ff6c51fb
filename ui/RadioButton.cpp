#include "ui/RadioButton.h"

namespace ui {

void RadioButton::Create(HWND parent, const ButtonDesign& design) {
    CreateStyled(parent, design, BS_AUTORADIOBUTTON);
}

} // namespace ui
