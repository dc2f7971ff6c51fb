// Applying the settings and the language, the language choice and the level slider.

#include "main/Cprinc.h"

#include "dialogs/Cborra.h"
#include "dialogs/Cclaveanyadir.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"

#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "main/ShellJobs.h"
#include "platform/Messages.h"
#include "resources/CommandTexts.h"
#include "resources/TextTable.h"
#include "util/Convert.h"
#include "util/NameCodePages.h"

void TPRINCIPAL::ActualizaOpciones() {
    Barra_NivelChange();
    Datos.DirInicial = FolderFromSettingsLine(confi.Get(0));
    Datos.DirTemporal = FolderFromSettingsLine(confi.Get(1));
    Datos.DirExtraccion = FolderFromSettingsLine(confi.Get(2));
    // A line that is no number stops here, with the folders above already stored.
    Datos.Idioma = util::StrToInt(confi.Get(3));
    PonIdioma();
    FijaRutasDeFicheros();
    ABRE.SetInitialDir(Datos.DirInicial);
    anyadir.SetInitialDir(Datos.DirInicial);
    nuevo.SetInitialDir(Datos.DirInicial);
    // An empty list leaves the items alone: removing the last entry hides the first item.
    if (ultimos.Count() > 0) {
        ui::MenuItem* items[] = {&ult1, &ult2, &ult3, &ult4};
        for (ui::MenuItem* item : items) {
            item->SetCaption("");
            item->SetVisible(false);
        }
        for (int i = 0; i < 4 && i < ultimos.Count(); ++i) {
            items[i]->SetCaption(ultimos.Get(i));
            items[i]->SetVisible(true);
        }
    }
}

void TPRINCIPAL::EligeCodificacion(unsigned codePage) {
    zip.NamesCodePage = codePage;
    MarcaCodificacion();
    if (!Datos.ArchivoActual.empty()) {
        Abrir_Archivo(zip.ZipFilename());
    }
}

void TPRINCIPAL::MarcaCodificacion() {
    Mautomatica.SetChecked(zip.NamesCodePage == 0);
    for (std::size_t i = 0; i < Mcodigos.size(); ++i) {
        Mcodigos[i]->SetChecked(util::kNameCodePages[i] == zip.NamesCodePage);
    }
}

void TPRINCIPAL::CodificacionPara(const std::string& nombre) {
    if (nombre != zip.ZipFilename() && zip.NamesCodePage != 0) {
        zip.NamesCodePage = 0;
        MarcaCodificacion();
    }
}

void TPRINCIPAL::PonIdioma() {
    // The shell's menus name the verbs in the language of the window.
    RegisterShellVerbs(Datos.Idioma);
    borra->Ingles = descompri->Ingles = Datos.Idioma != 1;
    if (Datos.Idioma == 1) {
        return;
    }
    using namespace resources;
    const auto text = [this](int index) { return ingles.Get(index); };
    estado.SetPanelText(0, text(kTextReady + 1)); // the pair's English
    ui::ToolButton* buttons[] = {&Bnuevo,   &Babrir,  &Bcerrar,  &Bver,
                                 &Banyadir, &Bborrar, &Bextraer, &Bsalir};
    for (int i = 0; i < 8; ++i) {
        buttons[i]->SetCaption(text(kTextActionButtons + i));
    }
    for (int i = 0; i < 5; ++i) {
        lista.SetColumnCaption(i, text(kTextColumns + i));
    }
    Archivo1.SetCaption(text(kTextMenuFile));
    Opciones2.SetCaption(text(kTextMenuOptions));
    Utiles1.SetCaption(text(kTextMenuTools));
    Ayuda1.SetCaption(text(kTextMenuHelp));
    Mnuevo.SetCaption(text(kTextItemNew));
    Mabrir.SetCaption(text(kTextItemOpen));
    Mcerrar.SetCaption(text(kTextItemClose));
    Mcomprobar.SetCaption(kTestArchive.en);
    Msalir.SetCaption(text(kTextItemExit));
    Mconfiguracion.SetCaption(text(kTextConfiguration));
    Mclave.SetCaption("Password for adding...");
    Mnombres.SetCaption("Name encoding");
    Mautomatica.SetCaption("Automatic");
    BlocdeNotas1.SetCaption(text(kTextNotepad));
    Explorador1.SetCaption(text(kTextExplorer));
    Calculadora1.SetCaption(text(kTextCalculator));
    Mshell.SetCaption(text(kTextMsDos));
    ndice1.SetCaption(text(kTextIndex));
    Crditos1.SetCaption(text(kTextAbout));
    TabSheet1.SetCaption(text(kTextPageActions));
    TabSheet2.SetCaption(text(kTextPageLevel));
    TabSheet3.SetCaption(text(kTextPageTools));
    Bbloc.SetCaption(text(kTextNotepad));
    Bexplor.SetCaption(text(kTextExplorer));
    Bcalc.SetCaption(text(kTextCalculator));
    Bshell.SetCaption(text(kTextMsDos));
    txtnivel1.SetCaption(text(kTextFaster));
    txtnivel2.SetCaption(text(kTextSmaller));
    borra->PonIdioma(ingles);
    config->PonIdioma(ingles);
    direk->PonIdioma(ingles);
    descompri->PonIdioma(ingles);
}

void TPRINCIPAL::MclaveClick() {
    if (claveAnyadir->Pide(claveAnyadir_, cifrado_)) {
        estado.SetPanelText(0, TextoListo());
    }
}

std::string TPRINCIPAL::TextoListo() const {
    if (claveAnyadir_.empty()) {
        return ChooseText(ingles, Datos.Idioma, resources::kTextReady);
    }
    const bool aes = cifrado_ == TZipEngine::Encryption::Aes256;
    return Datos.Idioma == 1 ? (aes ? " Cifra AES-256" : " Cifra ZipCrypto")
                             : (aes ? " Adds AES-256" : " Adds ZipCrypto");
}

void TPRINCIPAL::MconfiguracionClick() {
    config->ShowModal();
}

void TPRINCIPAL::Barra_NivelChange() {
    zip.AddCompLevel = LevelFromSliderPosition(Barra_Nivel.Position());
}

void TPRINCIPAL::casClick() {
    confi.Set(3, "1");
    platform::ShowMessage("Tendrá que reiniciar el programa para que tengan efecto los cambios");
}

void TPRINCIPAL::engClick() {
    confi.Set(3, "2");
    platform::ShowMessage("You must restart program to changes take effect");
}
