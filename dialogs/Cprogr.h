#pragma once
// The working window: created at start-up and never shown.

#include "ui/Form.h"
#include "ui/Label.h"

class Tprogreso : public ui::Form {
public:
    Tprogreso();

    ui::Label Label1;
};

extern Tprogreso* progreso;
