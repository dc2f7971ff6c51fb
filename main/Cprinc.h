#pragma once
// The main window: the tab pages with their tool bars, the current archive's path, the
// contents list, the status bar, the menu, the hidden text lists, and the engine
// component that does all archive work.

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

#include "controls/ContentsList.h"
#include "dialogs/Ccomprobar.h"
#include "engine/ZipDir.h"
#include "engine/ZipEngine.h"
#include "resources/CommandTexts.h"
#include "resources/Notices.h"
#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/Label.h"
#include "ui/Menu.h"
#include "ui/OpenDialog.h"
#include "ui/PageControl.h"
#include "ui/PageScroller.h"
#include "ui/StatusBar.h"
#include "ui/Timer.h"
#include "ui/ToolBar.h"
#include "ui/TrackBar.h"
#include "util/TextLines.h"

class TPRINCIPAL : public ui::Form {
public:
    TPRINCIPAL();

    // Tab pages and what they hold.
    ui::PageControl v;
    ui::TabSheet TabSheet1{"Acciones Básicas"};
    ui::TabSheet TabSheet2{"Nivel de Compresión"};
    ui::TabSheet TabSheet3{"Utilidades Windows"};
    ui::TabSheet TabSheet4{"Español / English"};
    ui::PageScroller PageScroller1;
    ui::ToolBar barra1;
    ui::ToolButton Bnuevo;
    ui::ToolButton Babrir;
    ui::ToolButton Bcerrar;
    ui::ToolButton Bver;
    ui::ToolButton Banyadir;
    ui::ToolButton Bborrar;
    ui::ToolButton Bextraer;
    ui::ToolButton Bsalir;
    ui::ToolButton ToolButton1;
    ui::Label txtnivel1;
    ui::TrackBar Barra_Nivel;
    ui::Label txtnivel2;
    ui::PageScroller PageScroller3;
    ui::ToolBar barra2;
    ui::ToolButton Bbloc;
    ui::ToolButton Bexplor;
    ui::ToolButton Bcalc;
    ui::ToolButton Bshell;
    ui::ToolBar ToolBar1;
    ui::ToolButton cas;
    ui::ToolButton eng;

    // The current archive's path, its entries, and the status panels.
    ui::StatusBar archivo;
    controls::ContentsList lista;
    ui::StatusBar estado;

    // Hidden text lists serving as string lists in memory.
    util::TextLines borrafil;
    util::TextLines ultimos;
    util::TextLines confi;
    util::TextLines ingles;

    ui::MainMenu menu_princ;
    ui::MenuItem Archivo1{"&Ficheros"};
    ui::MenuItem Mnuevo{"Nuevo..."};
    ui::MenuItem Mabrir{"Abrir..."};
    ui::MenuItem Mcerrar{ui::MenuItemDesign{.caption = "Cerrar", .enabled = false}};
    ui::MenuItem N1{"-"};
    ui::MenuItem Msalir{"Salir"};
    // Archive paths, shown as they are written.
    ui::MenuItem ult1{ui::MenuItemDesign{.visible = false, .kind = ui::MenuCaption::Literal}};
    ui::MenuItem ult2{ui::MenuItemDesign{.visible = false, .kind = ui::MenuCaption::Literal}};
    ui::MenuItem ult3{ui::MenuItemDesign{.visible = false, .kind = ui::MenuCaption::Literal}};
    ui::MenuItem ult4{ui::MenuItemDesign{.visible = false, .kind = ui::MenuCaption::Literal}};
    ui::MenuItem N2{"-"};
    ui::MenuItem Mcomprobar{ui::MenuItemDesign{.caption = "Comprobar archivo", .enabled = false}};
    ui::MenuItem Opciones2{"&Opciones"};
    ui::MenuItem Mconfiguracion{"Configuracion"};
    ui::MenuItem Mclave{"Contraseña para añadir..."};
    ui::MenuItem Mnombres{"Codificación de nombres"};
    ui::MenuItem Mautomatica{ui::MenuItemDesign{.caption = "Automática", .checked = true}};
    // One item for each code page of util::kNameCodePages, in its order.
    std::vector<std::unique_ptr<ui::MenuItem>> Mcodigos;
    ui::MenuItem Utiles1{"&Utiles"};
    ui::MenuItem BlocdeNotas1{"Bloc de Notas"};
    ui::MenuItem Explorador1{"Explorador"};
    ui::MenuItem Calculadora1{"Calculadora"};
    ui::MenuItem Mshell{"Shell al Ms-Dos"};
    ui::MenuItem Ayuda1{"A&yuda"};
    ui::MenuItem ndice1{"Índice"};
    ui::MenuItem Crditos1{"Créditos"};
    // The shortcut menu of the list's rows.
    ui::PopupMenu menu_filas;
    ui::MenuItem Fver{resources::kRowView.es};
    ui::MenuItem Fextraer{resources::kRowExtract.es};
    ui::MenuItem Fborrar{resources::kRowDelete.es};
    ui::MenuItem N3{"-"};
    ui::MenuItem Fcomprobar{resources::kRowTest.es};

