#pragma once
// The extract dialog: a folder tree, four options and all-or-selected; its controls come with the
// extraction work.

#include "ui/Form.h"

class Tdescompri : public ui::Form {
public:
    Tdescompri();
};

extern Tdescompri* descompri;
