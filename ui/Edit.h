#pragma once
// A single-line edit, or a multi-line one with a vertical scroll bar.

#include <functional>
#include <string>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct EditDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string text{};
    FontDesign font{};
    bool readOnly = false;
    bool enabled = true;
    bool multiLine = false; // lines separated by "\r\n" in the text
    bool password = false;  // shows a mark for each character
};

class Edit : public Control {
public:
    void Create(HWND parent, const EditDesign& design);
    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The text was changed, by the user or by the program.
    std::function<void()> OnChange;

private:
    bool multiLine_ = false;
};

} // namespace ui
