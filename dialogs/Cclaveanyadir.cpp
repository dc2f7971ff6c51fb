#include "dialogs/Cclaveanyadir.h"

#include "dialogs/DialogDesign.h"

Tclaveanyadir* claveAnyadir = nullptr;

namespace {
constexpr int kAes = 0;
constexpr int kCompatible = 1;
} // namespace

Tclaveanyadir::Tclaveanyadir(const int& idioma)
    : ui::Form(DialogDesign("Tclaveanyadir", "Contraseña para añadir", 340, 290, -11)),
      idioma_(idioma) {
    const ui::FontDesign& font = FontOf();
    const HWND w = Handle();
    etiqueta1.Create(w, {.left = 12, .top = 12, .width = 120, .height = 16, .font = font});
    clave1.Create(
        w, {.left = 136, .top = 10, .width = 180, .height = 21, .font = font, .password = true});
    etiqueta2.Create(w, {.left = 12, .top = 42, .width = 120, .height = 16, .font = font});
    clave2.Create(
        w, {.left = 136, .top = 40, .width = 180, .height = 21, .font = font, .password = true});
    tipo.Create(w, {.left = 12,
                    .top = 70,
                    .width = 304,
                    .height = 64,
                    .caption = "Cifrado",
                    .items = {"AES-256", "Compatible (ZipCrypto)"},
                    .itemIndex = kAes,
                    .font = font});
    nota.Create(
        w, {.left = 12, .top = 140, .width = 304, .height = 44, .font = font, .wordWrap = true});
    aviso.Create(w, {.left = 12,
                     .top = 188,
                     .width = 304,
                     .height = 16,
                     .font = font,
                     .textColor = RGB(192, 0, 0)});
    Aceptar.Create(w, {.left = 160, .top = 214, .width = 75, .height = 25, .font = font});
    Cancelar.Create(w, {.left = 241, .top = 214, .width = 75, .height = 25, .font = font});
    SetTabOrder({&clave1, &clave2, &tipo, &Aceptar, &Cancelar});
    FocusFirstOnShow(); // the password is typed at once
    Aceptar.OnClick = [this] { AceptarClick(); };
    Cancelar.OnClick = [this] { Close(); };
    OnEnterKey = Aceptar.OnClick;
    OnEscapeKey = Cancelar.OnClick;
}

bool Tclaveanyadir::Pide(std::string& clave, TZipEngine::Encryption& cifrado) {
    const bool es = idioma_ == 1;
    SetCaption(es ? "Contraseña para añadir" : "Password for adding");
    etiqueta1.SetCaption(es ? "Contraseña:" : "Password:");
    etiqueta2.SetCaption(es ? "Repítela:" : "Once more:");
    tipo.SetCaption(es ? "Cifrado" : "Encryption");
    nota.SetCaption(es ? "Las carpetas comprimidas de Windows y las herramientas antiguas solo "
                         "abren el tipo compatible. Vacía, no se cifra."
                       : "Windows' own zip folders and old tools open only the compatible "
                         "kind. Left empty, nothing is encrypted.");
    Aceptar.SetCaption(es ? "Aceptar" : "OK");
    Cancelar.SetCaption(es ? "Cancelar" : "Cancel");
    aviso.SetCaption("");
    clave1.SetText(clave);
    clave2.SetText(clave);
    tipo.SetItemIndex(cifrado == TZipEngine::Encryption::Traditional ? kCompatible : kAes);
    aceptado_ = false;
    ShowModal();
    if (!aceptado_) {
        return false;
    }
    clave = clave1.Text();
    cifrado = tipo.ItemIndex() == kCompatible ? TZipEngine::Encryption::Traditional
                                              : TZipEngine::Encryption::Aes256;
    return true;
}

void Tclaveanyadir::AceptarClick() {
    if (clave1.Text() != clave2.Text()) {
        aviso.SetCaption(idioma_ == 1 ? "Las dos contraseñas no coinciden."
                                      : "The two passwords differ.");
        return;
    }
    aceptado_ = true;
    Close();
}
