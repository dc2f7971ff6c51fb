#pragma once
// The delete dialog: deletes every entry of the main window's list, or the selected ones.

#include <functional>

#include "controls/ContentsList.h"
#include "engine/ZipEngine.h"
#include "ui/Form.h"
#include "ui/RadioGroup.h"
#include "ui/ToolBar.h"
#include "util/TextLines.h"

class Tborra : public ui::Form {
public:
    // What the dialog acts on: the main window's engine, its list, what the main window
    // does when a deletion ends, and the main window itself, enabled again whenever the
    // dialog closes.
    Tborra(TZipEngine& zip, controls::ContentsList& lista, std::function<void()> alBorrar,
           ui::Form& principal);

    ui::RadioGroup opc;
    ui::ToolBar ToolBar1;
    ui::ToolButton ToolButton1;
    ui::ToolButton ToolButton2;

    void ToolButton1Click();
    void ToolButton2Click();
    void FormClose();
    // The English captions, from the text table.
    void PonIdioma(const util::TextLines& ingles);

private:
    TZipEngine& zip_;
    controls::ContentsList& lista_;
    std::function<void()> alBorrar_;
    ui::Form& principal_;
};

extern Tborra* borra;
