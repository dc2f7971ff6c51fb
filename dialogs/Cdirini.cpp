#include "dialogs/Cdirini.h"

#include "dialogs/DialogDesign.h"

Tdirek* direk = nullptr;

Tdirek::Tdirek() : ui::Form(DialogDesign("Tdirek", "Directorios", 424, 438, -13)) {}
