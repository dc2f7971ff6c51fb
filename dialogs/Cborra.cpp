#include "dialogs/Cborra.h"

#include "dialogs/DialogDesign.h"

Tborra* borra = nullptr;

Tborra::Tborra() : ui::Form(DialogDesign("Tborra", "borra", 252, 197, -10)) {}
