#include "ui/Font.h"

#include <map>
#include <tuple>

namespace ui {

HFONT GetFont(const FontDesign& design) {
    using Key = std::tuple<std::string, int, bool, bool>;
    static std::map<Key, HFONT> fonts;
    const Key key{design.name, design.height, design.bold, design.underline};
    auto found = fonts.find(key);
    if (found != fonts.end()) {
        return found->second;
    }
    HFONT font = ::CreateFontA(design.height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, FALSE,
                               design.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, design.name.c_str());
    fonts.emplace(key, font);
    return font;
}

void SetControlFont(HWND window, const FontDesign& design) {
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(design)), FALSE);
}

} // namespace ui
