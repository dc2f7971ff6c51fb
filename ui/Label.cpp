#include "ui/Label.h"

#include "ui/Guard.h"

namespace ui {

Label::~Label() {
    if (brush_ != nullptr) {
        ::DeleteObject(brush_);
    }
}

void Label::Create(HWND parent, const LabelDesign& design) {
    textColor_ = design.textColor;
    color_ = design.color;
    if (color_) {
        brush_ = ::CreateSolidBrush(*color_);
    }
    handCursor_ = design.handCursor;
    DWORD style = WS_VISIBLE | SS_NOPREFIX | (design.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    if (design.sunken) {
        style |= SS_SUNKEN;
    }
    if (design.pathEllipsis) {
        style |= SS_PATHELLIPSIS;
    }
    if (design.handCursor) {
        style |= SS_NOTIFY; // without it the mouse passes through to the parent
    }
    Attach(CreateChild("STATIC", design.caption, style, 0, parent, design.left, design.top,
                       design.width, design.height));
    SetControlFont(handle_, design.font);
}

bool Label::OnParentMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_SETCURSOR && handCursor_) {
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        Fire(OnClick);
        result = 0;
        return true;
    }
    if (message != WM_CTLCOLORSTATIC || (!textColor_ && !color_)) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (textColor_) {
        ::SetTextColor(dc, *textColor_);
    }
    if (brush_ != nullptr) {
        ::SetBkColor(dc, *color_);
        result = reinterpret_cast<LRESULT>(brush_);
        return true;
    }
    // A coloured text on the parent's face: the parent gives the brush.
    return false;
}

} // namespace ui
