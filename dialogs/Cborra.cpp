#include "dialogs/Cborra.h"

#include "dialogs/DialogDesign.h"
#include "resources/TextTable.h"

Tborra* borra = nullptr;

namespace {
constexpr int kTodos = 0;
} // namespace

Tborra::Tborra(TZipEngine& zip, controls::ContentsList& lista, std::function<void()> alBorrar,
               ui::Form& principal)
    : ui::Form(DialogDesign("Tborra", "borra", 252, 197, -10)), ToolButton1(TextButton("Borrar")),
      ToolButton2(TextButton("Cancelar")), zip_(zip), lista_(lista), alBorrar_(std::move(alBorrar)),
      principal_(principal) {
    ui::RadioGroupDesign choice;
    choice.left = 0;
    choice.top = 1;
    choice.width = 189;
    choice.height = 105;
    choice.caption = "Borrar los archivos...";
    choice.items = {"Todos", "Solo Seleccionados"};
    choice.itemIndex = kTodos;
    choice.font = FontOf();
    opc.Create(Handle(), choice);
    ui::ToolBarDesign bar;
    bar.left = 32;
    bar.top = 128;
    bar.width = 161;
    bar.height = 33;
    bar.buttonWidth = 49;
    bar.buttonHeight = 21;
    bar.font = FontOf();
    ToolBar1.Create(Handle(), bar, {&ToolButton1, &ToolButton2});
    ToolButton1.OnClick = [this] { ToolButton1Click(); };
    ToolButton2.OnClick = [this] { ToolButton2Click(); };
    OnClose = [this] { FormClose(); };
}

void Tborra::ToolButton1Click() {
    zip_.FSpecArgs.clear();
    const bool todos = opc.ItemIndex() == kTodos;
    if (todos) {
        for (int fila = 0; fila < lista_.Count(); ++fila) {
            zip_.FSpecArgs.push_back(lista_.StoredName(fila));
        }
    } else {
        for (const int fila : lista_.SelectedRows()) {
            zip_.FSpecArgs.push_back(lista_.StoredName(fila));
        }
    }
    // The dialog closes whatever the outcome, also when re-reading the archive fails.
    struct AlTerminar {
        Tborra& dialogo;
        ~AlTerminar() {
            dialogo.alBorrar_();
            dialogo.Close();
        }
    } alTerminar{*this};
    if (todos || lista_.SelectedCount() > 0) {
        zip_.DeleteFiles();
    }
}

void Tborra::ToolButton2Click() {
    Close();
}

void Tborra::FormClose() {
    principal_.SetEnabled(true);
}

void Tborra::PonIdioma(const util::TextLines& ingles) {
    using namespace resources;
    opc.SetCaption(ingles.Get(kTextDeleteChoice));
    opc.SetItem(0, ingles.Get(kTextDeleteAll));
    opc.SetItem(1, ingles.Get(kTextDeleteSelected));
    ToolButton1.SetCaption(ingles.Get(kTextDeleteButton));
    ToolButton2.SetCaption(ingles.Get(kTextCancel));
}
