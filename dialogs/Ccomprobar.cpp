#include "dialogs/Ccomprobar.h"

#include <cstdio>
#include <set>

#include "dialogs/DialogDesign.h"
#include "platform/win32/WidePath.h"
#include "resources/CommandTexts.h"
#include "resources/Notices.h"

Tcomprobar* comprobar = nullptr;

namespace {
constexpr int kWidth = 520, kHeight = 340;
} // namespace

Tcomprobar::Tcomprobar()
    : ui::Form(DialogDesign("Tcomprobar", resources::kTestArchive.es, kWidth, kHeight, -11)),
      ToolButton1(TextButton(resources::kClose.es)) {
    ui::LabelDesign linea;
    linea.left = 8;
    linea.top = 8;
    linea.width = kWidth - 30;
    linea.height = 20;
    linea.font = FontOf();
    resumen.Create(Handle(), linea);
    ui::ListViewDesign lista;
    lista.left = 8;
    lista.top = 32;
    lista.width = kWidth - 30;
    lista.height = kHeight - 120;
    lista.columns = {{.caption = resources::kTestEntryColumn.es, .width = 200},
                     {.caption = resources::kTestProblemColumn.es, .autoSize = true}};
    lista.font = FontOf();
    lista.multiSelect = false;
    danyadas.Create(Handle(), lista);
    danyadas.SizeColumns();
    danyadas.OnCellText = [this](int row, int column) -> std::wstring {
        if (row < 0 || static_cast<std::size_t>(row) >= problemas_.size()) {
            return {};
        }
        const Problema& p = problemas_[static_cast<std::size_t>(row)];
        return platform::WidenAnsi(column == 0 ? p.entrada : p.motivo);
    };
    ui::ToolBarDesign bar;
    bar.left = kWidth / 2 - 40;
    bar.top = kHeight - 80;
    bar.width = 80;
    bar.height = 30;
    bar.buttonWidth = 72;
    bar.buttonHeight = 24;
    bar.font = FontOf();
    ToolBar1.Create(Handle(), bar, {&ToolButton1});
    SetTabOrder({&danyadas, &ToolBar1});
    ToolButton1.OnClick = [this] { Close(); };
    // Only "Cerrar" to press: Enter and Escape both close, as in a message box.
    OnEnterKey = ToolButton1.OnClick;
    OnEscapeKey = ToolButton1.OnClick;
}

void Tcomprobar::Rellena(int comprobadas, std::vector<Problema> problemas, int idioma) {
    SetCaption(resources::kTestArchive.In(idioma));
    danyadas.SetColumnCaption(0, resources::kTestEntryColumn.In(idioma));
    danyadas.SetColumnCaption(1, resources::kTestProblemColumn.In(idioma));
    ToolButton1.SetCaption(resources::kClose.In(idioma));
    problemas_ = std::move(problemas);
    char linea[160];
    if (problemas_.empty()) {
        if (comprobadas == 1) {
            std::snprintf(linea, sizeof linea, "%s", resources::kOneCorrect.In(idioma));
        } else {
            std::snprintf(linea, sizeof linea, resources::kAllCorrect.In(idioma), comprobadas);
        }
    } else {
        // An entry may have more than one thing wrong with it.
        std::set<std::string> entradas;
        for (const Problema& p : problemas_) {
            entradas.insert(p.entrada);
        }
        std::snprintf(linea, sizeof linea, resources::kDamaged.In(idioma),
                      static_cast<int>(entradas.size()), comprobadas);
    }
    resumen.SetCaption(linea);
    danyadas.SetCount(static_cast<int>(problemas_.size()));
    danyadas.SetVisible(!problemas_.empty());
}

void Tcomprobar::Muestra(int comprobadas, std::vector<Problema> problemas, int idioma) {
    Rellena(comprobadas, std::move(problemas), idioma);
    ShowModal();
}

Tcomprobar& Comprobador() {
    if (comprobar == nullptr) {
        comprobar = new Tcomprobar();
    }
    return *comprobar;
}

void Comprobacion::Empieza(const std::string& entrada) {
    entradaActual = entrada;
}

// Each message of the library names its entry first; the window shows it apart.
void Comprobacion::Anota(std::int32_t codigo, int idioma) {
    // Worded from the code, in the interface's language, as the failure boxes are.
    problemas.push_back(
        {entradaActual.empty() ? std::string(resources::kArchiveProblem.In(idioma)) : entradaActual,
         resources::ReasonText(codigo, idioma != 1)});
}
