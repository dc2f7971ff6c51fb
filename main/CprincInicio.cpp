// Start-up and exit of the main window.

#include "main/Cprinc.h"

#include <cstdio>
#include <filesystem>
#include <windows.h>

#include "dialogs/Cdesc.h"
#include "dialogs/Cinicio.h"
#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "main/TextFiles.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/win32/WidePath.h"
#include "ui/Guard.h"
#include "util/InOutError.h"

namespace {
// The cursor the window asks its resources for; the program carries none of that
// name, so the standard arrow stays.
const char kCursorName[] = "CURSOR1";
} // namespace

void TPRINCIPAL::FormCreate() {
    if (HCURSOR cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), kCursorName)) {
        ::SetClassLongPtrA(Handle(), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    }
    Parametros = ParseCommandLine(::GetCommandLineA());
}

void TPRINCIPAL::FormShow() {
    PrInicio();
}

void TPRINCIPAL::reloj_inicioTimer() {
    inicio->SetEnabled(false);
    inicio->Hide();
    // The first showing runs the start-up sequence to its end before this goes on.
    Show();
    reloj_inicio.SetEnabled(false);
}

void TPRINCIPAL::PrInicio() {
    estado.SetPanelText(3, "Ruvel Soft");
    Comprueba_Registro(); // sets the settings files' paths
    LoadTextFile(confi, Datos.FicheroConfig);
    LoadTextFile(ultimos, Datos.FicheroUltimos);
    ActualizaOpciones();
    EntregaParametros();
}

void TPRINCIPAL::Comprueba_Registro() {
    {
        platform::RegistryKey tipo(platform::RegistryRoot::ClassesRoot, ".zip");
        if (tipo.ReadString("") != Datos.Titulo) {
            platform::ShowMessage("Tarvox ha detectado que la asociación con ZIP no estaba "
                                  "activada y la ha activado");
            tipo.WriteString("", Datos.Titulo);
        }
    }
    platform::RegistryKey carpeta(platform::RegistryRoot::ClassesRoot, Datos.Titulo);
    carpeta.OpenSubKey("dir");
    Datos.DirPrograma = carpeta.ReadString("") + "\\";
    // Known from here on, so that exit writes both files into the program folder
    // even when a later step of start-up fails.
    FijaRutasDeFicheros();
    if (!::SetCurrentDirectoryA(Datos.DirPrograma.c_str())) {
        throw util::InOutError(static_cast<int>(::GetLastError()));
    }
}

void TPRINCIPAL::FijaRutasDeFicheros() {
    Datos.FicheroConfig = Datos.DirPrograma + "conf.txm";
    Datos.FicheroUltimos = Datos.DirPrograma + "ult.txm";
}

// The archive named first on the command line is opened; a second argument "0" goes
// straight to the extract dialog, whether or not anything was opened.
void TPRINCIPAL::EntregaParametros() {
    if (!Parametros.empty()) {
        Abrir_Archivo(Parametros[0]);
    }
    if (Parametros.size() >= 2 && Parametros[1] == "0") {
        descompri->ShowModal();
    }
}

void TPRINCIPAL::FormCloseQuery(bool&) {
    Salir();
}

void TPRINCIPAL::BsalirClick() {
    Salir();
}

void TPRINCIPAL::MsalirClick() {
    Salir();
}

void TPRINCIPAL::Salir() {
    Borrar_Temporales();
    // A file that cannot be written is reported, and the program still ends. When
    // start-up never learned the program folder there is no file to write.
    const auto save = [](const util::TextLines& lines, const std::string& path) {
        if (!path.empty()) {
            ui::Guarded([&] { SaveTextFile(lines, path); });
        }
    };
    save(ultimos, Datos.FicheroUltimos);
    save(confi, Datos.FicheroConfig);
    platform::EndProcess(0);
}

void TPRINCIPAL::Borrar_Temporales() {
    for (int i = 0; i < borrafil.Count(); ++i) {
        // Gone, in use or read-only: skipped without a word.
        std::remove(borrafil.Get(i).c_str());
    }
    // The views' own folder, with whatever a viewer left in it; this run made it.
    if (!carpetaDeVistas_.empty()) {
        // A view left the process inside it, and no system removes a current folder.
        const std::filesystem::path carpeta =
            std::filesystem::path(platform::WidenAnsi(carpetaDeVistas_)).parent_path();
        std::error_code ignorado;
        std::filesystem::current_path(carpeta.parent_path(), ignorado);
        std::filesystem::remove_all(carpeta, ignorado);
        carpetaDeVistas_.clear();
    }
}
