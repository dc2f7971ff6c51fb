#include "ui/Font.h"

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "ui/Dpi.h"

namespace ui {

namespace {
// The designs given to windows, named in a window property by their place here plus one.
const char kFontProperty[] = "TarvoxFont";
std::vector<FontDesign>& Designs() {
    static std::vector<FontDesign> designs;
    return designs;
}
} // namespace

HFONT GetFont(const FontDesign& design, int dpi) {
    using Key = std::tuple<std::string, int, bool, bool>;
    static std::map<Key, HFONT> fonts;
    const int height = Scale(design.height, dpi);
    const Key key{design.name, height, design.bold, design.underline};
    auto found = fonts.find(key);
    if (found != fonts.end()) {
        return found->second;
    }
    HFONT font = ::CreateFontA(height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, FALSE,
                               design.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, design.name.c_str());
    fonts.emplace(key, font);
    return font;
}

void SetControlFont(HWND window, const FontDesign& design) {
    std::vector<FontDesign>& designs = Designs();
    std::size_t index = 0;
    while (index < designs.size() &&
           std::tie(designs[index].name, designs[index].height, designs[index].bold,
                    designs[index].underline) !=
               std::tie(design.name, design.height, design.bold, design.underline)) {
        ++index;
    }
    if (index == designs.size()) {
        designs.push_back(design);
    }
    ::SetPropA(window, kFontProperty, reinterpret_cast<HANDLE>(index + 1));
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(design, DpiOf(window))),
                   FALSE);
}

void RescaleFont(HWND window, int dpi) {
    const auto index = reinterpret_cast<std::uintptr_t>(::GetPropA(window, kFontProperty));
    if (index == 0 || index > Designs().size()) {
        return;
    }
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont(Designs()[index - 1], dpi)),
                   TRUE);
}

} // namespace ui
