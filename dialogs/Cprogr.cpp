#include "dialogs/Cprogr.h"

Tprogreso* progreso = nullptr;

namespace {
ui::FormDesign WorkingDesign() {
    ui::FormDesign design;
    design.className = "Tprogreso";
    design.caption = "progreso";
    design.width = 257;
    design.height = 96;
    design.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    design.position = ui::FormPosition::ScreenCenter;
    design.font = {"MS Sans Serif", -11};
    return design;
}
} // namespace

Tprogreso::Tprogreso() : ui::Form(WorkingDesign()) {
    ui::LabelDesign label;
    label.left = 72;
    label.top = 24;
    label.width = 110;
    label.height = 16;
    label.caption = "Trabajando...";
    label.font = {"MS Sans Serif", -11};
    Label1.Create(Handle(), label);
}
