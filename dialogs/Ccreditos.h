#pragma once
// The credits window, borderless and centred; its texts, pictures and button come with the credits
// work.

#include "ui/Form.h"

class Tcredits : public ui::Form {
public:
    Tcredits();
};

extern Tcredits* credits;
