// Handlers bound now whose work comes later; each says which work fills it.

#include "main/Cprinc.h"

// Filled by the configuration work: showing the configuration dialog.
void TPRINCIPAL::MconfiguracionClick() {}

