#include "main/Cprinc.h"

#include <algorithm>
#include <utility>

#include "resources/TextTable.h"
#include "ui/Application.h"
#include "ui/Guard.h"
#include "util/NameCodePages.h"

TPRINCIPAL* PRINCIPAL = nullptr;

namespace {

ui::FormDesign MainDesign() {
    ui::FormDesign design;
    design.className = "TPRINCIPAL";
    design.caption = "TARVOX  v4.1.0    ";
    design.left = 71;
    design.top = 89;
    design.width = 686;
    design.height = 432;
    design.borderWidth = 5;
    design.position = ui::FormPosition::DesktopCenter;
    design.font = {"MS Sans Serif", -10};
    return design;
}

// The first eight buttons of the main tool bar: hints kept but not shown, hand cursor.
ui::ToolButtonDesign MainButton(const char* caption, int image, const char* hint, bool enabled) {
    return {
        .caption = caption, .image = image, .hint = hint, .handCursor = true, .enabled = enabled};
}

ui::ToolButtonDesign ToolsButton(const char* caption, int image) {
    return {.caption = caption, .image = image, .handCursor = true};
}

struct DialogOptions {
    bool multiSelect = false, pathMustExist = false, fileMustExist = false, sizing = false;
};

// Every file dialog of the window hides the read-only check box.
platform::OpenFileRequest FileDialog(const char* title, const char* filter, DialogOptions options) {
    platform::OpenFileRequest design;
    design.title = title;
    design.filter = filter;
    design.hideReadOnly = true;
    design.allowMultiSelect = options.multiSelect;
    design.pathMustExist = options.pathMustExist;
    design.fileMustExist = options.fileMustExist;
    design.enableSizing = options.sizing;
    return design;
}

constexpr int kPageControlHeight = 73;
constexpr int kFileBarHeight = 24;
constexpr int kStatusBarHeight = 16;
constexpr int kScrollerHeight = 38;
constexpr int kImageSize = 16;
constexpr int kImageCount = 15;
// The compression page: a label at either side, the slider between them.
constexpr int kLevelMargin = 8;
constexpr int kLevelLabelWidth = 112;
constexpr int kLevelLabelTop = 4;
constexpr int kLevelLabelHeight = 32;
constexpr int kSliderLeft = kLevelMargin + kLevelLabelWidth + kLevelMargin;
constexpr int kSliderTop = 2;
constexpr int kSliderHeight = 34;

} // namespace

TPRINCIPAL::TPRINCIPAL()
    : ui::Form(MainDesign()), Bnuevo(MainButton("&Nuevo", 0, "Crear un archivo ZIP", true)),
      Babrir(MainButton("&Abrir", 1, "Abrir un archivo ZIP", true)),
      Bcerrar(MainButton("C&errar", 2, "Cerrar el archivo actual", false)),
      Bver(MainButton("&Ver", 3, "Ver o ejecutar el fichero seleccionado", false)),
      Banyadir(MainButton("Aña&dir", 4, "Añadir fichero/s", false)),
      Bborrar(MainButton("&Borrar", 5, "Borrar fichero/s seleccionado", false)),
      Bextraer(MainButton("   E&xtraer      ", 6, "Extraer fichero/s", false)),
      Bsalir(MainButton("&Salir", 7, "Salir del programa", true)),
      ToolButton1({.caption = "Ruvel Soft Web", .image = 14}),
      Bbloc(ToolsButton("Bloc de Notas", 8)), Bexplor(ToolsButton("Explorador", 9)),
      Bcalc(ToolsButton("Calculadora", 10)), Bshell(ToolsButton("Ms-Dos", 11)),
      cas({.caption = "Hablo Castellano",
           .image = 13,
           .hint = "Pulse aquí para cambiar Tarvox a castellano.",
           .showHint = true,
           .handCursor = true}),
      eng({.caption = "I speak English",
           .image = 12,
           .hint = "Push here to change to English.",
           .showHint = true,
           .handCursor = true}),
      confi{"c:\\", "c:\\", "c:\\", "1"},
      ABRE(FileDialog("Abrir Archivo / Open archive", "Zip|*.zip| *.*|*.*",
                      {.fileMustExist = true, .sizing = true})),
      nuevo(FileDialog("Nuevo Archivo ZIP  /   New Zip File", " Zip|*.zip|*.*|*.*", {})),
      anyadir(FileDialog(
          "Añadir / Add", "*.*",
          {.multiSelect = true, .pathMustExist = true, .fileMustExist = true, .sizing = true})),
      zip(reinterpret_cast<std::uintptr_t>(Handle())) {
    for (const char* text : resources::kTextTable) {
        ingles.Add(text);
    }
    zip.Verbose = false;
    zip.Trace = false;
    zip.AddCompLevel = 12;
    zip.AddOptions = {AddOptsEnum::AddRecurseDirs, AddOptsEnum::AddHiddenFiles};
    zip.ExtrOptions = {};
    CreateControls();
    CreateCommands();
    BindEvents();
    Layout();
    relox.Create(Handle(), {.interval = 1000});
    reloj_inicio.Create(Handle(), {.interval = 900});
    AddTimer(relox);
    AddTimer(reloj_inicio);
    UpdateCommands();
    FormCreate();
}

