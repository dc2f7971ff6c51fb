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
    FocusFirstOnShow(); // the password is typed at once
    Aceptar.OnClick = [this] {
        aceptado_ = true;
        Close();
    };
    Cancelar.OnClick = [this] { Close(); };
    // A password is typed and sent with Enter, or given up with Escape.
    OnEnterKey = Aceptar.OnClick;
    OnEscapeKey = Cancelar.OnClick;
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

Extraccion ExtraeConClave(TZipEngine& zip, Tclave& dialogo, bool informaSinClave) {
    const TOperationEndEvent fin = zip.OnOperationEnd;
    Extraccion hecho;
    bool corrio = false;
    {
        // The window's handlers hear everything but the refusals for a password, and the
        // passes end as one operation, with what they did together.
        const TProgressEvent progreso = zip.OnProgress;
        const TMessageEvent mensaje = zip.OnMessage;
        struct Restaura {
            TZipEngine& zip;
            const TProgressEvent& progreso;
            const TMessageEvent& mensaje;
            const TOperationEndEvent& fin;
            ~Restaura() {
                zip.OnProgress = progreso;
                zip.OnMessage = mensaje;
                zip.OnOperationEnd = fin;
            }
        } restaura{zip, progreso, mensaje, fin};
        std::string enCurso;
        bool primera = true;
        zip.OnProgress = [&](TZipEngine& z, ProgressType tipo, const std::string& nombre,
                             std::int32_t tamanyo) {
            if (tipo == ProgressType::ProgrFileStart) {
                enCurso = nombre;
                hecho.entradas += primera ? 1 : 0;
            }
            if (progreso) {
                progreso(z, tipo, nombre, tamanyo);
            }
        };
        zip.OnMessage = [&](TZipEngine& z, std::int32_t codigo, const std::string& texto) {
            if (codigo == kErrPassword) {
                hecho.sinClave.push_back({enCurso, texto});
            } else if (mensaje) {
                mensaje(z, codigo, texto);
            }
        };
        zip.OnOperationEnd = [&](TZipEngine&, EngineOperation, std::int32_t cuantas, bool parada) {
            corrio = true;
            hecho.hechas += std::max<std::int32_t>(cuantas, 0);
            hecho.cancelada = hecho.cancelada || parada;
        };
        zip.ExtractFiles();
        while (!hecho.sinClave.empty() && !hecho.cancelada) {
            const auto clave =
                dialogo.Pide(hecho.sinClave.front().entrada, !zip.Password().empty());
            if (!clave) {
                break;
            }
            zip.SetPassword(*clave);
            std::vector<std::string> mostrados;
            for (const SinClave& s : hecho.sinClave) {
                mostrados.push_back(s.entrada);
            }
            zip.FSpecArgs = NombresGuardados(zip, mostrados);
            if (zip.FSpecArgs.empty()) {
                break;
            }
            hecho.sinClave.clear();
            primera = false;
            zip.ExtractFiles();
        }
        zip.FSpecArgs.clear();
    }
    // Given up on: the window hears of them as of any other refusal, in one more batch.
    if (informaSinClave && !hecho.sinClave.empty() && !hecho.cancelada) {
        for (const SinClave& s : hecho.sinClave) {
            if (zip.OnProgress) {
                zip.OnProgress(zip, ProgressType::ProgrFileStart, s.entrada, 0);
            }
            if (zip.OnMessage) {
                zip.OnMessage(zip, kErrPassword, s.mensaje);
            }
        }
        if (zip.OnProgress) {
            zip.OnProgress(zip, ProgressType::ProgrBatchEnd, "", 0);
        }
    }
    if (corrio && fin) {
        fin(zip, EngineOperation::Extract, hecho.hechas, hecho.cancelada);
    }
    return hecho;
}