    ui::OpenDialog ABRE;
    ui::OpenDialog nuevo;
    ui::OpenDialog anyadir;
    ui::ImageList iconos;
    TZipEngine zip;
    TZipDir ZipDir1;
    ui::Timer relox;
    ui::Timer reloj_inicio;

    // The command-line arguments after the program's name, as start-up hands them over.
    std::vector<std::string> Parametros;

    // Window events.
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& CanClose);
    void reloj_inicioTimer();
    void reloxTimer();

    // Start-up, settings and exit.
    void PrInicio();
    void Comprueba_Registro();
    void ActualizaOpciones();
    void PonIdioma();
    void EntregaParametros();
    void Salir();
    void Borrar_Temporales();

    // Launching tools, help and the web page.
    void Ejecuta(unsigned numero);
    void BblocClick();
    void BexplorClick();
    void BcalcClick();
    void BshellClick();
    void BlocdeNotas1Click();
    void Explorador1Click();
    void Calculadora1Click();
    void MshellClick();
    void ndice1Click();
    void ToolButton1Click();

    // Language choice and compression level.
    void casClick();
    void engClick();
    void Barra_NivelChange();

    // The current archive, its list and the operations on it.
    void BnuevoClick();
    void MnuevoClick();
    void BabrirClick();
    void MabrirClick();
    void BcerrarClick();
    void McerrarClick();
    void BverClick();
    void BanyadirClick();
    void BborrarClick();
    void BextraerClick();
    void BsalirClick();
    void MsalirClick();
    void MconfiguracionClick();
    void MclaveClick();
    // The status bar's first panel at rest: ready, or that adds encrypt.
    std::string TextoListo() const;
    // The code page names without a UTF-8 marker are read in (0: detected), for the
    // current archive only: it is read again in it.
    void EligeCodificacion(unsigned codePage);
    void MarcaCodificacion();
    // Opening, creating or closing another archive goes back to detection.
    void CodificacionPara(const std::string& nombre);
    void Crditos1Click();
    void ult1Click();
    void ult2Click();
    void ult3Click();
    void ult4Click();
    void listaClick();
    void listaSelectItem(int row, bool selected);
    void listaDblClick();
    // A right click on a row, or the menu key on the selection: the row's menu.
    void listaContextMenu(int row, POINT screen);
    void Abrir_Archivo(const std::string& nombre);
    void Crear_archivo();
    void Cerrar_Archivo();
    void McomprobarClick();
    void Comprobar_Archivo();
    void zipDirUpdate(TZipEngine& Sender);
    static std::string DimeSinPath(const std::string& ruta);

    // The recent archives of the file menu.
    void Anyadir_Ultimo(const std::string& nombre);
    void Quitar_Ultimo(const std::string& nombre);

    // Adding, viewing, and files dropped from the shell.
    void Anyadir_Archivos();
    // Adds the files and folders one engine run each, in order, and stops at the first
    // run the user stops: the status bar then says how many went in.
    void AnyadeVarios(const std::vector<std::string>& ficheros);
    // False when the user stopped the run.
    bool Anyade(const std::string& fichero);
    void Recoge(HDROP soltados);
    // Views the entry behind a row of the list.
    void Mostrar_Archivo(int fila);
    // Extracts one entry, by its stored name, into this run's folder of view copies.
    void Extraer_Archivo(const std::string& nombre);
    // Extracts entries, by their stored names, into a folder with the options given,
    // leaving the extract dialog's options as they were.
    void ExtraeEn(const std::vector<std::string>& nombres, const std::string& carpeta,
                  ExtrOpts opciones);
    // The selected rows dragged out of the list.
    void listaBeginDrag();

    // The commands of the tool bar and the menu: one table, one rule each for when it is
    // enabled, applied after every change of the state it looks at.
    enum class Orden {
        Nuevo,
        Abrir,
        Cerrar,
        Comprobar,
        Ver,
        Anyadir,
        Borrar,
        Extraer,
        Salir,
        ClaveAnyadir
    };
    struct EstadoOrdenes {
        bool archivoAbierto = false;
        int entradas = 0;
        int seleccionadas = 0;
        // What the list's events last offered: delete once an existing archive is
        // opened or rows are clicked; view after a change of selection, or a click
        // that leaves exactly one row selected. A refill leaves both as they were.
        bool borrarOfrecido = false;
        bool verOfrecido = false;
        bool ocupado = false;
    };
    struct Comando {
        Orden id;
        ui::ToolButton* boton;
        ui::MenuItem* item;
        ui::MenuItem* fila; // in the rows' menu; runs the item's handler, or the button's
        void (TPRINCIPAL::*botonClick)();
        void (TPRINCIPAL::*itemClick)();
        bool (*habilitada)(const EstadoOrdenes&);
    };
    const EstadoOrdenes& Estado() const { return estado_; }
    bool Habilitada(Orden id) const;
    void UpdateCommands();
    // After a deletion the view waits for a new selection.
    void OlvidaVista();
    // While the engine runs for the window itself, the window takes no input.
    void Ocupado(bool ocupado);
    // Holds the window busy for one engine run, however it ends.
    class Trabajando {
    public:
        explicit Trabajando(TPRINCIPAL& w) : w_(w) { w_.Ocupado(true); }
        ~Trabajando() { w_.Ocupado(false); }
        Trabajando(const Trabajando&) = delete;
        Trabajando& operator=(const Trabajando&) = delete;

    private:
        TPRINCIPAL& w_;
    };

    // Progress and messages of the engine.
    void zipProgress(TZipEngine& Sender, ProgressType ProgrType, const std::string& Filename,
                     std::int32_t FileSize);
    void zipMessage(TZipEngine& Sender, std::int32_t ErrCode, const std::string& Message);
    void Error_Zip(std::int32_t codigo);
    // How many entries an extraction or a delete handled, or that a cancelled one stopped.
    void zipOperationEnd(TZipEngine& Sender, EngineOperation Operation, std::int32_t Count,
                         bool Cancelled);
    // Escape while the engine works: the library is asked to stop at its next report.
    bool Detener();
    // While held, the failures of the engine's calls wait for MuestraFallos instead of
    // showing at the end of each call: a dialog's operation then ends in one box.
    void RetieneFallos(bool retener) { fallosRetenidos_ = retener; }
    // The failures noted, in one box whose first line is their cause, with the caption
    // titulo (the program's title when empty). With nothing noted, the box says sinFallos,
    // when given.
    void MuestraFallos(const std::string& sinFallos = {}, const std::string& titulo = {});

