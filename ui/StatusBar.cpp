#include "ui/StatusBar.h"

#include "ui/Dpi.h"

#include <commctrl.h>

namespace ui {

void StatusBar::Create(HWND parent, const StatusBarDesign& design) {
    Attach(
        CreateChild(STATUSCLASSNAMEA, "",
                    WS_VISIBLE | WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                    0, parent, design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    simple_ = design.panelWidths.empty();
    texts_.resize(simple_ ? 1 : design.panelWidths.size());
    // Right edges, the last panel running to the end of the bar.
    int edge = 0;
    for (std::size_t i = 0; i + 1 < design.panelWidths.size(); ++i) {
        edge += design.panelWidths[i];
        edges_.push_back(edge);
    }
    edges_.push_back(-1);
    SetParts();
    if (simple_) {
        ::SendMessageA(handle_, SB_SIMPLE, TRUE, 0);
    }
    SetColor(design.color);
    hint_ = design.hint;
}

void StatusBar::SetBounds(int left, int top, int width, int height) {
    Control::SetBounds(left, top, width, height);
    SetParts();
    // The last part ends at the bar's end: the old end's edge must not stay painted.
    ::InvalidateRect(handle_, nullptr, TRUE);
}

void StatusBar::OnDpiChanged(int) {
    SetParts();
}

void StatusBar::SetParts() {
    const int dpi = DpiOf(handle_);
    std::vector<int> edges;
    for (int edge : edges_) {
        edges.push_back(edge < 0 ? edge : Scale(edge, dpi));
    }
    ::SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

std::string StatusBar::PanelText(int index) const {
    return index >= 0 && index < PanelCount() ? texts_[static_cast<std::size_t>(index)]
                                              : std::string();
}

void StatusBar::SetPanelText(int index, const std::string& text) {
    if (index < 0 || index >= PanelCount()) {
        return;
    }
    texts_[static_cast<std::size_t>(index)] = text;
    const WPARAM part = simple_ ? SB_SIMPLEID : static_cast<WPARAM>(index);
    ::SendMessageA(handle_, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::SetColor(std::optional<COLORREF> color) {
    color_ = color;
    ::SendMessageA(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(color ? *color : CLR_DEFAULT));
}

} // namespace ui
