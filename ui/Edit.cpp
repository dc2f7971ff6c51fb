#include "ui/Edit.h"

#include "ui/Guard.h"

namespace ui {

void Edit::Create(HWND parent, const EditDesign& design) {
    multiLine_ = design.multiLine;
    DWORD style = WS_VISIBLE | WS_TABSTOP;
    style |= design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    if (design.readOnly) {
        style |= ES_READONLY;
    }
    if (design.password) {
        style |= ES_PASSWORD;
    }
    Attach(CreateChild("EDIT", design.text, style, WS_EX_CLIENTEDGE, parent, design.left,
                       design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    SetEnabled(design.enabled);
}

bool Edit::OnParentMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC && multiLine_) {
        // A read-only page of text keeps the paper colour instead of the parent's face.
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) {
        return false;
    }
    Fire(OnChange);
    result = 0;
    return true;
}

} // namespace ui
