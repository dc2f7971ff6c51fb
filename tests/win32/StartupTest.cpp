// Program entry, the start timer and the start-up sequence with its settings files.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <windows.h>

#include "app/Program.h"
#include "dialogs/Cborra.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "dialogs/Cinicio.h"
#include "dialogs/Cprogr.h"
#include "dialogs/Unit1.h"
#include "main/Cdatos.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Application.h"

namespace {

std::vector<std::string>* createdWindows = nullptr;

LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        char name[128] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if ((create->lpcs->style & WS_CHILD) == 0 && name[0] == 'T') {
            createdWindows->push_back(name);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class Startup : public ProgramFixture {};

TEST_F(Startup, CreatesEveryWindowOnceInItsOrder) {
    std::vector<std::string> created;
    createdWindows = &created;
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, RecordCreation, nullptr, ::GetCurrentThreadId());
    Start();
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(created, (std::vector<std::string>{"Tinicio", "TPRINCIPAL", "Tdescompri", "Tborra",
                                                 "Tdirek", "Tconfig", "Tcredits", "Tprogreso",
                                                 "TForm1", "Tclave", "Tclaveanyadir"}));
    EXPECT_NE(Datos_Generales, nullptr) << "the data module between folders and configuration";
    EXPECT_EQ(platform::ApplicationTitle(), "Tarvox");
    const std::string& help = ui::App().HelpFile;
    EXPECT_TRUE(help.size() > 12 && help[1] == ':' && help.ends_with("\\Ayuda.hlp")) << help;
}

TEST_F(Startup, ShowsTheSplashAndKeepsTheOtherWindowsHidden) {
    Start();
    HWND splash = inicio->Handle();
    EXPECT_TRUE(::IsWindowVisible(splash));
    EXPECT_EQ(::GetWindowLongA(splash, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    RECT client{}, window{};
    ::GetClientRect(splash, &client);
    ::GetWindowRect(splash, &window);
    EXPECT_EQ(client.right, 466);
    EXPECT_EQ(client.bottom, 149);
    EXPECT_EQ(window.left, 196);
    EXPECT_EQ(window.top, 192);
    EXPECT_EQ(inicio->Color(), RGB(0, 0, 0));
    EXPECT_EQ(WindowCaption(splash), "Tarvox v4.1.0    ");
    EXPECT_EQ(WindowCaption(inicio->Label1.Handle()), "Espere un instante,trabajando...");
    EXPECT_EQ(inicio->Label1.TextColor(), RGB(0, 255, 0));

    // Windows whose controls come later: caption, size, place; all hidden.
    struct Expected {
        ui::Form* form;
        const char* caption;
        int width, height;
        bool centred;
    };
    const Expected windows[] = {
        {PRINCIPAL, "TARVOX  v4.1.0    ", 686, 432, true},
        {descompri, "Descomprimir en ...", 480, 484, true},
        {borra, "borra", 252, 197, true},
        {direk, "Directorios", 424, 438, true},
        {config, "Configuración", 444, 319, true},
        {progreso, "progreso", 257, 96, true},
        {Form1, "Form1", 544, 375, false},
    };
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const Expected& expected : windows) {
        HWND handle = expected.form->Handle();
        EXPECT_EQ(WindowCaption(handle), expected.caption);
        EXPECT_FALSE(::IsWindowVisible(handle)) << expected.caption;
        RECT bounds{};
        ::GetWindowRect(handle, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, expected.width) << expected.caption;
        EXPECT_EQ(bounds.bottom - bounds.top, expected.height) << expected.caption;
        if (expected.centred) {
            EXPECT_NEAR((bounds.left + bounds.right) / 2, (work.left + work.right) / 2, 1)
                << expected.caption;
        }
    }
    EXPECT_EQ(config->Color(), RGB(0, 128, 128));
    EXPECT_EQ(WindowCaption(progreso->Label1.Handle()), "Trabajando...");
    // The credits window: borderless, its client area as laid out.
    RECT credits_client{};
    ::GetClientRect(credits->Handle(), &credits_client);
    EXPECT_EQ(credits_client.right, 537);
    EXPECT_EQ(credits_client.bottom, 381);
    EXPECT_EQ(WindowCaption(credits->Handle()), "Créditos");
    EXPECT_FALSE(::IsWindowVisible(credits->Handle()));
}

TEST_F(Startup, TheStartTimerSwapsTheSplashForTheMainWindowOnce) {
    Start();
    EXPECT_EQ(Main().reloj_inicio.Interval(), 900u);
    EXPECT_EQ(Main().relox.Interval(), 1000u);
    EXPECT_TRUE(Main().relox.Enabled());
    EXPECT_EQ(StatusText(Main().estado.Handle(), 3), "") << "start-up has not run";
    TickStartTimer();
    EXPECT_FALSE(::IsWindowVisible(inicio->Handle()));
    EXPECT_FALSE(::IsWindowEnabled(inicio->Handle()));
    EXPECT_TRUE(::IsWindowVisible(Main().Handle()));
    EXPECT_FALSE(Main().reloj_inicio.Enabled());
    EXPECT_EQ(StatusText(Main().estado.Handle(), 3), "Ruvel Soft");
    // A second tick (one already queued) runs nothing again.
    registry_.SetDefault(".zip", "Other");
    TickStartTimer();
    EXPECT_TRUE(Messages().empty());
}

// A user takes a while to close the association message; the start timer keeps ticking
// meanwhile, and start-up must still run once.
TEST_F(Startup, StartUpRunsOnceWhileAMessageWaitsForTheUser) {
    registry_.SetDefault(".zip", "Other");
    std::vector<std::string> shown;
    const platform::MessageBoxHandler recorder =
        platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
            shown.push_back(request.text);
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
            while (std::chrono::steady_clock::now() < until) {
                PumpMessages();
                ::Sleep(20);
            }
            return platform::kIdOk;
        });
    Start();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Main().reloj_inicio.Enabled() && std::chrono::steady_clock::now() < until) {
        PumpMessages();
        ::Sleep(20);
    }
    platform::SetMessageBoxHandler(recorder);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(Main().Handle()));
    EXPECT_FALSE(Main().reloj_inicio.Enabled());
    EXPECT_EQ(Datos.Idioma, 1) << "start-up ran to its end";
}

