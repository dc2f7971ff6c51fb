#pragma once
// Push button, check box, radio group and single-line edit.

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct ButtonDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption;
    FontDesign font;
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

class CheckBox : public Button {
public:
    void Create(HWND parent, const ButtonDesign& design);
    bool Checked() const;
    void SetChecked(bool checked);
};

struct RadioGroupDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption;
    std::vector<std::string> items;
    int itemIndex = -1;
    FontDesign font;
};

// A framed group of options of which one is chosen.
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

private:
    std::vector<HWND> items_;
};

struct EditDesign {
    int left = 0, top = 0, width = 0, height = 0;
    std::string text;
    FontDesign font;
    bool readOnly = false;
    bool enabled = true;
};

class Edit : public Control {
public:
    void Create(HWND parent, const EditDesign& design);
    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The text was changed, by the user or by the program.
    std::function<void()> OnChange;
};

} // namespace ui
