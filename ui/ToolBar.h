#pragma once
// A tool bar of buttons with captions under images from an image list, flat and
// transparent; a button may show its hint as a tooltip and the hand cursor.

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

class ImageList;
class ToolBar;

struct ToolButtonDesign {
    std::string caption{};
    int image = -1; // none
    std::string hint{};
    bool showHint = false;
    bool handCursor = false;
    bool enabled = true;
};

class ToolButton {
public:
    explicit ToolButton(ToolButtonDesign design) : design_(std::move(design)) {}
    ToolButton(const ToolButton&) = delete;
    ToolButton& operator=(const ToolButton&) = delete;

    const std::string& Caption() const { return design_.caption; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return design_.enabled; }
    void SetEnabled(bool enabled);
    const std::string& Hint() const { return design_.hint; }
    int ImageIndex() const { return design_.image; }
    int CommandId() const { return id_; }

    std::function<void()> OnClick;

private:
    friend class ToolBar;
    ToolButtonDesign design_;
    ToolBar* bar_ = nullptr;
    int id_ = 0;
};

struct ToolBarDesign {
    int left = 0, top = 0, width = 0, height = 0;
    int buttonWidth = 23, buttonHeight = 22;
    FontDesign font{};
    const ImageList* images = nullptr; // also the hot images
    // Tab stops at each button, as a dialog's row of buttons, instead of once at the bar.
    bool tabThroughButtons = false;
};

class ToolBar : public Control {
public:
    void Create(HWND parent, const ToolBarDesign& design, std::vector<ToolButton*> buttons);

    // The width that shows every button.
    int IdealWidth() const;
    // Fits the buttons into that many pixels: each keeps its design width where there is
    // room, never less than its caption and picture need (nor more than its design
    // width unless its caption needs it); the narrow ones give up room first.
    void FitTo(int pixels);
    // The enabled button whose caption marks the key as its access key ("&N"), or none.
    ToolButton* AccessKeyButton(char key) const;

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(int dpi) override;
    // The keyboard chooses a button as the hot one; Space or Enter presses it.
    void TakeFocus(bool forward) override;
    bool StepFocus(bool forward) override;
    bool OnEnterKey() override;
    // The button the keyboard chose, -1 for none.
    int HotButton() const;

private:
    friend class ToolButton;
    ToolButton* ButtonById(int id) const;
    // The next enabled button from the one at the index in the direction, or -1.
    int NextEnabled(int from, bool forward) const;
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self);

    // What the buttons are fitted into, in pixels; 0 when not fitted.
    int fitPixels_ = 0;
    std::vector<ToolButton*> buttons_;
    const ImageList* images_ = nullptr;
    int buttonWidth_ = 0, buttonHeight_ = 0; // design pixels
    bool tabThroughButtons_ = false;
};

} // namespace ui
