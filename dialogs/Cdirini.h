#pragma once
// The folders dialog: picks the start-up or temporary folder in a folder tree and hands
// both back to the configuration dialog on Ok.

#include <string>

#include "controls/ShellFolderTree.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/RadioButton.h"
#include "ui/ToolBar.h"
#include "util/TextLines.h"

class Tdirek : public ui::Form {
public:
    Tdirek();

    ui::Label Label2;
    ui::Edit dirini;
    ui::Label Label1;
    ui::Edit dirtem;
    ui::RadioButton ct;
    ui::RadioButton ci;
    controls::ShellFolderTree dir;
    ui::ToolBar ToolBar1;
    ui::ToolButton ToolButton1;
    ui::ToolButton ToolButton2;

    void FormActivate();
    void ciClick();
    void ctClick();
    void dirChange();
    void ToolButton1Click();
    void ToolButton2Click();
    void FormClose();
    void PonIdioma(const util::TextLines& ingles);

    // The configuration dialog's two fields: read on each showing, written by Ok.
    void EntregaA(ui::Edit& iniConfig, ui::Edit& temConfig);

private:
    ui::Edit* iniConfig_ = nullptr;
    ui::Edit* temConfig_ = nullptr;
};

extern Tdirek* direk;
