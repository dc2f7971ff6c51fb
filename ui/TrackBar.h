#pragma once
// A horizontal slider with a tick at every step below it.

#include <functional>

#include "ui/Control.h"

namespace ui {

struct TrackBarDesign {
    int left = 0, top = 0, width = 0, height = 0;
    int min = 0, max = 10, position = 0, frequency = 1;
};

class TrackBar : public Control {
public:
    void Create(HWND parent, const TrackBarDesign& design);

    int Position() const;
    // Moves the slider without raising OnChange, as a program's change does.
    void SetPosition(int position);
    int Min() const;
    int Max() const;

    bool OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The user moved the slider.
    std::function<void()> OnChange;
};

} // namespace ui
