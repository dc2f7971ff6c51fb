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
        {Orden::Nuevo, &Bnuevo, &Mnuevo, &T::BnuevoClick, &T::MnuevoClick, Siempre},
        {Orden::Abrir, &Babrir, &Mabrir, &T::BabrirClick, &T::MabrirClick, Siempre},
        {Orden::Cerrar, &Bcerrar, &Mcerrar, &T::BcerrarClick, &T::McerrarClick, ConArchivo},
        {Orden::Comprobar, nullptr, &Mcomprobar, nullptr, &T::McomprobarClick, ConEntradas},
        {Orden::Ver, &Bver, nullptr, &T::BverClick, nullptr, VerOfrecido},
        {Orden::Anyadir, &Banyadir, nullptr, &T::BanyadirClick, nullptr, ConArchivo},
        {Orden::Borrar, &Bborrar, nullptr, &T::BborrarClick, nullptr, BorrarOfrecido},
        {Orden::Extraer, &Bextraer, nullptr, &T::BextraerClick, nullptr, ConArchivo},
        {Orden::Salir, &Bsalir, &Msalir, &T::BsalirClick, &T::MsalirClick, Siempre},
        {Orden::ClaveAnyadir, nullptr, &Mclave, nullptr, &T::MclaveClick, Siempre},
    };
    for (const Comando& c : comandos_) {
        if (c.boton != nullptr) {
            c.boton->OnClick = [this, f = c.botonClick] { (this->*f)(); };
        }
        if (c.item != nullptr) {
            c.item->OnClick = [this, f = c.itemClick] { (this->*f)(); };
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
    }
    // Dropped files are added to the current archive, but not its own entries.
    ::DragAcceptFiles(Handle(), estado_.archivoAbierto && !arrastrando_ ? TRUE : FALSE);
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
