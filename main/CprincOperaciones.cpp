// Adding files, deleting entries and viewing an entry of the current archive.

#include "main/Cprinc.h"

#include <shellapi.h>

#include "dialogs/Cborra.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Unit1.h"
#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/FmxUtils.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "platform/win32/WidePath.h"
#include "resources/TextTable.h"
#include "util/Codepage.h"
#include "zipformat/EntryPaths.h"

namespace {

// The main window is enabled again, and its commands with it, however the engine run ends.
class Deshabilitada {
public:
    explicit Deshabilitada(TPRINCIPAL& form) : form_(form) { form_.Ocupado(true); }
    ~Deshabilitada() { form_.Ocupado(false); }
    Deshabilitada(const Deshabilitada&) = delete;
    Deshabilitada& operator=(const Deshabilitada&) = delete;

private:
    TPRINCIPAL& form_;
};

} // namespace

// Where a view's copy lands: the temporary folder and the name the extraction library
// gives the entry without its folders.
std::string TPRINCIPAL::CopiaDeVista(const std::string& nombreLegible) const {
    const auto salida = zipfmt::SafeOutputPath(nombreLegible, false);
    const std::string hoja =
        salida && !salida->leaf.empty() ? salida->leaf : DimeSinPath(nombreLegible);
    return platform::AnsiPath(platform::WidenUtf8(util::Cp1252ToUtf8(Datos.DirTemporal) + hoja));
}

void TPRINCIPAL::BanyadirClick() {
    Anyadir_Archivos();
}

void TPRINCIPAL::Anyadir_Archivos() {
    if (!anyadir.Execute(Handle())) {
        return;
    }
    const std::vector<std::string> elegidos = anyadir.Files();
    for (const std::string& fichero : elegidos) {
        Anyade(fichero);
    }
}

void TPRINCIPAL::Anyade(const std::string& fichero) {
    zip.FSpecArgs.push_back(fichero);
    Deshabilitada mientras(*this);
    zip.AddFiles();
}

void TPRINCIPAL::Recoge(HDROP soltados) {
    // Every name is taken before the first add, so that the drop is released even when
    // an add fails. Names go whole: one cut short could name another file.
    std::vector<std::string> nombres;
    const UINT cuantos = ::DragQueryFileW(soltados, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < cuantos; ++i) {
        std::wstring nombre(::DragQueryFileW(soltados, i, nullptr, 0), L'\0');
        ::DragQueryFileW(soltados, i, nombre.data(), static_cast<UINT>(nombre.size() + 1));
        nombres.push_back(platform::AnsiPath(nombre));
    }
    ::DragFinish(soltados);
    for (const std::string& nombre : nombres) {
        Anyade(nombre);
    }
}

void TPRINCIPAL::BextraerClick() {
    descompri->ShowModal();
}

void TPRINCIPAL::BborrarClick() {
    borra->ShowModal();
}

void TPRINCIPAL::BverClick() {
    const std::vector<int> filas = lista.SelectedRows();
    if (!filas.empty()) {
        Mostrar_Archivo(filas.front());
    }
}

void TPRINCIPAL::listaDblClick() {
    BverClick();
}

void TPRINCIPAL::Mostrar_Archivo(int fila) {
    const ZipDirEntry* entrada = lista.Entry(fila);
    if (entrada == nullptr) {
        return;
    }
    // Copied: the row's entry belongs to the engine.
    const std::string nombre = entrada->FileName;
    const std::string legible = entrada->ShownName;
    {
        Deshabilitada mientras(*this);
        Extraer_Archivo(nombre);
    }
    // The refusal has been shown: an older copy, or Notepad on a file that is not
    // there, would only mislead.
    if (zip.ResultCount() <= 0) {
        return;
    }
    const std::string copia = CopiaDeVista(legible);
    if (lista.SelectedCount() > 0) {
        platform::ShellExecuteRequest abrir;
        abrir.owner = reinterpret_cast<std::uintptr_t>(Form1->Handle());
        abrir.verb.emplace("open");
        abrir.file = copia;
        abrir.directory = std::string(".");
        abrir.showCommand = platform::kSwShow;
        if (static_cast<std::uintptr_t>(platform::ExecuteThroughShell(abrir)) <= 32) {
            platform::ShowMessage(ChooseText(ingles, Datos.Idioma, resources::kTextNoAssociation));
            platform::LaunchFile("notepad.exe", copia, ".", platform::kSwShowNormal);
        }
    }
    borrafil.Add(copia);
}

// A view always finds its copy: the entry is written straight into the temporary
// folder, over an older copy, whatever the extract dialog last asked for.
void TPRINCIPAL::Extraer_Archivo(const std::string& nombre) {
    zip.FSpecArgs.clear();
    zip.FSpecArgs.push_back(nombre);
    const ExtrOpts opciones = zip.ExtrOptions;
    zip.ExtrOptions = {ExtrOptsEnum::ExtrOverWrite};
    zip.ExtrBaseDir = Datos.DirTemporal;
    try {
        zip.ExtractFiles();
    } catch (...) {
        zip.ExtrOptions = opciones;
        throw;
    }
    zip.ExtrOptions = opciones;
}
