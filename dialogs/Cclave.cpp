#include "dialogs/Cclave.h"

#include <algorithm>
#include <vector>

#include "dialogs/DialogDesign.h"
#include "engineapi/CallBlocks.h"
#include "util/Codepage.h"

Tclave* pideClave = nullptr;

namespace {

// The stored names of the entries the library named (in Windows-1252, as it reports
// them) among the archive's.
std::vector<std::string> NombresGuardados(const TZipEngine& zip,
                                          const std::vector<std::string>& mostrados) {
    std::vector<std::string> guardados;
    for (const ZipDirEntry& e : zip.Entries()) {
        const std::string mostrado = util::Utf8ToCp1252Lossy(e.ShownName());
        if (std::find(mostrados.begin(), mostrados.end(), mostrado) != mostrados.end()) {
            guardados.push_back(e.FileName);
        }
    }
    return guardados;
}

} // namespace

Tclave::Tclave(const int& idioma)
    : ui::Form(DialogDesign("Tclave", "Contraseña", 320, 170, -11)), idioma_(idioma) {
    const ui::FontDesign& font = FontOf();
    entrada.Create(
        Handle(),
        {.left = 12, .top = 10, .width = 290, .height = 30, .font = font, .wordWrap = true});
    aviso.Create(Handle(), {.left = 12,
                            .top = 42,
                            .width = 290,
                            .height = 16,
                            .font = font,
                            .textColor = RGB(192, 0, 0)});
    clave.Create(
        Handle(),
        {.left = 12, .top = 62, .width = 290, .height = 21, .font = font, .password = true});
    Aceptar.Create(Handle(), {.left = 144, .top = 100, .width = 75, .height = 25, .font = font});
    Cancelar.Create(Handle(), {.left = 227, .top = 100, .width = 75, .height = 25, .font = font});
    SetTabOrder({&clave, &Aceptar, &Cancelar});
    Aceptar.OnClick = [this] {
        aceptado_ = true;
        Close();
    };
    Cancelar.OnClick = [this] { Close(); };
}

std::optional<std::string> Tclave::Pide(const std::string& nombre, bool errada) {
    const bool espanyol = idioma_ == 1;
    SetCaption(espanyol ? "Contraseña" : "Password");
    Aceptar.SetCaption(espanyol ? "Aceptar" : "OK");
    Cancelar.SetCaption(espanyol ? "Cancelar" : "Cancel");
    entrada.SetCaption((espanyol ? "Escribe la contraseña de " : "Type the password of ") + nombre);
    aviso.SetCaption(!errada    ? ""
                     : espanyol ? "La contraseña no es correcta."
                                : "The password is not right.");
    clave.SetText("");
    aceptado_ = false;
    ShowModal();
    if (!aceptado_) {
        return std::nullopt;
    }
    return clave.Text();
}

void ExtraeConClave(TZipEngine& zip, Tclave& dialogo, bool informaSinClave) {
    // The window's handlers hear everything but the refusals for a password.
    const TProgressEvent progreso = zip.OnProgress;
    const TMessageEvent mensaje = zip.OnMessage;
    std::string enCurso;
    std::vector<std::string> sinClave;
    std::vector<std::string> motivos;
    zip.OnProgress = [&](TZipEngine& z, ProgressType tipo, const std::string& nombre,
                         std::int32_t tamanyo) {
        if (tipo == ProgressType::ProgrFileStart) {
            enCurso = nombre;
        }
        if (progreso) {
            progreso(z, tipo, nombre, tamanyo);
        }
    };
    zip.OnMessage = [&](TZipEngine& z, std::int32_t codigo, const std::string& texto) {
        if (codigo == kErrPassword) {
            sinClave.push_back(enCurso);
            motivos.push_back(texto);
        } else if (mensaje) {
            mensaje(z, codigo, texto);
        }
    };
    struct Restaura {
        TZipEngine& zip;
        const TProgressEvent& progreso;
        const TMessageEvent& mensaje;
        ~Restaura() {
            zip.OnProgress = progreso;
            zip.OnMessage = mensaje;
        }
    } restaura{zip, progreso, mensaje};
    zip.ExtractFiles();
    while (!sinClave.empty()) {
        const auto clave = dialogo.Pide(sinClave.front(), !zip.Password().empty());
        if (!clave) {
            break;
        }
        zip.SetPassword(*clave);
        zip.FSpecArgs = NombresGuardados(zip, sinClave);
        if (zip.FSpecArgs.empty()) {
            break;
        }
        sinClave.clear();
        motivos.clear();
        zip.ExtractFiles();
    }
    zip.FSpecArgs.clear();
    // Given up on: the window hears of them as of any other refusal, in one more batch.
    if (informaSinClave && !sinClave.empty()) {
        for (std::size_t i = 0; i < sinClave.size(); ++i) {
            if (progreso) {
                progreso(zip, ProgressType::ProgrFileStart, sinClave[i], 0);
            }
            if (mensaje) {
                mensaje(zip, kErrPassword, motivos[i]);
            }
        }
        if (progreso) {
            progreso(zip, ProgressType::ProgrBatchEnd, "", 0);
        }
    }
}
