#pragma once
// A push button with rounded corners, painted in a vertical gradient with an optional icon
// above a caption of its own colour; it takes the focus, Space and clicks like any button.

#include <functional>
#include <string>
#include <windows.h>

#include "ui/Control.h"
#include "ui/Font.h"

namespace controls {

struct ImageButtonDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption{};
    ui::FontDesign font{};
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF topColor = RGB(255, 0, 0);
    // A system colour index for the bottom of the gradient.
    int bottomSystemColor = COLOR_HIGHLIGHT;
    int cornerDiameter = 16;
    // Drawn at its own size, centred above the caption; the button owns it from Create on.
    HICON icon = nullptr;
};

class ImageButton : public ui::Control {
public:
    ~ImageButton() override;
    void Create(HWND parent, const ImageButtonDesign& design);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    COLORREF TextColor() const { return textColor_; }

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(int dpi) override;

    std::function<void()> OnClick;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;
    int Corner() const;

    ui::FontDesign font_;
    COLORREF textColor_ = 0;
    COLORREF topColor_ = 0;
    int bottomSystemColor_ = COLOR_HIGHLIGHT;
    int cornerDiameter_ = 0;
    HICON icon_ = nullptr;
};

} // namespace controls
