#pragma once
// The outcome of testing an archive: each damaged entry with what is wrong with it, or
// one line saying that every entry is correct.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/ToolBar.h"

class Tcomprobar : public ui::Form {
public:
    Tcomprobar();

    struct Problema {
        std::string entrada; // as the engine names it; empty for the archive itself
        std::string motivo;
    };

    ui::Label resumen;
    ui::ListView danyadas;
    ui::ToolBar ToolBar1;
    ui::ToolButton ToolButton1;

    // Fills the window, captions included, for a test of that many entries in the
    // language given, and shows it modally.
    void Muestra(int comprobadas, std::vector<Problema> problemas, int idioma);
    // Fills it without showing it.
    void Rellena(int comprobadas, std::vector<Problema> problemas, int idioma);

private:
    std::vector<Problema> problemas_;
};

// What a test run tells, gathered as the engine tells it.
struct Comprobacion {
    bool cancelada = false; // stopped by the user: nothing to show
    std::string entradaActual;
    std::vector<Tcomprobar::Problema> problemas;

    // The engine starts on an entry.
    void Empieza(const std::string& entrada);
    // The engine reports a failure of the entry at work, or of the archive before any.
    void Anota(std::int32_t codigo, int idioma);
};

// Made when first needed: most runs never test an archive.
extern Tcomprobar* comprobar;
Tcomprobar& Comprobador();
