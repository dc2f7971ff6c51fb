#include "dialogs/Cconfi.h"

#include <shellapi.h>

#include "dialogs/Cdirini.h"
#include "dialogs/DialogDesign.h"
#include "resources/TextTable.h"

Tconfig* config = nullptr;

namespace {
ui::FormDesign Design() {
    ui::FormDesign design = DialogDesign("Tconfig", "Configuración", 444, 319, -13);
    design.color = RGB(0, 128, 128); // teal
    return design;
}

ui::LabelDesign Etiqueta(int top, const char* caption) {
    ui::LabelDesign design;
    design.left = 16;
    design.top = top;
    design.width = 300;
    design.height = 24;
    design.caption = caption;
    design.font = {"MS Sans Serif", -20};
    return design;
}

// The shell's own folder picture, for the button that opens the folders dialog.
HICON FolderIcon() {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                     SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
    return info.hIcon;
}

// Fields that only the folders dialog fills.
ui::EditDesign Campo(int top) {
    ui::EditDesign design;
    design.left = 16;
    design.top = top;
    design.width = 300;
    design.height = 21;
    design.font = {"MS Sans Serif", -13};
    design.enabled = false;
    return design;
}
} // namespace

Tconfig::Tconfig(util::TextLines& confi, Tdirek& direk, std::function<void()> actualizaOpciones)
    : ui::Form(Design()), ToolButton3(TextButton("Ok")), ToolButton4(TextButton("Cancelar")),
      confi_(confi), direk_(direk), actualizaOpciones_(std::move(actualizaOpciones)) {
    Page.Create(Handle(), {.width = 436, .height = 246, .font = FontOf()}, {&TabSheet1});
    const HWND page = TabSheet1.Handle();
    Label2.Create(page, Etiqueta(24, "Directorio Inicial"));
    dirini.Create(page, Campo(52));
    Label1.Create(page, Etiqueta(100, "Directorio Temporal"));
    dirtem.Create(page, Campo(128));
    controls::ImageButtonDesign boton;
    boton.left = 336;
    boton.top = 16;
    boton.width = 75;
    boton.height = 161;
    boton.font = FontOf();
    boton.icon = FolderIcon();
    CoolBtn1.Create(page, boton);

    ui::ToolBarDesign bar;
    bar.left = 0;
    bar.top = 252;
    bar.width = 436;
    bar.height = 30;
    bar.buttonWidth = 61;
    bar.buttonHeight = 24;
    bar.font = FontOf();
    ToolBar2.Create(Handle(), bar, {&ToolButton3, &ToolButton4});

    SetTabOrder({&CoolBtn1, &ToolBar2});
    CoolBtn1.OnClick = [this] { CoolBtn1Click(); };
    ToolButton3.OnClick = [this] { ToolButton3Click(); };
    ToolButton4.OnClick = [this] { ToolButton4Click(); };
    // Filled on each showing only: coming back from the folders dialog keeps its answer.
    OnShow = [this] { FormActivate(); };
    direk_.EntregaA(dirini, dirtem);
}

void Tconfig::FormActivate() {
    dirini.SetText(confi_.Get(0));
    dirtem.SetText(confi_.Get(1));
}

void Tconfig::CoolBtn1Click() {
    direk_.ShowModal();
}

void Tconfig::ToolButton3Click() {
    confi_.Set(0, dirini.Text());
    confi_.Set(1, dirtem.Text());
    // A settings line that stops the application keeps the dialog open.
    actualizaOpciones_();
    Close();
}

void Tconfig::ToolButton4Click() {
    Close();
}

void Tconfig::PonIdioma(const util::TextLines& ingles) {
    using namespace resources;
    SetCaption(ingles.Get(kTextConfiguration));
    TabSheet1.SetCaption(ingles.Get(kTextFoldersPage));
    Label2.SetCaption(ingles.Get(kTextStartupFolder));
    Label1.SetCaption(ingles.Get(kTextTemporaryFolder));
    ToolButton4.SetCaption(ingles.Get(kTextCancel));
}