void TPRINCIPAL::CreateControls() {
    // Pictures of the tool bars; without them the buttons still work, captions only.
    iconos.LoadFromResource("ICONOS", kImageSize, kImageSize, kImageCount);
    CreatePages();
    CreateArchiveView();
    CreateMenu();
    // The tabs (whose arrows turn the pages), the tool bar or slider of the page in view
    // (a tool bar's arrows choose a button, Space or Enter presses it), the list.
    SetTabOrder({&v, &barra1, &Barra_Nivel, &barra2, &ToolBar1, &lista});
}

// The four tab pages: actions, compression level, tools, language.
void TPRINCIPAL::CreatePages() {
    v.Create(Handle(), {.width = 100, .height = kPageControlHeight, .font = {"MS Sans Serif", -11}},
             {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4});
    const int pageWidth = TabSheet1.Width();

    const ui::FontDesign& font = FontOf();
    ui::ToolBarDesign bar;
    bar.width = pageWidth;
    bar.height = 36;
    bar.buttonWidth = 74;
    bar.buttonHeight = 36;
    bar.font = font;
    bar.images = &iconos;
    PageScroller1.Create(TabSheet1.Handle(), {.width = pageWidth, .height = kScrollerHeight});
    barra1.Create(
        PageScroller1.Handle(), bar,
        {&Bnuevo, &Babrir, &Bcerrar, &Bver, &Banyadir, &Bborrar, &Bextraer, &Bsalir, &ToolButton1});
    PageScroller1.SetChild(barra1);

    // Layout() places the slider and the second label by the page's width.
    ui::LabelDesign level;
    level.top = kLevelLabelTop;
    level.width = kLevelLabelWidth;
    level.height = kLevelLabelHeight;
    level.font = font;
    level.wordWrap = true;
    level.left = kLevelMargin;
    level.caption = "Más Rápido,Menos Compresión";
    txtnivel1.Create(TabSheet2.Handle(), level);
    ui::TrackBarDesign slider;
    slider.left = kSliderLeft;
    slider.top = kSliderTop;
    slider.height = kSliderHeight;
    slider.min = 0;
    slider.max = 50;
    slider.position = 43;
    slider.frequency = 1;
    Barra_Nivel.Create(TabSheet2.Handle(), slider);
    level.caption = "MásCompresión,menos rapidez";
    txtnivel2.Create(TabSheet2.Handle(), level);

    PageScroller3.Create(TabSheet3.Handle(), {.width = pageWidth, .height = kScrollerHeight});
    barra2.Create(PageScroller3.Handle(), bar, {&Bbloc, &Bexplor, &Bcalc, &Bshell});
    PageScroller3.SetChild(barra2);

    // The language page's controls are in bold.
    ui::ToolBarDesign languages = bar;
    languages.buttonWidth = 104;
    languages.font.bold = true;
    ToolBar1.Create(TabSheet4.Handle(), languages, {&cas, &eng});
}

