#pragma once
// The empty auxiliary window: never shown; its window handle owns what viewing an entry opens.

#include "ui/Form.h"

class TForm1 : public ui::Form {
public:
    TForm1();
};

extern TForm1* Form1;
