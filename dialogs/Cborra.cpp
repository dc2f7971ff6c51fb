#include "dialogs/Cborra.h"

#include "dialogs/DialogDesign.h"
#include "platform/Messages.h"
#include "resources/Notices.h"
#include "resources/TextTable.h"

Tborra* borra = nullptr;

namespace {
constexpr int kTodos = 0;
constexpr int kSoloSeleccionados = 1;
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
    bar.tabThroughButtons = true;
    ToolBar1.Create(Handle(), bar, {&ToolButton1, &ToolButton2});
    SetTabOrder({&opc, &ToolBar1});
    // Rows selected are what a delete is for: a press of Enter deletes them, never all.
    OnShow = [this] { opc.SetItemIndex(lista_.SelectedCount() > 0 ? kSoloSeleccionados : kTodos); };
    FocusFirstOnShow();
    ToolButton1.OnClick = [this] { ToolButton1Click(); };
    ToolButton2.OnClick = [this] { ToolButton2Click(); };
    OnEnterKey = [this] { ToolButton1Click(); };
    OnEscapeKey = [this] { ToolButton2Click(); };
    OnClose = [this] { FormClose(); };
}

void Tborra::ToolButton1Click() {
    const bool todos = opc.ItemIndex() == kTodos;
    std::vector<std::string> nombres;
    if (todos) {
        // Emptying the archive is asked first, with "No" the answer Enter gives; the
        // dialog stays for another choice.
        if (lista_.Count() > 0 &&
            !Pregunta(resources::NoticeText(resources::Notice::ConfirmDeleteAll, Ingles,
                                            lista_.Count()))) {
            return;
        }
        nombres.reserve(static_cast<std::size_t>(lista_.Count()));
        for (int fila = 0; fila < lista_.Count(); ++fila) {
            nombres.push_back(lista_.StoredName(fila));
        }
    } else {
        nombres = lista_.SelectedStoredNames();
        if (nombres.empty()) {
            platform::ShowMessage(
                resources::NoticeText(resources::Notice::NothingSelected, Ingles));
            return;
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
    zip_.FSpecArgs = std::move(nombres);
    zip_.DeleteFiles();
}

bool Tborra::Pregunta(const std::string& texto) {
    platform::MessageBoxRequest pregunta;
    pregunta.text = texto;
    pregunta.caption = platform::ApplicationTitle();
    pregunta.owner = reinterpret_cast<std::uintptr_t>(Handle());
    pregunta.style = platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2;
    return platform::ShowMessageBox(pregunta) == platform::kIdYes;
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
