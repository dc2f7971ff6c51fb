#include "dialogs/Ccreditos.h"

Tcredits* credits = nullptr;

namespace {
ui::FormDesign Design() {
    ui::FormDesign design;
    design.className = "Tcredits";
    design.caption = "Créditos";
    design.width = 537;
    design.height = 381;
    design.style = WS_POPUP;
    design.position = ui::FormPosition::DesktopCenter;
    design.font = {"MS Sans Serif", -11};
    design.systemColor = COLOR_WINDOWFRAME;
    design.clientSize = true;
    return design;
}
} // namespace

Tcredits::Tcredits() : ui::Form(Design()) {}
