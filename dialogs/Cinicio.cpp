#include "dialogs/Cinicio.h"

#include "ui/Resource.h"

Tinicio* inicio = nullptr;

namespace {
ui::FormDesign SplashDesign() {
    ui::FormDesign design;
    design.className = "Tinicio";
    design.caption = "Tarvox v4.1.0    ";
    design.left = 196;
    design.top = 192;
    design.width = 466;
    design.height = 149;
    design.clientSize = true;
    design.style = WS_POPUP;
    design.color = RGB(0, 0, 0);
    design.visible = true;
    return design;
}
} // namespace

Tinicio::Tinicio() : ui::Form(SplashDesign()) {
    logo.Create(Handle(), {.left = 66, .top = 11, .width = 300, .height = 80, .autoSize = true});
    logo.LoadJpeg(ui::ResourceData("LOGO"));
    ui::LabelDesign label;
    label.left = 64;
    label.top = 104;
    label.width = 298;
    label.height = 24;
    label.caption = "Espere un instante,trabajando...";
    label.font = {.name = "MS Sans Serif", .height = -19, .bold = true};
    label.textColor = RGB(0, 255, 0);
    Label1.Create(Handle(), label);
    ::UpdateWindow(Handle());
}
