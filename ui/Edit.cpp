#include "ui/Edit.h"

#include "ui/Guard.h"

namespace ui {

void Edit::Create(HWND parent, const EditDesign& design) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    if (design.readOnly) {
        style |= ES_READONLY;
    }
    Attach(CreateChild("EDIT", design.text, style, WS_EX_CLIENTEDGE, parent, design.left,
                       design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    SetEnabled(design.enabled);
}

bool Edit::OnParentMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) {
        return false;
    }
    Fire(OnChange);
    result = 0;
    return true;
}

} // namespace ui
