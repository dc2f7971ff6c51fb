#pragma once
// The folders dialog: picks the start-up or temporary folder in a folder tree; its controls come
// with the configuration work.

#include "ui/Form.h"

class Tdirek : public ui::Form {
public:
    Tdirek();
};

extern Tdirek* direk;
