#include "dialogs/Ctarea.h"

#include "dialogs/DialogDesign.h"
#include "resources/CommandTexts.h"

namespace {
constexpr int kWidth = 420, kHeight = 150;
} // namespace

Ttarea::Ttarea(int idioma) : ui::Form(DialogDesign("Ttarea", "Tarvox", kWidth, kHeight, -11)) {
    ui::LabelDesign linea;
    linea.left = 12;
    linea.width = kWidth - 36;
    linea.height = 16;
    linea.font = FontOf();
    linea.top = 10;
    accion.Create(Handle(), linea);
    linea.top = 30;
    linea.width = kWidth - 90;
    linea.pathEllipsis = true;
    fichero.Create(Handle(), linea);
    linea.pathEllipsis = false;
    linea.left = kWidth - 70;
    linea.width = 46;
    porcentaje.Create(Handle(), linea);
    barra.Create(Handle(), {.left = 12, .top = 50, .width = kWidth - 36, .height = 16});
    Cancelar.Create(Handle(), {.left = kWidth / 2 - 45,
                               .top = 76,
                               .width = 90,
                               .height = 25,
                               .caption = resources::kCancelJob.In(idioma),
                               .font = FontOf()});
    SetTabOrder({&Cancelar});
    const auto cancela = [this] {
        if (OnCancel) {
            OnCancel();
        }
    };
    Cancelar.OnClick = cancela;
    OnEscapeKey = cancela;
    OnCloseQuery = [cancela](bool& canClose) {
        canClose = false;
        cancela();
    };
}

void Ttarea::Avanza(const std::string& nombre, int porcentajeHecho) {
    if (fichero.Caption() != nombre) {
        fichero.SetCaption(nombre);
    }
    const std::string texto = std::to_string(porcentajeHecho) + "%";
    if (porcentaje.Caption() != texto) {
        porcentaje.SetCaption(texto);
        barra.SetPosition(porcentajeHecho);
    }
}
