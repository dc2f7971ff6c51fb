#pragma once
// The password for adding: typed twice, with the choice of AES-256 or the compatible
// encryption that Windows' own zip folders and old tools read. Accepted empty, it
// clears the password, and adds no longer encrypt.

#include <string>

#include "engine/ZipEngine.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/RadioGroup.h"

class Tclaveanyadir : public ui::Form {
public:
    explicit Tclaveanyadir(const int& idioma);

    ui::Label etiqueta1, etiqueta2, nota, aviso;
    ui::Edit clave1, clave2;
    ui::RadioGroup tipo;
    ui::Button Aceptar, Cancelar;

    // Shows the dialog over what is in force; true when it was accepted (clave empty:
    // no encryption).
    bool Pide(std::string& clave, TZipEngine::Encryption& cifrado);

private:
    void AceptarClick();

    const int& idioma_;
    bool aceptado_ = false;
};

extern Tclaveanyadir* claveAnyadir;
