#include "ui/GroupBox.h"

namespace ui {

void GroupBox::Create(HWND parent, const GroupBoxDesign& design) {
    Attach(CreateChild("BUTTON", design.caption, WS_VISIBLE | BS_GROUPBOX, 0, parent, design.left,
                       design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
}

} // namespace ui
