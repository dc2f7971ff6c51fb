#pragma once
// The configuration dialog: shows the start-up and temporary folders, which the folders
// dialog picks; Ok stores them in the settings and applies them.

#include <functional>

#include "controls/ImageButton.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/PageControl.h"
#include "ui/ToolBar.h"
#include "util/TextLines.h"

class Tdirek;

class Tconfig : public ui::Form {
public:
    // The settings lines it reads and writes, the folders dialog it opens (which it hands
    // its two fields), and what applies the settings.
    Tconfig(util::TextLines& confi, Tdirek& direk, std::function<void()> actualizaOpciones);

    ui::PageControl Page;
    ui::TabSheet TabSheet1{"Directorios  "};
    ui::Label Label2;
    ui::Edit dirini;
    ui::Label Label1;
    ui::Edit dirtem;
    controls::ImageButton CoolBtn1;
    ui::ToolBar ToolBar2;
    ui::ToolButton ToolButton3;
    ui::ToolButton ToolButton4;

    void FormActivate();
    void CoolBtn1Click();
    void ToolButton3Click();
    void ToolButton4Click();
    void PonIdioma(const util::TextLines& ingles);

private:
    util::TextLines& confi_;
    Tdirek& direk_;
    std::function<void()> actualizaOpciones_;
};

extern Tconfig* config;
