#pragma once
// A static text, word-wrapped when asked, in colours of its own or on its parent's face;
// one with the hand cursor takes clicks.

#include <functional>
#include <optional>
#include <string>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct LabelDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption{};
    FontDesign font{};
    bool wordWrap = false;
    std::optional<COLORREF> textColor{};
    std::optional<COLORREF> color{}; // transparent on the parent when none
    bool sunken = false;
    bool handCursor = false;   // shows the hand over the text, which then takes clicks
    bool pathEllipsis = false; // a path too long shows its start and its file's name
};

class Label : public Control {
public:
    ~Label() override;
    void Create(HWND parent, const LabelDesign& design);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    std::optional<COLORREF> TextColor() const { return textColor_; }
    std::optional<COLORREF> BackgroundColor() const { return color_; }

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    std::function<void()> OnClick;

private:
    std::optional<COLORREF> textColor_;
    std::optional<COLORREF> color_;
    HBRUSH brush_ = nullptr;
    bool handCursor_ = false;
};

} // namespace ui
