#pragma once
// A page control: tabs drawn as flat buttons over pages that hold controls; choosing a
// tab shows its page.

#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/Panel.h"

namespace ui {

class PageControl;

class TabSheet : public Panel {
public:
    explicit TabSheet(std::string caption) : caption_(std::move(caption)) {}

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The page's size, for laying out its controls.
    int Width() const;
    int Height() const;

private:
    friend class PageControl;
    std::string caption_;
    PageControl* owner_ = nullptr;
    int index_ = 0;
};

struct PageControlDesign {
    int left = 0, top = 0, width = 0, height = 0;
    FontDesign font{};
};

class PageControl : public Control {
public:
    void Create(HWND parent, const PageControlDesign& design, std::vector<TabSheet*> pages);

    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // Places the pages on the tabs' display area again, after the control was resized.
    void Realign();

    void OnDpiChanged(int dpi) override;
    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class TabSheet;
    // The pages' place, in design pixels.
    RECT DisplayArea() const;

    std::vector<TabSheet*> pages_;
};

} // namespace ui