TEST_F(Startup, TheMainWindowComesByItselfAfterTheStartTimer) {
    const auto begin = std::chrono::steady_clock::now();
    Start();
    while (!::IsWindowVisible(Main().Handle()) &&
           std::chrono::steady_clock::now() - begin < std::chrono::seconds(10)) {
        MSG message;
        if (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            ::DispatchMessageA(&message);
        }
    }
    const auto waited = std::chrono::steady_clock::now() - begin;
    EXPECT_TRUE(::IsWindowVisible(Main().Handle()));
    EXPECT_FALSE(::IsWindowVisible(inicio->Handle()));
    EXPECT_GE(waited, std::chrono::milliseconds(850));
    EXPECT_EQ(StatusText(Main().estado.Handle(), 3), "Ruvel Soft");
}

// The settings files and what start-up makes of them.
TEST_F(Startup, SettingsFilesDecideFoldersLanguageAndLevel) {
    struct Case {
        const char* name;
        const char* conf; // nullptr: no such file
        const char* recent;
        std::vector<std::string> messages; // "%" stands for the program folder
        int language;
        const char* initialDir; // of the open dialog after start-up
        bool english;
        int level;
    };
    const Case cases[] = {
        {"defaults", "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n", "", {}, 1, "c:\\", false, 7},
        {"folders", "d:\\datos\r\nc:\\temp\\\r\n\r\n1\r\n", "", {}, 1, "d:\\datos\\", false, 7},
        {"english", "c:\\\r\nc:\\\r\nc:\\\r\n2\r\n", "", {}, 2, "c:\\", true, 7},
        {"zero", "c:\\\r\nc:\\\r\nc:\\\r\n0\r\n", "", {}, 0, "c:\\", true, 7},
        {"not a number",
         "c:\\\r\nc:\\\r\nc:\\\r\nx\r\n",
         "",
         {"'x' is not a valid integer value"},
         0,
         "",
         false,
         7},
        {"no line 4",
         "c:\\\r\nc:\\\r\nc:\\\r\n",
         "",
         {"'' is not a valid integer value"},
         0,
         "",
         false,
         7},
        {"no settings file",
         nullptr,
         "a.zip\r\n",
         {"Cannot open file %\\conf.txm"},
         0,
         "",
         false,
         12},
        {"no recent file",
         "c:\\\r\nc:\\\r\nc:\\\r\n2\r\n",
         nullptr,
         {"Cannot open file %\\ult.txm"},
         0,
         "",
         false,
         12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings(c.conf ? c.conf : "", c.recent ? c.recent : "");
        if (!c.conf) {
            std::filesystem::remove(FolderFile("conf.txm"));
        }
        if (!c.recent) {
            std::filesystem::remove(FolderFile("ult.txm"));
        }
        StartAndShow();
        std::vector<std::string> expected;
        for (std::string message : c.messages) {
            if (const auto at = message.find('%'); at != std::string::npos) {
                message.replace(at, 1, Folder());
            }
            expected.push_back(message);
        }
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(Datos.Idioma, c.language);
        EXPECT_EQ(Main().ABRE.InitialDir(), c.initialDir);
        EXPECT_EQ(Main().nuevo.InitialDir(), c.initialDir);
        EXPECT_EQ(Main().anyadir.InitialDir(), c.initialDir);
        EXPECT_EQ(Main().zip.AddCompLevel, c.level);
        EXPECT_EQ(WindowCaption(Main().Handle()), "TARVOX  v4.1.0    ");
        EXPECT_EQ(ToolButtons(Main().barra1.Handle())[0].caption, c.english ? "&New" : "&Nuevo");
        EXPECT_EQ(StatusText(Main().estado.Handle(), 0), c.english ? "  Ready" : "     Listo");
        // Whatever failed, exit writes into the program folder.
        EXPECT_EQ(Datos.FicheroConfig, Folder() + "\\conf.txm");
        EXPECT_EQ(Datos.FicheroUltimos, Folder() + "\\ult.txm");
        if (c.conf == nullptr) {
            EXPECT_EQ(Main().confi.Text(), "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n") << "design lines kept";
            EXPECT_EQ(Main().ultimos.Count(), 0) << "the recent file is not read";
        }
        app::DestroyForms();
        ClearMessages();
    }
}

TEST_F(Startup, FoldersFollowTheThreeCharacterRule) {
    WriteSettings("c:\\temp\r\nc:\\temp\\\r\nc:\\\r\n1\r\n", "");
    StartAndShow();
    EXPECT_EQ(Datos.DirInicial, "c:\\temp\\");
    EXPECT_EQ(Datos.DirTemporal, "c:\\temp\\\\");
    EXPECT_EQ(Datos.DirExtraccion, "c:\\");
}

TEST_F(Startup, ALineThatIsNoNumberStopsAfterTheFoldersAndKeepsTheRecentItemsHidden) {
    WriteSettings("d:\\\r\ne:\\x\r\nf:\\y\r\nuno\r\n", "c:\\a.zip\r\n");
    StartAndShow({"c:\\a.zip", "0"});
    EXPECT_EQ(Messages(), (std::vector<std::string>{"'uno' is not a valid integer value"}));
    EXPECT_EQ(Datos.DirInicial, "d:\\");
    EXPECT_EQ(Datos.DirTemporal, "e:\\x\\");
    EXPECT_EQ(Datos.DirExtraccion, "f:\\y\\");
    EXPECT_EQ(DropDown(Main().Handle(), 0).size(), 7u) << "no recent item shown";
    EXPECT_TRUE(modalWindows_.empty()) << "the command line is not handed over";
}

TEST_F(Startup, RecentItemsShowTheFirstFourEntries) {
    WriteSettings(
        "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n",
        "c:\\a.zip\r\nc:\\b & c.zip\r\nc:\\c.zip\r\nc:\\d.zip\r\nc:\\e.zip\r\nc:\\f.zip\r\n");
    StartAndShow();
    const auto items = DropDown(Main().Handle(), 0);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[4].caption, "Salir");
    EXPECT_EQ(items[5].caption, "c:\\a.zip");
    // A path is shown as it is written: its "&" marks no access key.
    EXPECT_EQ(items[6].caption, "c:\\b && c.zip");
    EXPECT_EQ(Main().ult2.Caption(), "c:\\b & c.zip");
    EXPECT_EQ(items[8].caption, "c:\\d.zip");
    EXPECT_EQ(Main().ultimos.Count(), 6) << "the list itself is kept whole";
    // Applying again after the list shrank shows only what is left.
    Main().ultimos.SetText("c:\\z.zip\r\n");
    Main().ActualizaOpciones();
    const auto after = DropDown(Main().Handle(), 0);
    ASSERT_EQ(after.size(), 8u);
    EXPECT_EQ(after[5].caption, "c:\\z.zip");
}

TEST_F(Startup, TheCommandLineIsHandedOver) {
    StartAndShow({"C:\\no such.zip", "0"});
    ASSERT_EQ(modalWindows_.size(), 1u);
    EXPECT_EQ(modalWindows_[0], reinterpret_cast<std::uintptr_t>(descompri->Handle()));
    app::DestroyForms();
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"C:\\a.zip"}, {"C:\\a.zip", "1"}, {"C:\\a.zip", "00"}}) {
        modalWindows_.clear();
        StartAndShow(arguments);
        EXPECT_TRUE(modalWindows_.empty()) << arguments.size();
        app::DestroyForms();
    }
}

} // namespace
