#pragma once
// A horizontal scroller around a tool bar that may be wider than its page: the buttons
// narrow to the page first, and arrow buttons appear at the ends for what still does
// not fit, and scroll it.

#include "ui/Control.h"

namespace ui {

class ToolBar;

class PageScroller : public Control {
public:
    void Create(HWND parent, const Bounds& bounds);
    // Takes the tool bar (created with this scroller as its parent) as the scrolled child.
    void SetChild(ToolBar& child);
    // Whether the arrows show depends on the width: it is measured again after a move.
    void SetBounds(int left, int top, int width, int height) override;

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Measure();
    ToolBar* child_ = nullptr;
};

} // namespace ui
