// The main window as laid out, read back from its controls before and after start-up.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"

namespace {

class MainWindowLayout : public ProgramFixture {};

TEST_F(MainWindowLayout, ShowsItsDesignTimeControls) {
    Start();
    TPRINCIPAL& main = Main();
    EXPECT_EQ(WindowCaption(main.Handle()), "TARVOX  v4.1.0    ");
    EXPECT_FALSE(::IsWindowVisible(main.Handle()));

    EXPECT_EQ(TabCaptions(main.v.Handle()),
              (std::vector<std::string>{"Acciones Básicas", "Nivel de Compresión",
                                        "Utilidades Windows", "Español / English"}));
    EXPECT_EQ(main.v.ActivePageIndex(), 0);
    EXPECT_EQ(ToolButtons(main.barra1.Handle()),
              (std::vector<ToolButtonState>{{"&Nuevo", 0, true},
                                            {"&Abrir", 1, true},
                                            {"C&errar", 2, false},
                                            {"&Ver", 3, false},
                                            {"Aña&dir", 4, false},
                                            {"&Borrar", 5, false},
                                            {"   E&xtraer      ", 6, false},
                                            {"&Salir", 7, true},
                                            {"Ruvel Soft Web", 14, true}}));
    EXPECT_EQ(ToolButtons(main.barra2.Handle()),
              (std::vector<ToolButtonState>{{"Bloc de Notas", 8, true},
                                            {"Explorador", 9, true},
                                            {"Calculadora", 10, true},
                                            {"Ms-Dos", 11, true}}));
    EXPECT_EQ(ToolButtons(main.ToolBar1.Handle()),
              (std::vector<ToolButtonState>{{"Hablo Castellano", 13, true},
                                            {"I speak English", 12, true}}));
    EXPECT_EQ(main.cas.Hint(), "Pulse aquí para cambiar Tarvox a castellano.");
    EXPECT_EQ(main.eng.Hint(), "Push here to change to English.");

    // Fifteen images, 16 by 16, on every tool bar.
    HIMAGELIST images =
        reinterpret_cast<HIMAGELIST>(::SendMessageA(main.barra1.Handle(), TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(images), 15);
    int width = 0, height = 0;
    ::ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    const LRESULT size = ::SendMessageA(main.barra1.Handle(), TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(LOWORD(size), 74);
    EXPECT_EQ(HIWORD(size), 36);
    EXPECT_EQ(LOWORD(::SendMessageA(main.ToolBar1.Handle(), TB_GETBUTTONSIZE, 0, 0)), 104);
    // The language page has no scroller: both of its buttons must fit.
    RECT languageBar{}, lastLanguage{};
    ::GetClientRect(main.ToolBar1.Handle(), &languageBar);
    ::SendMessageA(main.ToolBar1.Handle(), TB_GETITEMRECT, 1,
                   reinterpret_cast<LPARAM>(&lastLanguage));
    EXPECT_LE(lastLanguage.right, languageBar.right);

    EXPECT_EQ(WindowCaption(main.txtnivel1.Handle()), "Más Rápido,Menos Compresión");
    EXPECT_EQ(WindowCaption(main.txtnivel2.Handle()), "MásCompresión,menos rapidez");
    EXPECT_EQ(main.Barra_Nivel.Min(), 0);
    EXPECT_EQ(main.Barra_Nivel.Max(), 50);
    EXPECT_EQ(main.Barra_Nivel.Position(), 43);

    EXPECT_EQ(ColumnCaptions(main.lista.Handle()),
              (std::vector<std::string>{"Nombre", "Fecha", "Tamaño", "Hora", "Ratio"}));
    const auto listStyle = ::GetWindowLongA(main.lista.Handle(), GWL_STYLE);
    EXPECT_EQ(listStyle & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(listStyle & LVS_SINGLESEL, 0) << "several rows selectable";
    EXPECT_NE(listStyle & LVS_OWNERDATA, 0) << "rows kept by the program, sorted there";
    EXPECT_NE(listStyle & LVS_NOSORTHEADER, 0) << "column clicks ignored";
    EXPECT_EQ(::SendMessageA(main.lista.Handle(), LVM_GETBKCOLOR, 0, 0), RGB(255, 255, 255));

    EXPECT_EQ(StatusParts(main.estado.Handle()), (std::vector<int>{100, 300, 500, -1}));
    EXPECT_EQ(StatusText(main.estado.Handle(), 0), "     Listo");
    for (int panel = 1; panel < 4; ++panel) {
        EXPECT_EQ(StatusText(main.estado.Handle(), panel), "") << panel;
    }
    EXPECT_NE(::SendMessageA(main.archivo.Handle(), SB_ISSIMPLE, 0, 0), 0);
    EXPECT_EQ(StatusText(main.archivo.Handle(), 0), "");
    EXPECT_EQ(main.archivo.Hint(),
              "Panel de Nombre de Archivo: aqu\xED se muestra el archivo actualmente editado.");

    // Top to bottom: pages, path bar, list, status bar.
    RECT pages{}, path{}, list{}, status{}, client{};
    ::GetWindowRect(main.v.Handle(), &pages);
    ::GetWindowRect(main.archivo.Handle(), &path);
    ::GetWindowRect(main.lista.Handle(), &list);
    ::GetWindowRect(main.estado.Handle(), &status);
    EXPECT_EQ(pages.bottom - pages.top, 73);
    EXPECT_EQ(path.top, pages.bottom);
    EXPECT_EQ(path.bottom - path.top, 24);
    EXPECT_EQ(list.top, path.bottom);
    EXPECT_EQ(status.top, list.bottom);
    EXPECT_EQ(status.bottom - status.top, 16);
    ::GetClientRect(main.Handle(), &client);
    POINT origin{0, 0};
    ::ClientToScreen(main.Handle(), &origin);
    EXPECT_EQ(pages.left - origin.x, 5) << "border width";
    EXPECT_EQ(origin.y + client.bottom - status.bottom, 5);

    // The hidden lists.
    EXPECT_EQ(main.confi.Text(), "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n");
    EXPECT_EQ(main.ultimos.Count(), 0);
    EXPECT_EQ(main.borrafil.Count(), 0);
    EXPECT_EQ(main.ingles.Count(), 71);

    // The engine component as streamed; start-up replaces the 12 with the slider's level.
    EXPECT_FALSE(main.zip.Verbose);
    EXPECT_FALSE(main.zip.Trace);
    EXPECT_EQ(main.zip.AddCompLevel, 12);
    EXPECT_EQ(main.zip.AddOptions,
              (AddOpts{AddOptsEnum::AddRecurseDirs, AddOptsEnum::AddHiddenFiles}));
    EXPECT_TRUE(main.zip.ExtrOptions.Empty());
    EXPECT_EQ(main.zip.OwnerWindow(), reinterpret_cast<std::uintptr_t>(main.Handle()));

    // The file dialogs.
    EXPECT_EQ(main.ABRE.Title(), "Abrir Archivo / Open archive");
    EXPECT_EQ(main.ABRE.Filter(), "Zip|*.zip| *.*|*.*");
    EXPECT_TRUE(main.ABRE.Options().fileMustExist);
    EXPECT_FALSE(main.ABRE.Options().allowMultiSelect);
    EXPECT_EQ(main.nuevo.Title(), "Nuevo Archivo ZIP  /   New Zip File");
    EXPECT_EQ(main.nuevo.Filter(), " Zip|*.zip|*.*|*.*");
    EXPECT_FALSE(main.nuevo.Options().fileMustExist);
    EXPECT_EQ(main.anyadir.Title(), "Añadir / Add");
    EXPECT_EQ(main.anyadir.Filter(), "*.*");
    EXPECT_TRUE(main.anyadir.Options().allowMultiSelect);
    EXPECT_TRUE(main.anyadir.Options().pathMustExist);
}

// What the tooltip of a tool bar button would show.
std::string TooltipText(HWND toolBar, int index) {
    TBBUTTON button{};
    ::SendMessageA(toolBar, TB_GETBUTTON, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&button));
    HWND tips = reinterpret_cast<HWND>(::SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0));
    char text[256] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = toolBar;
    tool.uId = static_cast<UINT_PTR>(button.idCommand);
    tool.lpszText = text;
    ::SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST_F(MainWindowLayout, OnlyTheLanguageButtonsShowTheirHints) {
    Start();
    EXPECT_EQ(TooltipText(Main().ToolBar1.Handle(), 0),
              "Pulse aquí para cambiar Tarvox a castellano.");
    EXPECT_EQ(TooltipText(Main().ToolBar1.Handle(), 1), "Push here to change to English.");
    EXPECT_EQ(Main().Bnuevo.Hint(), "Crear un archivo ZIP");
    EXPECT_EQ(TooltipText(Main().barra1.Handle(), 0), "") << "stored, not shown";
}

TEST_F(MainWindowLayout, HasItsMenuWithTheRecentItemsAbsent) {
    Start();
    const HWND window = Main().Handle();
    EXPECT_EQ(MenuBar(window),
              (std::vector<MenuEntry>{
                  {"&Ficheros", true}, {"&Opciones", true}, {"&Utiles", true}, {"A&yuda", true}}));
    EXPECT_EQ(DropDown(window, 0), (std::vector<MenuEntry>{{"Nuevo...", true},
                                                           {"Abrir...", true},
                                                           {"Cerrar", false},
                                                           {"-", true},
                                                           {"Salir", true},
                                                           {"-", true},
                                                           {"Comprobar archivo", false}}));
    EXPECT_EQ(DropDown(window, 1), (std::vector<MenuEntry>{{"Configuracion", true},
                                                           {"Contraseña para añadir...", true},
                                                           {"Codificación de nombres", true}}));
    EXPECT_EQ(DropDown(window, 2), (std::vector<MenuEntry>{{"Bloc de Notas", true},
                                                           {"Explorador", true},
                                                           {"Calculadora", true},
                                                           {"Shell al Ms-Dos", true}}));
    EXPECT_EQ(DropDown(window, 3), (std::vector<MenuEntry>{{"Índice", true}, {"Créditos", true}}));
}

TEST_F(MainWindowLayout, ChoosingATabShowsItsPage) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    EXPECT_TRUE(::IsWindowVisible(main.barra1.Handle()));
    EXPECT_FALSE(::IsWindowVisible(main.Barra_Nivel.Handle()));
    // A click on the second tab, as the user makes it.
    RECT tab{};
    ::SendMessageA(main.v.Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ::SendMessageA(main.v.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(main.v.Handle(), WM_LBUTTONUP, 0, at);
    PumpMessages();
    EXPECT_EQ(main.v.ActivePageIndex(), 1);
    EXPECT_TRUE(::IsWindowVisible(main.Barra_Nivel.Handle()));
    EXPECT_FALSE(::IsWindowVisible(main.barra1.Handle()));
}

TEST_F(MainWindowLayout, TheSliderTakesTheWidthBetweenItsLabelsAtAnyWindowWidth) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    int previous = 0;
    for (int width : {520, 686, 900}) {
        SCOPED_TRACE(width);
        ::SetWindowPos(main.Handle(), nullptr, 0, 0, width, 432, SWP_NOMOVE | SWP_NOZORDER);
        RECT page{};
        ::GetClientRect(main.TabSheet2.Handle(), &page);
        const RECT left = BoundsInParent(main.txtnivel1.Handle());
        const RECT slider = BoundsInParent(main.Barra_Nivel.Handle());
        const RECT right = BoundsInParent(main.txtnivel2.Handle());
        EXPECT_EQ(left.left, 8);
        EXPECT_EQ(slider.left - left.right, 8);
        EXPECT_EQ(right.left - slider.right, 8);
        EXPECT_EQ(page.right - right.right, 8) << "the second label stays at the right";
        EXPECT_EQ(right.right - right.left, left.right - left.left);
        EXPECT_GT(slider.right - slider.left, previous);
        previous = slider.right - slider.left;
    }
}

// After a change of width the status bars are painted whole (no part edge is left
// where the bar used to end), and the tool bar's scroller offers its arrow exactly when
// the buttons do not fit, which at the design's width and wider they do.
TEST_F(MainWindowLayout, BarsFollowTheWindowWidth) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    for (int width : {900, 480, 686, 1000}) {
        SCOPED_TRACE(width);
        PumpMessages();
        ::SetWindowPos(main.Handle(), nullptr, 0, 0, width, 432, SWP_NOMOVE | SWP_NOZORDER);
        for (HWND bar : {main.estado.Handle(), main.archivo.Handle()}) {
            RECT client{}, invalid{};
            ::GetClientRect(bar, &client);
            ::GetUpdateRect(bar, &invalid, FALSE);
            EXPECT_TRUE(::EqualRect(&client, &invalid))
                << invalid.left << ".." << invalid.right << " of " << client.right;
        }
        RECT scroller{};
        ::GetClientRect(main.PageScroller1.Handle(), &scroller);
        const bool fits = main.barra1.IdealWidth() <= scroller.right;
        const auto arrow =
            ::SendMessageA(main.PageScroller1.Handle(), PGM_GETBUTTONSTATE, 0, PGB_BOTTOMORRIGHT);
        EXPECT_EQ(arrow == PGF_INVISIBLE, fits) << main.barra1.IdealWidth();
        // From the design's width on, the buttons narrow to fit, down to their captions.
        EXPECT_TRUE(fits || width < 686) << main.barra1.IdealWidth();
    }
}

// The level follows the slider when the user moves it, and every application of the
// settings recomputes it.
TEST_F(MainWindowLayout, TheSliderSetsTheCompressionLevel) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    EXPECT_EQ(main.zip.AddCompLevel, 7);
    const std::pair<int, int> cases[] = {{0, 0},  {4, 0},  {9, 0},  {10, 1},
                                         {43, 7}, {49, 8}, {50, 9}, {25, 4}};
    for (const auto& [position, level] : cases) {
        main.Barra_Nivel.SetPosition(position);
        ::SendMessageA(main.TabSheet2.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                       reinterpret_cast<LPARAM>(main.Barra_Nivel.Handle()));
        EXPECT_EQ(main.zip.AddCompLevel, level) << position;
    }
    // The keyboard moves the slider one step and the level with it.
    main.Barra_Nivel.SetPosition(44);
    ::SendMessageA(main.Barra_Nivel.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    PumpMessages();
    EXPECT_EQ(main.Barra_Nivel.Position(), 45);
    EXPECT_EQ(main.zip.AddCompLevel, 8);
    // Applying the settings takes the level from the slider again.
    main.zip.AddCompLevel = 3;
    main.ActualizaOpciones();
    EXPECT_EQ(main.zip.AddCompLevel, 8);
}

TEST_F(MainWindowLayout, TheClockShowsTheLongTimeEverySecond) {
    StartAndShow();
    TPRINCIPAL& main = Main();
    EXPECT_TRUE(main.relox.Enabled());
    char before[64] = {}, after[64] = {};
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, before, sizeof before);
    ::SendMessageA(main.Handle(), WM_TIMER, main.relox.Id(), 0);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, after, sizeof after);
    const std::string shown = StatusText(main.estado.Handle(), 2);
    EXPECT_TRUE(shown == before || shown == after) << shown;
    EXPECT_NE(shown.find(':'), std::string::npos) << shown;
}

} // namespace
