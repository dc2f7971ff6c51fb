#pragma once
// The credits window, borderless and centred: the product's name and logo, the credit
// lines, the web page's address, which starts it, a second picture and the OK button.

#include <functional>

#include "controls/ImageButton.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"

class Tcredits : public ui::Form {
public:
    Tcredits();

    ui::Label Label1;
    ui::Image Image1;
    ui::Edit Memo1;
    ui::Label StaticText1;
    ui::Image Image2;
    controls::ImageButton CoolBtn1;

    void CoolBtn1Click();
    void StaticText1Click();

    // The main window's launcher, given a launch number.
    std::function<void(unsigned number)> Launch;
};

extern Tcredits* credits;
