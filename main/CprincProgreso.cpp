// What the window shows while the engine works: the busy and ready status, the file at
// work, and a refusal for each library message that reports a failure.

#include "main/Cprinc.h"

#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/Messages.h"
#include "resources/TextTable.h"
#include "ui/Application.h"

namespace {
constexpr COLORREF kRed = 255;
// A run of many small files reports thousands of events a second: the file at work is
// shown at most this often, and the bar is painted only when its state changes.
constexpr ULONGLONG kFileShownEvery = 100; // ms
} // namespace

void TPRINCIPAL::zipProgress(TZipEngine& Sender, ProgressType ProgrType,
                             const std::string& Filename, std::int32_t /*FileSize*/) {
    const std::string ocupado = ChooseText(ingles, Datos.Idioma, resources::kTextBusy);
    const std::string listo = TextoListo();
    switch (ProgrType) {
    case ProgressType::ProgrFileStart:
        ficheroEnCurso_ = Filename;
        MuestraFicheroEnCurso(0);
        break;
    case ProgressType::ProgrStep:
        if (estado.Color() != kRed) {
            estado.SetColor(kRed);
        }
        if (estado.PanelText(0) != ocupado) {
            estado.SetPanelText(0, ocupado);
        }
        MuestraFicheroEnCurso(Sender.FilePercent());
        break;
    case ProgressType::ProgrBatchEnd:
        estado.SetPanelText(0, listo);
        estado.SetColor(std::nullopt);
        // When no re-read follows, the archive's size comes back here.
        ficheroEnCurso_.clear();
        ficheroMostrado_ = 0;
        MuestraTamanyo();
        break;
    }
    ui::App().ProcessMessages();
}

void TPRINCIPAL::MuestraFicheroEnCurso(int porcentaje) {
    const ULONGLONG ahora = ::GetTickCount64();
    if (ficheroEnCurso_.empty() || ahora - ficheroMostrado_ < kFileShownEvery) {
        return;
    }
    ficheroMostrado_ = ahora;
    estado.SetPanelText(1, ficheroEnCurso_ + "  " + std::to_string(porcentaje) + "%");
}

void TPRINCIPAL::zipMessage(TZipEngine&, std::int32_t ErrCode, const std::string&) {
    Error_Zip(ErrCode);
}

void TPRINCIPAL::Error_Zip(std::int32_t codigo) {
    if (codigo != 0) {
        platform::ShowMessage(ChooseText(ingles, Datos.Idioma, resources::kTextOperationRefused));
    }
}
