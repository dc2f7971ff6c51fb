#pragma once
// The shared state that every window reads: folders, file paths, the language flag
// and the current archive. Texts are Windows-1252 bytes.

#include <string>

struct TEstadoGeneral {
    // Name of the file type ".zip" points at, and of the registry key of the program folder.
    std::string Titulo = "Tarvox";
    // Where the settings files are; ends in "\". Also the current directory after start-up.
    std::string DirPrograma;
    std::string FicheroConfig;  // DirPrograma + "conf.txm"
    std::string FicheroUltimos; // DirPrograma + "ult.txm"
    // Folders from settings lines 1 to 3: the file dialogs' start, viewing, extraction.
    std::string DirInicial;
    std::string DirTemporal;
    std::string DirExtraccion;
    // 1 Spanish, any other value English; 0 until the settings are first applied.
    int Idioma = 0;
    // Full path of the archive now open; empty when none.
    std::string ArchivoActual;
};

// The unit's globals, as a fresh process has them.
extern TEstadoGeneral Datos;

// The data module of the shared state: it holds no components and no handlers, and is
// created with the windows only so that the shared state is part of the program.
class TDatos_Generales {};
extern TDatos_Generales* Datos_Generales;
