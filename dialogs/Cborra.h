#pragma once
// The delete dialog: all or the selected entries; its controls come with the delete work.

#include "ui/Form.h"

class Tborra : public ui::Form {
public:
    Tborra();
};

extern Tborra* borra;
