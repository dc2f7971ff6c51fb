#pragma once
// A push button with a caption.

#include <functional>
#include <string>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct ButtonDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption{};
    FontDesign font{};
    bool checked = false; // check boxes
};

class Button : public Control {
public:
    void Create(HWND parent, const ButtonDesign& design);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    std::function<void()> OnClick;
};

} // namespace ui
