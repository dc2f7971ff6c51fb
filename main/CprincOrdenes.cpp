// The main window's commands: which control runs which handler, and when each is enabled.

#include "main/Cprinc.h"

#include <shellapi.h>

namespace {

using Estado = TPRINCIPAL::EstadoOrdenes;

bool Siempre(const Estado&) {
    return true;
}

bool ConArchivo(const Estado& e) {
    return e.archivoAbierto && !e.ocupado;
}

bool BorrarOfrecido(const Estado& e) {
    return ConArchivo(e) && e.borrarOfrecido;
}

bool ConEntradas(const Estado& e) {
    return ConArchivo(e) && e.entradas > 0;
}

bool VerOfrecido(const Estado& e) {
    return ConArchivo(e) && e.verOfrecido;
}

template <typename Control> void Habilita(Control* control, bool on) {
    // Menu items redraw the menu bar on every change: only real changes reach them.
    if (control != nullptr && control->Enabled() != on) {
        control->SetEnabled(on);
    }
}

} // namespace

void TPRINCIPAL::CreateCommands() {
    using T = TPRINCIPAL;
    comandos_ = {
        {Orden::Nuevo, &Bnuevo, &Mnuevo, nullptr, &T::BnuevoClick, &T::MnuevoClick, Siempre},
        {Orden::Abrir, &Babrir, &Mabrir, nullptr, &T::BabrirClick, &T::MabrirClick, Siempre},
        {Orden::Cerrar, &Bcerrar, &Mcerrar, nullptr, &T::BcerrarClick, &T::McerrarClick,
         ConArchivo},
        {Orden::Comprobar, nullptr, &Mcomprobar, &Fcomprobar, nullptr, &T::McomprobarClick,
         ConEntradas},
        {Orden::Ver, &Bver, nullptr, &Fver, &T::BverClick, nullptr, VerOfrecido},
        {Orden::Anyadir, &Banyadir, nullptr, nullptr, &T::BanyadirClick, nullptr, ConArchivo},
        {Orden::Borrar, &Bborrar, nullptr, &Fborrar, &T::BborrarClick, nullptr, BorrarOfrecido},
        {Orden::Extraer, &Bextraer, nullptr, &Fextraer, &T::BextraerClick, nullptr, ConArchivo},
        {Orden::Salir, &Bsalir, &Msalir, nullptr, &T::BsalirClick, &T::MsalirClick, Siempre},
        {Orden::ClaveAnyadir, nullptr, &Mclave, nullptr, nullptr, &T::MclaveClick, Siempre},
    };
    for (const Comando& c : comandos_) {
        if (c.boton != nullptr) {
            c.boton->OnClick = [this, f = c.botonClick] { (this->*f)(); };
        }
        if (c.item != nullptr) {
            c.item->OnClick = [this, f = c.itemClick] { (this->*f)(); };
        }
        if (c.fila != nullptr) {
            c.fila->OnClick = [this, f = c.itemClick ? c.itemClick : c.botonClick] {
                (this->*f)();
            };
        }
    }
}

bool TPRINCIPAL::Habilitada(Orden id) const {
    for (const Comando& c : comandos_) {
        if (c.id == id) {
            return c.habilitada(estado_);
        }
    }
    return false;
}

void TPRINCIPAL::UpdateCommands() {
    estado_.entradas = zip.EntryCount();
    estado_.seleccionadas = lista.SelectedCount();
    for (const Comando& c : comandos_) {
        const bool on = c.habilitada(estado_);
        Habilita(c.boton, on);
        Habilita(c.item, on);
        Habilita(c.fila, on);
    }
    // Dropped files are added to the current archive, but not its own entries.
    ::DragAcceptFiles(Handle(), estado_.archivoAbierto && !arrastrando_ ? TRUE : FALSE);
}

void TPRINCIPAL::listaContextMenu(int row, POINT screen) {
    if (row < 0 || estado_.ocupado) {
        return;
    }
    UpdateCommands();
    menu_filas.Show(screen);
}

void TPRINCIPAL::OlvidaVista() {
    estado_.verOfrecido = false;
    UpdateCommands();
}

void TPRINCIPAL::Ocupado(bool ocupado) {
    estado_.ocupado = ocupado;
    SetEnabled(!ocupado);
    UpdateCommands();
}
