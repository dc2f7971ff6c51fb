#include "app/Program.h"

#include <windows.h>

#include "dialogs/Cborra.h"
#include "dialogs/Cclave.h"
#include "dialogs/Cclaveanyadir.h"
#include "dialogs/Ccomprobar.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "dialogs/Cinicio.h"
#include "dialogs/Cprogr.h"
#include "dialogs/Unit1.h"
#include "main/Cdatos.h"
#include "main/Cprinc.h"
#include "ui/Application.h"

namespace app {

namespace {

// The folder of the running program, ending in "\".
std::string ProgramFileFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

template <typename T> void Destroy(T*& form) {
    delete form;
    form = nullptr;
}

} // namespace

void InitializeApplication() {
    ui::Application& application = ui::App();
    application.Initialize();
    application.SetTitle("Tarvox");
    // Nothing opens it: the help menu opens its file from the program folder.
    application.HelpFile = ProgramFileFolder() + "Ayuda.hlp";
}

void CreateForms() {
    inicio = new Tinicio();
    ui::App().SetMainForm(inicio);
    PRINCIPAL = new TPRINCIPAL();
    descompri =
        new Tdescompri(PRINCIPAL->zip, PRINCIPAL->lista, PRINCIPAL->confi, Datos.DirExtraccion);
    descompri->RetieneFallos = [](bool retener) { PRINCIPAL->RetieneFallos(retener); };
    descompri->MuestraFallos = [](const std::string& cabecera, const std::string& titulo) {
        PRINCIPAL->MuestraFallos(cabecera, titulo);
    };
    borra = new Tborra(
        PRINCIPAL->zip, PRINCIPAL->lista, [principal = PRINCIPAL] { principal->OlvidaVista(); },
        *PRINCIPAL);
    direk = new Tdirek();
    Datos_Generales = new TDatos_Generales();
    config = new Tconfig(PRINCIPAL->confi, *direk,
                         [principal = PRINCIPAL] { principal->ActualizaOpciones(); });
    credits = new Tcredits();
    credits->Launch = [](unsigned number) { PRINCIPAL->Ejecuta(number); };
    progreso = new Tprogreso();
    Form1 = new TForm1();
    pideClave = new Tclave(Datos.Idioma);
    claveAnyadir = new Tclaveanyadir(Datos.Idioma);
}

void DestroyForms() {
    Destroy(comprobar);
    Destroy(claveAnyadir);
    Destroy(pideClave);
    Destroy(Form1);
    Destroy(progreso);
    Destroy(credits);
    Destroy(config);
    Destroy(Datos_Generales);
    Destroy(direk);
    Destroy(borra);
    Destroy(descompri);
    Destroy(PRINCIPAL);
    ui::App().SetMainForm(nullptr);
    Destroy(inicio);
    Datos = TEstadoGeneral{};
}

int Run() {
    return ui::App().Run();
}

} // namespace app