// The archive's path above its contents list, and the status bar below.
void TPRINCIPAL::CreateArchiveView() {
    const HWND window = Handle();
    const ui::FontDesign& font = FontOf();
    ui::StatusBarDesign path;
    path.font = font;
    path.color = ::GetSysColor(COLOR_SCROLLBAR);
    path.hint = "Panel de Nombre de Archivo: aquí se muestra el archivo actualmente editado.";
    archivo.Create(window, path);

    ui::ListViewDesign list;
    list.columns = {{.caption = "Nombre", .autoSize = true},
                    {.caption = "Fecha", .autoSize = true},
                    {.caption = "Tamaño", .autoSize = true},
                    {.caption = "Hora", .autoSize = true},
                    {.caption = "Ratio"}};
    list.font = {"Times New Roman", -12};
    list.color = RGB(255, 255, 255);
    list.multiSelect = true;
    lista.Create(window, list);

    ui::StatusBarDesign panels;
    panels.panelWidths = {100, 200, 200, 100};
    panels.font = font;
    estado.Create(window, panels);
    estado.SetPanelText(0, "     Listo");
}

void TPRINCIPAL::CreateMenu() {
    // The recent items keep their places; what came later follows them.
    Archivo1.SetItems(
        {&Mnuevo, &Mabrir, &Mcerrar, &N1, &Msalir, &ult1, &ult2, &ult3, &ult4, &N2, &Mcomprobar});
    std::vector<ui::MenuItem*> codigos = {&Mautomatica};
    for (const unsigned codePage : util::kNameCodePages) {
        Mcodigos.push_back(std::make_unique<ui::MenuItem>(
            ui::MenuItemDesign{.caption = std::string(util::NameCodePageCaption(codePage)),
                               .kind = ui::MenuCaption::Literal}));
        codigos.push_back(Mcodigos.back().get());
    }
    Mnombres.SetItems(codigos);
    Opciones2.SetItems({&Mconfiguracion, &Mclave, &Mnombres});
    Utiles1.SetItems({&BlocdeNotas1, &Explorador1, &Calculadora1, &Mshell});
    Ayuda1.SetItems({&ndice1, &Crditos1});
    menu_princ.Create(Handle(), {&Archivo1, &Opciones2, &Utiles1, &Ayuda1});
    UseMenu(menu_princ);
    menu_filas.Create(Handle(), {&Fver, &Fextraer, &Fborrar, &N3, &Fcomprobar});
}

