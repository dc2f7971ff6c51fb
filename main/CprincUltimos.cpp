// The recently closed archives at the end of the file menu.

#include "main/Cprinc.h"

#include "main/SettingsRules.h"

void TPRINCIPAL::Anyadir_Ultimo(const std::string& nombre) {
    if (AddRecentArchive(ultimos, nombre)) {
        ActualizaOpciones();
    }
}

void TPRINCIPAL::Quitar_Ultimo(const std::string& nombre) {
    RemoveRecentArchive(ultimos, nombre);
    // The refresh leaves the items alone when the list is empty: the last one goes here.
    ult1.SetVisible(false);
    ActualizaOpciones();
}

void TPRINCIPAL::AbreUltimo(ui::MenuItem& item) {
    // The entry leaves the list whether or not its archive could be opened.
    const std::string nombre = item.Caption();
    try {
        Abrir_Archivo(nombre);
    } catch (...) {
        Quitar_Ultimo(nombre);
        throw;
    }
    Quitar_Ultimo(nombre);
}

void TPRINCIPAL::ult1Click() {
    AbreUltimo(ult1);
}

void TPRINCIPAL::ult2Click() {
    AbreUltimo(ult2);
}

void TPRINCIPAL::ult3Click() {
    AbreUltimo(ult3);
}

void TPRINCIPAL::ult4Click() {
    AbreUltimo(ult4);
}
