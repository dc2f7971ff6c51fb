#include "dialogs/Cdirini.h"

#include "dialogs/DialogDesign.h"
#include "resources/TextTable.h"

Tdirek* direk = nullptr;

namespace {
ui::LabelDesign Etiqueta(int top, const char* caption) {
    ui::LabelDesign design;
    design.left = 8;
    design.top = top;
    design.width = 200;
    design.height = 20;
    design.caption = caption;
    design.font = {.name = "MS Sans Serif", .height = -15, .bold = true};
    return design;
}

ui::EditDesign Campo(int top, bool enabled) {
    ui::EditDesign design;
    design.left = 8;
    design.top = top;
    design.width = 400;
    design.height = 21;
    design.font = {"MS Sans Serif", -13};
    design.readOnly = true;
    design.enabled = enabled;
    return design;
}

ui::ButtonDesign Opcion(int top, const char* caption, bool checked) {
    ui::ButtonDesign design;
    design.left = 8;
    design.top = top;
    design.width = 300;
    design.height = 26;
    design.caption = caption;
    design.font = {.name = "MS Sans Serif", .height = -20, .bold = true};
    design.checked = checked;
    return design;
}
} // namespace

Tdirek::Tdirek()
    : ui::Form(DialogDesign("Tdirek", "Directorios", 424, 438, -13)),
      ToolButton1(TextButton("    Ok ")), ToolButton2(TextButton("Cancelar")) {
    Label2.Create(Handle(), Etiqueta(4, "Inicial"));
    dirini.Create(Handle(), Campo(26, true));
    Label1.Create(Handle(), Etiqueta(52, "Temporal"));
    dirtem.Create(Handle(), Campo(74, false));
    ct.Create(Handle(), Opcion(100, "Directorio Temporal", false));
    ci.Create(Handle(), Opcion(126, "Directorio Inicial", true));
    controls::ShellFolderTreeDesign tree;
    tree.left = 12;
    tree.top = 156;
    tree.width = 385;
    tree.height = 193;
    tree.indent = 19;
    tree.font = FontOf();
    tree.oleDrag = true;
    tree.oleDrop = true;
    dir.Create(Handle(), tree);
    ui::ToolBarDesign bar;
    bar.left = 0;
    bar.top = 364;
    bar.width = 416;
    bar.height = 30;
    bar.buttonWidth = 61;
    bar.buttonHeight = 24;
    bar.font = FontOf();
    bar.tabThroughButtons = true;
    ToolBar1.Create(Handle(), bar, {&ToolButton1, &ToolButton2});

    SetTabOrder({&dirini, &dirtem, &ct, &ci, &dir, &ToolBar1});
    ci.OnClick = [this] { ciClick(); };
    ct.OnClick = [this] { ctClick(); };
    dir.OnChange = [this] { dirChange(); };
    ToolButton1.OnClick = [this] { ToolButton1Click(); };
    ToolButton2.OnClick = [this] { ToolButton2Click(); };
    OnEnterKey = [this] { ToolButton1Click(); };
    OnEscapeKey = [this] { ToolButton2Click(); };
    OnShow = [this] { FormActivate(); };
    OnClose = [this] { FormClose(); };
}

// The tree moves first, so that what its selection changes wrote is replaced.
void Tdirek::FormActivate() {
    dir.Watch(true);
    dir.SetPath(iniConfig_->Text());
    dir.Refresh();
    dirtem.SetText(temConfig_->Text());
    dirini.SetText(iniConfig_->Text());
}

void Tdirek::ciClick() {
    dirtem.SetEnabled(false);
    dirini.SetEnabled(true);
}

void Tdirek::ctClick() {
    dirini.SetEnabled(false);
    dirtem.SetEnabled(true);
}

void Tdirek::dirChange() {
    (ct.Checked() ? dirtem : dirini).SetText(dir.Path());
}

void Tdirek::ToolButton1Click() {
    iniConfig_->SetText(dirini.Text());
    temConfig_->SetText(dirtem.Text());
    Close();
}

void Tdirek::ToolButton2Click() {
    Close();
}

void Tdirek::FormClose() {
    dir.Watch(false);
}

void Tdirek::EntregaA(ui::Edit& iniConfig, ui::Edit& temConfig) {
    iniConfig_ = &iniConfig;
    temConfig_ = &temConfig;
}

void Tdirek::PonIdioma(const util::TextLines& ingles) {
    using namespace resources;
    Label1.SetCaption(ingles.Get(kTextTemporaryFolder));
    Label2.SetCaption(ingles.Get(kTextStartupFolder));
    ci.SetCaption(ingles.Get(kTextStartupFolder));
    ct.SetCaption(ingles.Get(kTextTemporaryFolder));
    ToolButton2.SetCaption(ingles.Get(kTextFoldersCancel));
}
