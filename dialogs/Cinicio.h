#pragma once
// The splash: shown from the first moment of start-up until the main window is shown.
// Being created first, it is the application's main form.

#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"

class Tinicio : public ui::Form {
public:
    Tinicio();

    ui::Image logo;
    ui::Label Label1;
};

extern Tinicio* inicio;
