#pragma once
// The configuration dialog: the start-up and temporary folders; its controls come with the
// configuration work.

#include "ui/Form.h"

class Tconfig : public ui::Form {
public:
    Tconfig();
};

extern Tconfig* config;
