#pragma once
// A framed box with a caption around other controls, which stay children of the form.

#include <string>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct GroupBoxDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption{};
    FontDesign font{};
};

class GroupBox : public Control {
public:
    void Create(HWND parent, const GroupBoxDesign& design);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
};

} // namespace ui
