#pragma once
// A status bar placed by the layout: either one simple panel or panels of fixed widths,
// the last reaching the right edge.

#include <optional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Font.h"

namespace ui {

struct StatusBarDesign {
    int left = 0, top = 0, width = 0, height = 0;
    // No widths: one simple panel.
    std::vector<int> panelWidths{};
    FontDesign font{};
    std::optional<COLORREF> color{}; // the system's face colour when none
    std::string hint{};              // kept, not shown
};

class StatusBar : public Control {
public:
    void Create(HWND parent, const StatusBarDesign& design);

    int PanelCount() const { return static_cast<int>(texts_.size()); }
    // For a simple bar the one panel is index 0. Panels past the last are ignored.
    std::string PanelText(int index) const;
    void SetPanelText(int index, const std::string& text);

    void SetColor(std::optional<COLORREF> color);
    // The colour of its own, or none for the system's face colour.
    std::optional<COLORREF> Color() const { return color_; }
    // The bar measures its parts when they are set: after a move they are set again and
    // the whole bar is painted anew.
    void SetBounds(int left, int top, int width, int height) override;
    void OnDpiChanged(int dpi) override;
    const std::string& Hint() const { return hint_; }

private:
    void SetParts();

    std::string hint_;
    std::optional<COLORREF> color_;
    bool simple_ = false;
    std::vector<int> edges_; // right edges of the parts in design pixels, the last -1
    std::vector<std::string> texts_;
};

} // namespace ui
