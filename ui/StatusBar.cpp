#include "ui/StatusBar.h"

#include <commctrl.h>

namespace ui {

void StatusBar::Create(HWND parent, const StatusBarDesign& design) {
    Attach(
        CreateChild(STATUSCLASSNAMEA, "",
                    WS_VISIBLE | WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                    0, parent, design.left, design.top, design.width, design.height));
    SetControlFont(handle_, design.font);
    simple_ = design.panelWidths.empty();
    if (simple_) {
        texts_.resize(1);
        ::SendMessageA(handle_, SB_SIMPLE, TRUE, 0);
    } else {
        texts_.resize(design.panelWidths.size());
        // Right edges, the last panel running to the end of the bar.
        std::vector<int> edges;
        int edge = 0;
        for (std::size_t i = 0; i + 1 < design.panelWidths.size(); ++i) {
            edge += design.panelWidths[i];
            edges.push_back(edge);
        }
        edges.push_back(-1);
        ::SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    SetColor(design.color);
    hint_ = design.hint;
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
    ::SendMessageA(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(color ? *color : CLR_DEFAULT));
}

} // namespace ui
