// Testing the current archive: every entry inflated and checked by the library, and
// what is wrong shown entry by entry. Entries that want a password are asked for it.

#include "main/Cprinc.h"

#include "dialogs/Cclave.h"
#include "dialogs/Ccomprobar.h"
#include "main/Cdatos.h"

void TPRINCIPAL::McomprobarClick() {
    Comprobar_Archivo();
}

void TPRINCIPAL::Comprobar_Archivo() {
    zip.FSpecArgs.clear();
    const ExtrOpts opciones = zip.ExtrOptions;
    zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
    comprobacion_ = std::make_unique<Comprobacion>();
    struct AlTerminar {
        TPRINCIPAL& w;
        ExtrOpts opciones;
        ~AlTerminar() {
            w.zip.ExtrOptions = opciones;
            w.comprobacion_.reset();
        }
    } alTerminar{*this, opciones};
    Extraccion hecho;
    {
        const Trabajando mientras(*this);
        // Entries that want a password are tested again with the one the user gives;
        // those still locked when the user gives up are named as the library put it.
        hecho = ExtraeConClave(zip, *pideClave, true);
    }
    if (hecho.cancelada || comprobacion_->cancelada) {
        return; // the status bar says how far it got
    }
    Comprobador().Muestra(hecho.entradas, std::move(comprobacion_->problemas), Datos.Idioma);
}
