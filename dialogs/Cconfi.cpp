#include "dialogs/Cconfi.h"

#include "dialogs/DialogDesign.h"

Tconfig* config = nullptr;

namespace {
ui::FormDesign Design() {
    ui::FormDesign design = DialogDesign("Tconfig", "Configuración", 444, 319, -13);
    design.color = RGB(0, 128, 128); // teal
    return design;
}
} // namespace

Tconfig::Tconfig() : ui::Form(Design()) {}
