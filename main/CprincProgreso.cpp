// What the window shows while the engine works: the busy and ready status, the file at
// work, and one box for the failures each library call reports.

#include "main/Cprinc.h"

#include <algorithm>
#include <cstdio>

#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/Messages.h"
#include "resources/CommandTexts.h"
#include "resources/Notices.h"
#include "resources/TextTable.h"
#include "ui/Application.h"

namespace {
constexpr COLORREF kRed = 255;
// A run of many small files reports thousands of events a second: the file at work is
// shown at most this often, and the bar is painted only when its state changes.
constexpr ULONGLONG kFileShownEvery = 100; // ms
// Pending window messages are handled this often while the engine reports, and at the
// end of each call: often enough to feel live, rarely enough that a delete of 100,000
// entries does not spend its time there.
constexpr ULONGLONG kMessagesEvery = 25; // ms
} // namespace

void TPRINCIPAL::zipProgress(TZipEngine& Sender, ProgressType ProgrType,
                             const std::string& Filename, std::int32_t /*FileSize*/) {
    const std::string ocupado = ChooseText(ingles, Datos.Idioma, resources::kTextBusy);
    const std::string listo = TextoListo();
    switch (ProgrType) {
    case ProgressType::ProgrFileStart:
        if (comprobacion_) {
            comprobacion_->Empieza(Filename);
        }
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
        if (!fallosRetenidos_) {
            MuestraFallos();
        }
        break;
    }
    const ULONGLONG ahora = ::GetTickCount64();
    if (ProgrType == ProgressType::ProgrBatchEnd || ahora - mensajesAtendidos_ >= kMessagesEvery) {
        mensajesAtendidos_ = ahora;
        ui::App().ProcessMessages();
    }
}

void TPRINCIPAL::MuestraFicheroEnCurso(int porcentaje) {
    const ULONGLONG ahora = ::GetTickCount64();
    if (ficheroEnCurso_.empty() || ahora - ficheroMostrado_ < kFileShownEvery) {
        return;
    }
    ficheroMostrado_ = ahora;
    estado.SetPanelText(1, ficheroEnCurso_ + "  " + std::to_string(porcentaje) + "%");
}

void TPRINCIPAL::zipMessage(TZipEngine& Sender, std::int32_t ErrCode, const std::string&) {
    // A stop the user asked for is no failure: the status bar says how far it got.
    if (ErrCode == kErrCancelled && Sender.CancelRequested) {
        if (comprobacion_) {
            comprobacion_->cancelada = true;
        }
        return;
    }
    // A test shows what it found in a window of its own, entry by entry.
    if (comprobacion_ && ErrCode != 0) {
        comprobacion_->Anota(ErrCode, Datos.Idioma);
        return;
    }
    Error_Zip(ErrCode);
}

bool TPRINCIPAL::Detener() {
    if (!zip.ZipBusy() && !zip.UnzBusy()) {
        return false;
    }
    zip.CancelRequested = true;
    return true;
}

void TPRINCIPAL::zipOperationEnd(TZipEngine& Sender, EngineOperation Operation, std::int32_t Count,
                                 bool Cancelled) {
    const int idioma = Datos.Idioma;
    const int cuantas = std::max<std::int32_t>(Count, 0);
    char texto[96];
    cancelada_ = Cancelled;
    // An add or a delete that stops leaves the archive as it was; an extraction keeps the
    // entries it finished. How far a series of adds got, its caller says.
    if (Cancelled && Operation != EngineOperation::Add) {
        if (Operation == EngineOperation::Extract) {
            std::snprintf(texto, sizeof texto, resources::kCancelledDone.In(idioma), cuantas);
        } else {
            std::snprintf(texto, sizeof texto, "%s", resources::kCancelledUnchanged.In(idioma));
        }
        estado.SetPanelText(1, texto); // where the file at work was
    }
    const bool extraccion = Operation == EngineOperation::Extract &&
                            !Sender.ExtrOptions.Contains(ExtrOptsEnum::ExtrTest);
    if (extraccion || Operation == EngineOperation::Delete) {
        std::snprintf(texto, sizeof texto,
                      extraccion ? resources::kExtractedCount.In(idioma)
                                 : resources::kDeletedCount.In(idioma),
                      cuantas);
        estado.SetPanelText(0, texto);
    }
}

// A failure is noted with what it concerned; the call's end shows them all in one box.
void TPRINCIPAL::Error_Zip(std::int32_t codigo) {
    if (codigo == 0) {
        return;
    }
    // Before any file starts, what an add names is the file it was given.
    fallos_.push_back({codigo, resources::ConcernsTheArchive(codigo)
                                   ? DimeSinPath(zip.ZipFilename())
                               : !ficheroEnCurso_.empty() ? ficheroEnCurso_
                                                          : DimeSinPath(anyadiendo_)});
}

void TPRINCIPAL::MuestraFallos(const std::string& sinFallos, const std::string& titulo) {
    if (fallos_.empty() && sinFallos.empty()) {
        return;
    }
    const std::vector<resources::Failure> fallos = std::move(fallos_);
    fallos_.clear();
    const std::string texto =
        fallos.empty() ? sinFallos : resources::FailureReport(fallos, Datos.Idioma != 1);
    // A caption of the caller's goes with a box of no window, as the caller's own were.
    platform::ShowMessageBox(
        titulo.empty() ? platform::MessageBoxRequest{texto, platform::ApplicationTitle(),
                                                     platform::kActiveWindow, platform::kMbOk}
                       : platform::MessageBoxRequest{texto, titulo, 0, platform::kMbOk});
}
