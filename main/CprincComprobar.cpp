// Testing the current archive: every entry inflated and checked by the library, and
// what is wrong shown entry by entry.

#include "main/Cprinc.h"

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
    {
        const Trabajando mientras(*this);
        zip.ExtractFiles();
    }
    Comprobador().Muestra(comprobacion_->comprobadas, std::move(comprobacion_->problemas),
                          Datos.Idioma);
}
