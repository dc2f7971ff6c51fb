#include "dialogs/Unit1.h"

TForm1* Form1 = nullptr;

namespace {
ui::FormDesign Design() {
    ui::FormDesign design;
    design.className = "TForm1";
    design.caption = "Form1";
    design.width = 544;
    design.height = 375;
    design.style = WS_OVERLAPPEDWINDOW;
    design.position = ui::FormPosition::Designed;
    design.font = {"MS Sans Serif", -11};
    return design;
}
} // namespace

TForm1::TForm1() : ui::Form(Design()) {}
