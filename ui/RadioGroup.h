#pragma once
// A framed group of options of which one is chosen.

#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct RadioGroupDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption{};
    std::vector<std::string> items{};
    int itemIndex = -1;
    FontDesign font{};
};

class RadioGroup : public Control {
public:
    ~RadioGroup() override;
    void Create(HWND parent, const RadioGroupDesign& design);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    int ItemCount() const { return static_cast<int>(items_.size()); }
    std::string Item(int index) const;
    void SetItem(int index, const std::string& caption);
    // The chosen option, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // The focus goes to the chosen option; the arrows choose the next or the previous.
    bool HasFocus(HWND focus) const override;
    void TakeFocus(bool forward) override;
    bool OnArrowKey(UINT key) override;

private:
    std::vector<HWND> items_;
};

} // namespace ui
