// Adding files, deleting entries and viewing an entry of the current archive.

#include "main/Cprinc.h"

#include <shellapi.h>

#include <cstdio>
#include <utility>

#include "dialogs/Cborra.h"
#include "dialogs/Cclave.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Unit1.h"
#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/FmxUtils.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "platform/Shell.h"
#include "platform/win32/WidePath.h"
#include "resources/CommandTexts.h"
#include "resources/Notices.h"
#include "resources/TextTable.h"
#include "util/Codepage.h"
#include "zipformat/EntryPaths.h"

// Where a view's copy lands: the temporary folder and the name the extraction library
// gives the entry without its folders.
std::string TPRINCIPAL::CopiaDeVista(const std::string& nombreLegible) const {
    const auto salida = zipfmt::SafeOutputPath(nombreLegible, false);
    const std::string hoja =
        salida && !salida->leaf.empty() ? salida->leaf : DimeSinPath(nombreLegible);
    return platform::AnsiPath(platform::WidenUtf8(util::Cp1252ToUtf8(carpetaDeVistas_) + hoja));
}

// Copies go to a folder this run made for itself inside the temporary folder, so that
// a view never replaces a user's file of the same name there; leaving the program
// removes it. When the temporary folder refuses, the system's own takes its place.
const std::string& TPRINCIPAL::CarpetaDeVistas() {
    if (!carpetaDeVistas_.empty() && platform::DirectoryExists(carpetaDeVistas_)) {
        return carpetaDeVistas_;
    }
    carpetaDeVistas_.clear();
    char sistema[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH + 1, sistema);
    const std::string nombre = "Tarvox-vistas-" + std::to_string(::GetCurrentProcessId());
    for (const std::string& base : {Datos.DirTemporal, std::string(sistema)}) {
        for (int intento = 0; intento < 100 && !base.empty(); ++intento) {
            std::string carpeta = base + nombre;
            if (intento > 0) {
                carpeta += '-';
                carpeta += std::to_string(intento);
            }
            if (::CreateDirectoryA(carpeta.c_str(), nullptr)) {
                carpetaDeVistas_ = carpeta + "\\";
                return carpetaDeVistas_;
            }
            if (::GetLastError() != ERROR_ALREADY_EXISTS) {
                break; // a folder of that name is someone else's: never used
            }
        }
    }
    return carpetaDeVistas_;
}

void TPRINCIPAL::BanyadirClick() {
    Anyadir_Archivos();
}

void TPRINCIPAL::Anyadir_Archivos() {
    if (!anyadir.Execute(Handle())) {
        return;
    }
    AnyadeVarios(anyadir.Files());
}

void TPRINCIPAL::AnyadeVarios(const std::vector<std::string>& ficheros) {
    // What the runs could not add shows in one box when the series ends.
    struct Retenidos {
        TPRINCIPAL& w;
        ~Retenidos() { w.RetieneFallos(false); }
    } retenidos{*this};
    RetieneFallos(true);
    int anyadidos = 0;
    for (const std::string& fichero : ficheros) {
        // A run that stops leaves the archive as it was before it: the file at work is
        // not added, and no later one starts.
        const bool entero = Anyade(fichero);
        anyadidos += zip.ResultCount() > 0 ? 1 : 0;
        if (!entero) {
            char texto[96];
            std::snprintf(texto, sizeof texto, resources::kCancelledAdded.In(Datos.Idioma),
                          anyadidos, static_cast<int>(ficheros.size()));
            estado.SetPanelText(1, texto); // where the file at work was
            break;
        }
    }
    MuestraFallos();
}

bool TPRINCIPAL::Anyade(const std::string& fichero) {
    zip.FSpecArgs.assign(1, fichero);
    cancelada_ = false;
    anyadiendo_ = fichero;
    const Trabajando mientras(*this);
    // The password for adding stands in for the one read with only for this add.
    const std::string leida = zip.Password();
    const AddOpts opciones = zip.AddOptions;
    if (!claveAnyadir_.empty()) {
        zip.SetPassword(claveAnyadir_);
        zip.AddEncryption = cifrado_;
        zip.AddOptions.Include(AddOptsEnum::AddEncrypt);
    }
    struct Restaura {
        TZipEngine& zip;
        const std::string& leida;
        AddOpts opciones;
        std::string& anyadiendo;
        ~Restaura() {
            zip.SetPassword(leida);
            zip.AddOptions = opciones;
            anyadiendo.clear();
        }
    } restaura{zip, leida, opciones, anyadiendo_};
    zip.AddFiles();
    return !cancelada_;
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
    AnyadeVarios(nombres);
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
    const std::string legible = entrada->ShownName();
    if (CarpetaDeVistas().empty()) {
        const bool english = Datos.Idioma != 1;
        platform::ShowMessage(
            resources::BoxText(resources::NoticeText(resources::Notice::NoViewFolder, english),
                               {Datos.DirTemporal}, english));
        return;
    }
    {
        const Trabajando mientras(*this);
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
    ExtraeEn({nombre}, CarpetaDeVistas(), {ExtrOptsEnum::ExtrOverWrite});
}

void TPRINCIPAL::ExtraeEn(const std::vector<std::string>& nombres, const std::string& carpeta,
                          ExtrOpts opciones) {
    zip.FSpecArgs = nombres;
    zip.ExtrBaseDir = carpeta;
    // A view's or a drag's copy is no extraction into the user's folders: the status bar
    // keeps what it said, and the extract dialog's options come back.
    const TOperationEndEvent fin = std::exchange(zip.OnOperationEnd, nullptr);
    struct Restaura {
        TZipEngine& zip;
        ExtrOpts opciones;
        const TOperationEndEvent& fin;
        ~Restaura() {
            zip.ExtrOptions = opciones;
            zip.OnOperationEnd = fin;
        }
    } restaura{zip, std::exchange(zip.ExtrOptions, opciones), fin};
    ExtraeConClave(zip, *pideClave, false);
}
