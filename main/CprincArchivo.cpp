// The current archive: opening, creating and closing it, and the list of its entries.

#include "main/Cprinc.h"

#include <exception>
#include <shellapi.h>

#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/FileHandle.h"
#include "platform/FmxUtils.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "resources/TextTable.h"

void TPRINCIPAL::BabrirClick() {
    if (ABRE.Execute(Handle())) {
        Abrir_Archivo(ABRE.FileName());
    }
}

void TPRINCIPAL::MabrirClick() {
    BabrirClick();
}

void TPRINCIPAL::BnuevoClick() {
    Crear_archivo();
}

void TPRINCIPAL::MnuevoClick() {
    Crear_archivo();
}

void TPRINCIPAL::BcerrarClick() {
    Cerrar_Archivo();
}

void TPRINCIPAL::McerrarClick() {
    Cerrar_Archivo();
}

// When the archive cannot be read the engine keeps its name all the same: the window
// takes it as current too, so that the path shown, the list, the buttons and drops all
// describe the archive the engine works on; then the error is reported.
void TPRINCIPAL::Abrir_Archivo(const std::string& nombre) {
    if (!platform::FileExists(nombre)) {
        return;
    }
    CodificacionPara(nombre);
    std::exception_ptr fallo;
    zip.SetPassword("");
    try {
        zip.SetZipFilename(nombre);
    } catch (...) {
        fallo = std::current_exception();
        zipDirUpdate(zip);
    }
    Datos.ArchivoActual = zip.ZipFilename();
    estado_.archivoAbierto = true;
    estado_.borrarOfrecido = true;
    UpdateCommands();
    // What the engine noted of the file (one part of a split archive), in one box.
    MuestraFallos();
    if (fallo) {
        std::rethrow_exception(fallo);
    }
}

void TPRINCIPAL::Crear_archivo() {
    if (!nuevo.Execute(Handle())) {
        return;
    }
    std::string nombre = nuevo.FileName();
    if (platform::FileExists(nombre)) {
        platform::MessageBoxRequest pregunta;
        pregunta.text = "El archivo ya existe,¿desea abrirlo?";
        pregunta.caption = "tx40";
        pregunta.style = platform::kMbYesNo;
        if (platform::ShowMessageBox(pregunta) == platform::kIdYes) {
            Abrir_Archivo(nombre);
        }
        return;
    }
    nombre = ArchiveNameWithZip(nombre);
    // The name with ".zip" may be an archive already: it is opened, not shown empty.
    if (platform::FileExists(nombre)) {
        Abrir_Archivo(nombre);
        return;
    }
    CodificacionPara(nombre);
    zip.SetZipFilename(nombre);
    Datos.ArchivoActual = zip.ZipFilename();
    archivo.SetPanelText(0, zip.ZipFilename());
    lista.Clear();
    estado_.archivoAbierto = true;
    UpdateCommands();
}

void TPRINCIPAL::Cerrar_Archivo() {
    zip.SetPassword(""); // a password read with is kept only while its archive is open
    lista.Clear();
    estado_ = {};
    UpdateCommands();
    archivo.SetPanelText(0, "");
    CodificacionPara("");
    zip.SetZipFilename("");
    Anyadir_Ultimo(Datos.ArchivoActual);
    Datos.ArchivoActual.clear();
    ActualizaOpciones();
}

void TPRINCIPAL::zipDirUpdate(TZipEngine&) {
    estado.SetPanelText(1, "");
    estado.SetPanelText(0, TextoListo());
    archivo.SetPanelText(0, zip.ZipFilename());
    if (zip.EntryCount() == 0) {
        lista.Clear();
        UpdateCommands();
        return;
    }
    lista.Fill(zip.Entries());
    MuestraTamanyo();
    UpdateCommands();
}

void TPRINCIPAL::MuestraTamanyo() {
    estado.SetPanelText(1, zip.EntryCount() > 0
                               ? std::to_string(platform::FileSize64ByName(zip.ZipFilename())) +
                                     " bytes"
                               : std::string());
}

void TPRINCIPAL::listaSelectItem(int, bool) {
    estado_.verOfrecido = true;
    UpdateCommands();
}

void TPRINCIPAL::listaClick() {
    const int seleccionadas = lista.SelectedCount();
    if (seleccionadas >= 1) {
        estado_.borrarOfrecido = true;
    }
    estado_.verOfrecido = seleccionadas == 1;
    UpdateCommands();
}

std::string TPRINCIPAL::DimeSinPath(const std::string& ruta) {
    std::string resultado;
    for (const char c : ruta) {
        if (c == '\\' || c == '/') {
            resultado.clear();
        } else {
            resultado += c;
        }
    }
    return resultado;
}
