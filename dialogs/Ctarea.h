#pragma once
// The small window of one job that the shell asked for: what it does, the file at work
// with its percentage, and "Cancelar".

#include <functional>
#include <string>

#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/ProgressBar.h"

class Ttarea : public ui::Form {
public:
    explicit Ttarea(int idioma);

    ui::Label accion;
    ui::Label fichero;
    ui::ProgressBar barra;
    ui::Label porcentaje;
    ui::Button Cancelar;

    // The file at work, and how much of the job is done.
    void Avanza(const std::string& nombre, int porcentajeHecho);

    // "Cancelar", Escape or the close box.
    std::function<void()> OnCancel;
};