private:
    void CreateControls();
    void CreatePages();
    void CreateArchiveView();
    void CreateMenu();
    void CreateCommands();
    void BindEvents();
    void Layout();
    void FijaRutasDeFicheros();
    void AbreUltimo(ui::MenuItem& item);
    std::string CopiaDeVista(const std::string& nombreLegible) const;
    // The folder of this run's view copies, made on first use; empty when none can be.
    const std::string& CarpetaDeVistas();
    // Panel 1: the archive's size, or the file the engine is working on.
    void MuestraTamanyo();
    void MuestraFicheroEnCurso(int porcentaje);
    std::string carpetaDeVistas_;
    // While entries are dragged out, and how many drags made a folder in this run.
    bool arrastrando_ = false;
    int arrastres_ = 0;
    std::vector<resources::Failure> fallos_;
    bool fallosRetenidos_ = false;
    std::vector<Comando> comandos_;
    // What a test run has told so far; only while one runs.
    std::unique_ptr<Comprobacion> comprobacion_;
    EstadoOrdenes estado_;

    std::string ficheroEnCurso_;
    bool cancelada_ = false; // the last operation was stopped by the user
    std::string anyadiendo_; // the file or folder of the add at work
    // The password adds encrypt with, and how; none: adds do not encrypt.
    std::string claveAnyadir_;
    TZipEngine::Encryption cifrado_ = TZipEngine::Encryption::Aes256;
    unsigned long long ficheroMostrado_ = 0;   // tick count of its last showing
    unsigned long long mensajesAtendidos_ = 0; // tick count of the last message loop
};

extern TPRINCIPAL* PRINCIPAL;
