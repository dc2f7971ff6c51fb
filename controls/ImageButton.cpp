#include "controls/ImageButton.h"

#include "ui/Dpi.h"
#include "ui/Guard.h"

namespace controls {

namespace {

int Blend(int from, int to, int step, int steps) {
    return from + (to - from) * step / (steps > 1 ? steps - 1 : 1);
}

} // namespace

ImageButton::~ImageButton() {
    if (icon_ != nullptr) {
        ::DestroyIcon(icon_);
    }
}

void ImageButton::Create(HWND parent, const ImageButtonDesign& design) {
    icon_ = design.icon;
    font_ = design.font;
    textColor_ = design.textColor;
    topColor_ = design.topColor;
    bottomSystemColor_ = design.bottomSystemColor;
    cornerDiameter_ = design.cornerDiameter;
    Attach(ui::CreateChild("BUTTON", design.caption, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
                           parent, design.left, design.top, design.width, design.height));
    ui::SetControlFont(handle_, design.font);
    OnDpiChanged(ui::DpiOf(handle_));
}

void ImageButton::OnDpiChanged(int) {
    // The window takes clicks only inside its rounded outline.
    RECT area;
    ::GetClientRect(handle_, &area);
    ::SetWindowRgn(handle_,
                   ::CreateRoundRectRgn(0, 0, area.right + 1, area.bottom + 1, Corner(), Corner()),
                   TRUE);
}

int ImageButton::Corner() const {
    return ui::Scale(cornerDiameter_, ui::DpiOf(handle_));
}

bool ImageButton::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ui::Fire(OnClick);
        result = 0;
        return true;
    }
    return false;
}

void ImageButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF bottom = ::GetSysColor(bottomSystemColor_);
    // Pressed, the gradient turns upside down and the caption sinks a pixel.
    const COLORREF from = pressed ? bottom : topColor_;
    const COLORREF to = pressed ? topColor_ : bottom;
    const int height = area.bottom - area.top;
    for (int row = 0; row < height; ++row) {
        HBRUSH brush = ::CreateSolidBrush(RGB(Blend(GetRValue(from), GetRValue(to), row, height),
                                              Blend(GetGValue(from), GetGValue(to), row, height),
                                              Blend(GetBValue(from), GetBValue(to), row, height)));
        const RECT line{area.left, area.top + row, area.right, area.top + row + 1};
        ::FillRect(dc, &line, brush);
        ::DeleteObject(brush);
    }
    HRGN outline = ::CreateRoundRectRgn(area.left, area.top, area.right + 1, area.bottom + 1,
                                        Corner(), Corner());
    ::FrameRgn(dc, outline, ::GetSysColorBrush(pressed ? COLOR_3DDKSHADOW : COLOR_3DSHADOW), 1, 1);
    ::DeleteObject(outline);

    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    RECT text = area;
    if (pressed) {
        ::OffsetRect(&text, 1, 1);
    }
    const int length = ::GetWindowTextLengthA(item.hwndItem);
    if (icon_ != nullptr) {
        ICONINFO info{};
        BITMAP bitmap{};
        ::GetIconInfo(icon_, &info);
        ::GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap,
                     &bitmap);
        const int iconWidth = bitmap.bmWidth;
        // A mask-only icon holds its AND and XOR halves one above the other.
        const int iconHeight = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        const int lineHeight = length > 0 ? ui::Scale(-font_.height + 4, ui::DpiOf(handle_)) : 0;
        const int x = (text.left + text.right - iconWidth) / 2;
        const int y = (text.top + text.bottom - iconHeight - lineHeight) / 2;
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon_), 0, x, y, iconWidth,
                     iconHeight, DST_ICON | (enabled ? DSS_NORMAL : DSS_DISABLED));
        text.top = y + iconHeight;
        text.bottom = text.top + lineHeight;
    }
    std::string caption(static_cast<std::size_t>(length) + 1, '\0');
    ::GetWindowTextA(item.hwndItem, caption.data(), length + 1);
    HGDIOBJ previous = ::SelectObject(dc, ui::GetFont(font_, ui::DpiOf(handle_)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, enabled ? textColor_ : ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextA(dc, caption.c_str(), length, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, previous);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = area;
        ::InflateRect(&focus, -Corner() / 3 - 2, -Corner() / 3 - 2);
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace controls
