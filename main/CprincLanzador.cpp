// The launcher of Windows tools, the help file and the web page, the credits, and the clock.

#include "main/Cprinc.h"

#include <windows.h>

#include "dialogs/Ccreditos.h"
#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/FileHandle.h"
#include "platform/FmxUtils.h"
#include "platform/ProgramPaths.h"
#include "platform/Shell.h"

void TPRINCIPAL::Ejecuta(unsigned numero) {
    // The help file follows the language flag as it is at the moment of the click.
    if (auto file = LaunchTarget(numero, Datos.DirPrograma, Datos.Idioma)) {
        // Current Windows opens no ".hlp" file: without one, the manual's page instead.
        if (numero == 5 && !platform::FileExists(*file)) {
            *file = file->substr(0, file->size() - 4) + ".html";
        }
        platform::LaunchFile(*file, "", "", platform::kSwShow);
    }
}

void TPRINCIPAL::BblocClick() {
    Ejecuta(1);
}

void TPRINCIPAL::BexplorClick() {
    Ejecuta(2);
}

void TPRINCIPAL::BcalcClick() {
    Ejecuta(3);
}

void TPRINCIPAL::BshellClick() {
    Ejecuta(4);
}

void TPRINCIPAL::BlocdeNotas1Click() {
    BblocClick();
}

void TPRINCIPAL::Explorador1Click() {
    BexplorClick();
}

void TPRINCIPAL::Calculadora1Click() {
    BcalcClick();
}

void TPRINCIPAL::MshellClick() {
    Ejecuta(4);
}

void TPRINCIPAL::ndice1Click() {
    Ejecuta(5);
}

void TPRINCIPAL::ToolButton1Click() {
    Ejecuta(6);
}

void TPRINCIPAL::Crditos1Click() {
    credits->ShowModal();
}

void TPRINCIPAL::reloxTimer() {
    char time[64] = {};
    if (::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time) > 0) {
        estado.SetPanelText(2, time);
    }
}