void TPRINCIPAL::BindEvents() {
    OnShow = [this] { FormShow(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnResize = [this] { Layout(); };
    OnMessage = [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_DROPFILES) {
            return false;
        }
        ui::Guarded([&] { Recoge(reinterpret_cast<HDROP>(wParam)); });
        result = 0;
        return true;
    };
    // Alt and the underlined letter of a button press that button from any page, the
    // page in view first; a button of another page brings its page into view.
    OnAccessKey = [this](char key) {
        const std::pair<ui::ToolBar*, int> bars[] = {{&barra1, 0}, {&barra2, 2}, {&ToolBar1, 3}};
        for (const bool inView : {true, false}) {
            for (const auto& [bar, page] : bars) {
                ui::ToolButton* button =
                    bar->Visible() == inView ? bar->AccessKeyButton(key) : nullptr;
                if (button != nullptr) {
                    if (!inView) {
                        v.SetActivePageIndex(page);
                    }
                    ui::Fire(button->OnClick);
                    return true;
                }
            }
        }
        return false;
    };

    ToolButton1.OnClick = [this] { ToolButton1Click(); };
    Barra_Nivel.OnChange = [this] { Barra_NivelChange(); };
    Bbloc.OnClick = [this] { BblocClick(); };
    Bexplor.OnClick = [this] { BexplorClick(); };
    Bcalc.OnClick = [this] { BcalcClick(); };
    Bshell.OnClick = [this] { BshellClick(); };
    BlocdeNotas1.OnClick = [this] { BlocdeNotas1Click(); };
    Explorador1.OnClick = [this] { Explorador1Click(); };
    Calculadora1.OnClick = [this] { Calculadora1Click(); };
    Mshell.OnClick = [this] { MshellClick(); };
    cas.OnClick = [this] { casClick(); };
    eng.OnClick = [this] { engClick(); };
    Mconfiguracion.OnClick = [this] { MconfiguracionClick(); };
    Mautomatica.OnClick = [this] { EligeCodificacion(0); };
    for (std::size_t i = 0; i < Mcodigos.size(); ++i) {
        Mcodigos[i]->OnClick = [this, i] { EligeCodificacion(util::kNameCodePages[i]); };
    }
    ndice1.OnClick = [this] { ndice1Click(); };
    Crditos1.OnClick = [this] { Crditos1Click(); };
    ult1.OnClick = [this] { ult1Click(); };
    ult2.OnClick = [this] { ult2Click(); };
    ult3.OnClick = [this] { ult3Click(); };
    ult4.OnClick = [this] { ult4Click(); };
    lista.OnClick = [this] { listaClick(); };
    lista.OnSelectItem = [this](int row, bool selected) { listaSelectItem(row, selected); };
    lista.OnDblClick = [this] { listaDblClick(); };
    lista.OnBeginDrag = [this] { listaBeginDrag(); };
    // The list's keys are its buttons' commands, when those are available.
    lista.OnKeyDown = [this](UINT key) {
        if (key == VK_DELETE && Bborrar.Enabled()) {
            BborrarClick();
        } else if (key == VK_RETURN && Bver.Enabled()) {
            BverClick();
        }
    };
    zip.OnDirUpdate = [this](TZipEngine& sender) { zipDirUpdate(sender); };
    zip.OnProgress = [this](TZipEngine& sender, ProgressType kind, const std::string& name,
                            std::int32_t size) { zipProgress(sender, kind, name, size); };
    zip.OnMessage = [this](TZipEngine& sender, std::int32_t code, const std::string& text) {
        zipMessage(sender, code, text);
    };
    zip.OnOperationEnd = [this](TZipEngine& sender, EngineOperation operation, std::int32_t count,
                                bool cancelled) {
        zipOperationEnd(sender, operation, count, cancelled);
    };
    lista.OnContextMenu = [this](int row, POINT screen) { listaContextMenu(row, screen); };
    ui::App().OnStopKey = [this] { return Detener(); };
    relox.OnTimer = [this] { reloxTimer(); };
    reloj_inicio.OnTimer = [this] { reloj_inicioTimer(); };
}

void TPRINCIPAL::Layout() {
    const RECT area = LayoutRect();
    const int width = area.right - area.left;
    int top = area.top;
    v.SetBounds(area.left, top, width, kPageControlHeight);
    v.Realign();
    const int pageWidth = TabSheet1.Width();
    PageScroller1.SetBounds(0, 0, pageWidth, kScrollerHeight);
    PageScroller3.SetBounds(0, 0, pageWidth, kScrollerHeight);
    ToolBar1.SetBounds(0, 0, pageWidth, kScrollerHeight);
    // The second label keeps to the right edge; the slider takes the width between.
    const int rightLabel = pageWidth - kLevelMargin - kLevelLabelWidth;
    txtnivel2.SetBounds(rightLabel, kLevelLabelTop, kLevelLabelWidth, kLevelLabelHeight);
    Barra_Nivel.SetBounds(kSliderLeft, kSliderTop,
                          std::max(0, rightLabel - kLevelMargin - kSliderLeft), kSliderHeight);
    top += kPageControlHeight;
    archivo.SetBounds(area.left, top, width, kFileBarHeight);
    top += kFileBarHeight;
    const int bottom = area.bottom - kStatusBarHeight;
    lista.SetBounds(area.left, top, width, bottom > top ? bottom - top : 0);
    lista.SizeColumns();
    estado.SetBounds(area.left, bottom, width, kStatusBarHeight);
}
