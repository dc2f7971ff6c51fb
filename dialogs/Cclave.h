#pragma once
// The password dialog: asked when an extraction, a view or a test finds entries it
// cannot open without a password, or with the one given. What it is given is kept by
// the engine (its Password) until the archive closes.

#include <optional>
#include <string>

#include "engine/ZipEngine.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"

class Tclave : public ui::Form {
public:
    // idioma: the program's language flag (1 Spanish), read at every showing.
    explicit Tclave(const int& idioma);

    ui::Label entrada;
    ui::Label aviso;
    ui::Edit clave;
    ui::Button Aceptar;
    ui::Button Cancelar;

    // Shows the dialog for the entry named; the password typed, or nothing on
    // "Cancelar". errada: the last password given did not open the entry.
    std::optional<std::string> Pide(const std::string& nombre, bool errada);

private:
    const int& idioma_;
    bool aceptado_ = false;
};

extern Tclave* pideClave;

// Runs zip's extraction (or test); the entries it refuses for want of the right
// password are not shown as refusals: the dialog asks for it and they are extracted
// again with it, until they open or the user gives up. informaSinClave: those given up
// on are then passed on to zip's handlers as refusals.
void ExtraeConClave(TZipEngine& zip, Tclave& dialogo, bool informaSinClave);
