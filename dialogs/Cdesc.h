#pragma once
// The extract dialog: a destination picked in a folder tree, four options, and every entry
// of the main window's list or the selected ones.

#include <functional>
#include <string>

#include "controls/ContentsList.h"
#include "controls/ShellFolderTree.h"
#include "engine/ZipEngine.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/ImageList.h"
#include "ui/RadioGroup.h"
#include "ui/ToolBar.h"
#include "util/TextLines.h"

class Tdescompri : public ui::Form {
public:
    // What the dialog acts on: the main window's engine and list, the settings lines
    // (line 3 takes the folder on every close) and the extraction folder derived from
    // them, from which each showing starts.
    Tdescompri(TZipEngine& zip, controls::ContentsList& lista, util::TextLines& confi,
               const std::string& dirExtraccion);

    ui::Edit direk;
    ui::Button Button1;
    ui::ImageList imagenes;
    ui::ToolBar ToolBar1;
    ui::ToolButton ToolButton1;
    ui::ToolButton ToolButton2;
    ui::ToolButton ToolButton3;
    controls::ShellFolderTree dir;
    ui::GroupBox GroupBox1;
    ui::CheckBox c1, c2, c3, c4;
    ui::RadioGroup opc;

    void FormActivate();
    void ToolButton1Click();
    void Button1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void FormClose();
    void dirChange();
    void dirEditing(const std::string& text, bool& allow);
    void PonIdioma(const util::TextLines& ingles);

    // The language of the dialog's notices.
    bool Ingles = false;
    // The main window's box of failures: held back while the dialog extracts, then shown
    // once, under the dialog's own first line and caption when nothing was extracted.
    std::function<void(bool retener)> RetieneFallos;
    std::function<void(const std::string& cabecera, const std::string& titulo)> MuestraFallos;

private:
    TZipEngine& zip_;
    controls::ContentsList& lista_;
    util::TextLines& confi_;
    const std::string& dirExtraccion_;
    std::string ultimoEditado_;

    // Goes to the folder the field shows, making it first when it is not there: the
    // folder, or empty after saying why there is none.
    std::string VeACarpeta();
};

extern Tdescompri* descompri;
