#include "ui/Button.h"

#include "ui/Guard.h"

namespace ui {

void Button::Create(HWND parent, const ButtonDesign& design) {
    Attach(CreateChild("BUTTON", design.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, parent,
                       design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
}

bool Button::OnParentMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
        return false;
    }
    Fire(OnClick);
    result = 0;
    return true;
}

} // namespace ui
