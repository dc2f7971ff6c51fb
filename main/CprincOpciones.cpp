// Applying the settings and the language, the language choice and the level slider.

#include "main/Cprinc.h"

#include "dialogs/Cborra.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"

#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "platform/Messages.h"
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
    if (Datos.Idioma == 1) {
        return;
    }
    const auto text = [this](int index) { return ingles.Get(index); };
    estado.SetPanelText(0, text(resources::kTextReady + 1)); // the pair's English
    ui::ToolButton* buttons[] = {&Bnuevo,   &Babrir,  &Bcerrar,  &Bver,
                                 &Banyadir, &Bborrar, &Bextraer, &Bsalir};
    for (int i = 0; i < 8; ++i) {
        buttons[i]->SetCaption(text(i));
    }
    for (int i = 0; i < 5; ++i) {
        lista.SetColumnCaption(i, text(8 + i));
    }
    Archivo1.SetCaption(text(13));
    Opciones2.SetCaption(text(14));
    Utiles1.SetCaption(text(15));
    Ayuda1.SetCaption(text(16));
    Mnuevo.SetCaption(text(17));
    Mabrir.SetCaption(text(18));
    Mcerrar.SetCaption(text(19));
    Msalir.SetCaption(text(20));
    Mconfiguracion.SetCaption(text(21));
    Mnombres.SetCaption("Name encoding");
    Mautomatica.SetCaption("Automatic");
    BlocdeNotas1.SetCaption(text(22));
    Explorador1.SetCaption(text(23));
    Calculadora1.SetCaption(text(24));
    Mshell.SetCaption(text(25));
    ndice1.SetCaption(text(26));
    Crditos1.SetCaption(text(27));
    TabSheet1.SetCaption(text(28));
    TabSheet2.SetCaption(text(29));
    TabSheet3.SetCaption(text(30));
    Bbloc.SetCaption(text(22));
    Bexplor.SetCaption(text(23));
    Bcalc.SetCaption(text(24));
    Bshell.SetCaption(text(25));
    txtnivel1.SetCaption(text(31));
    txtnivel2.SetCaption(text(32));
    borra->opc.SetCaption(text(33));
    borra->opc.SetItem(0, text(34));
    borra->opc.SetItem(1, text(35));
    borra->ToolButton1.SetCaption(text(36));
    borra->ToolButton2.SetCaption(text(37));
    config->SetCaption(text(21));
    config->TabSheet1.SetCaption(text(38));
    config->Label2.SetCaption(text(39));
    config->Label1.SetCaption(text(40));
    config->ToolButton4.SetCaption(text(37));
    direk->Label1.SetCaption(text(40));
    direk->Label2.SetCaption(text(39));
    direk->ci.SetCaption(text(39));
    direk->ct.SetCaption(text(40));
    direk->ToolButton2.SetCaption(text(41));
    descompri->SetCaption(text(60));
    descompri->ToolButton1.SetCaption(text(61));
    descompri->ToolButton2.SetCaption(text(62));
    descompri->ToolButton3.SetCaption(text(37));
    descompri->GroupBox1.SetCaption(text(63));
    ui::CheckBox* casillas[] = {&descompri->c1, &descompri->c2, &descompri->c3, &descompri->c4};
    for (int i = 0; i < 4; ++i) {
        casillas[i]->SetCaption(text(64 + i));
    }
    descompri->opc.SetCaption(text(68));
    descompri->opc.SetItem(0, text(69));
    descompri->opc.SetItem(1, text(70));
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
