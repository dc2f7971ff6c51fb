#include "dialogs/Cdesc.h"

#include "dialogs/DialogDesign.h"

Tdescompri* descompri = nullptr;

Tdescompri::Tdescompri()
    : ui::Form(DialogDesign("Tdescompri", "Descomprimir en ...", 480, 484, -10)) {}
