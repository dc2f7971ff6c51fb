// The language buttons and the English captions of the main window.

#include <gtest/gtest.h>

#include "dialogs/Cborra.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "main/Cdatos.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Guard.h"

namespace {

class Language : public ProgramFixture {};

struct Captions {
    std::vector<ToolButtonState> actions, tools, languages;
    std::vector<std::string> columns, tabs;
    std::vector<MenuEntry> bar, file, options, utilities, help;
    std::string level1, level2, ready, maker, window;

    bool operator==(const Captions&) const = default;
};

Captions Read(TPRINCIPAL& main) {
    const HWND w = main.Handle();
    return {ToolButtons(main.barra1.Handle()),
            ToolButtons(main.barra2.Handle()),
            ToolButtons(main.ToolBar1.Handle()),
            ColumnCaptions(main.lista.Handle()),
            TabCaptions(main.v.Handle()),
            MenuBar(w),
            DropDown(w, 0),
            DropDown(w, 1),
            DropDown(w, 2),
            DropDown(w, 3),
            WindowCaption(main.txtnivel1.Handle()),
            WindowCaption(main.txtnivel2.Handle()),
            StatusText(main.estado.Handle(), 0),
            StatusText(main.estado.Handle(), 3),
            WindowCaption(w)};
}

TEST_F(Language, IspeakEnglishRecordsTheChoiceAndAskForARestart) {
    StartAndShow();
    const Captions spanish = Read(Main());
    ClickToolButton(Main().ToolBar1.Handle(), 1);
    EXPECT_EQ(Main().confi.Get(3), "2");
    ASSERT_EQ(Messages(),
              (std::vector<std::string>{"You must restart program to changes take effect"}));
    EXPECT_EQ(MessageRequests()[0].caption, "Tarvox");
    EXPECT_EQ(Read(Main()), spanish) << "the click itself changes no text";
    EXPECT_EQ(Datos.Idioma, 1);

    ClickToolButton(Main().ToolBar1.Handle(), 0);
    EXPECT_EQ(Main().confi.Get(3), "1");
    EXPECT_EQ(Messages().back(),
              "Tendrá que reiniciar el programa para que tengan efecto los cambios");
    ClickToolButton(Main().ToolBar1.Handle(), 0);
    EXPECT_EQ(Messages().size(), 3u) << "the same choice again shows its message again";
}

TEST_F(Language, ApplyingTheSettingsAfterTheChoiceShowsEnglishCaptions) {
    StartAndShow();
    const Captions spanish = Read(Main());
    ClickToolButton(Main().ToolBar1.Handle(), 1);
    Main().ActualizaOpciones();
    const Captions english = Read(Main());
    EXPECT_EQ(Datos.Idioma, 2);
    EXPECT_EQ(english.actions, (std::vector<ToolButtonState>{{"&New", 0, true},
                                                             {"O&pen", 1, true},
                                                             {"&Close", 2, false},
                                                             {"&View", 3, false},
                                                             {"      &Add         ", 4, false},
                                                             {"&Delete", 5, false},
                                                             {"&Extract", 6, false},
                                                             {"E&xit", 7, true},
                                                             {"Ruvel Soft Web", 14, true}}));
    EXPECT_EQ(english.tools, (std::vector<ToolButtonState>{{"Notepad", 8, true},
                                                           {"Explorer", 9, true},
                                                           {"Calculator", 10, true},
                                                           {"Ms-Dos", 11, true}}));
    EXPECT_EQ(english.languages, spanish.languages);
    EXPECT_EQ(english.columns, (std::vector<std::string>{"Name", "Date", "Size", "Time", "Ratio"}));
    EXPECT_EQ(english.tabs, (std::vector<std::string>{"Actions", "Compression Level",
                                                      "Windows Tools", "Español / English"}));
    EXPECT_EQ(english.bar,
              (std::vector<MenuEntry>{
                  {"&File", true}, {"&Options", true}, {"&Tools", true}, {"&Help", true}}));
    EXPECT_EQ(english.file, (std::vector<MenuEntry>{{"New", true},
                                                    {"Open ", true},
                                                    {"Close", false},
                                                    {"-", true},
                                                    {"Exit", true},
                                                    {"-", true},
                                                    {"Test archive", false}}));
    EXPECT_EQ(english.options, (std::vector<MenuEntry>{{"Configuration", true},
                                                       {"Password for adding...", true},
                                                       {"Name encoding", true}}));
    EXPECT_EQ(english.utilities,
              (std::vector<MenuEntry>{
                  {"Notepad", true}, {"Explorer", true}, {"Calculator", true}, {"Ms-Dos", true}}));
    EXPECT_EQ(english.help, (std::vector<MenuEntry>{{"Index", true}, {"About...", true}}));
    EXPECT_EQ(english.level1, "More Speed,Less Compression");
    EXPECT_EQ(english.level2, "Less Speed,More Compression");
    EXPECT_EQ(english.ready, "  Ready");
    EXPECT_EQ(english.maker, "Ruvel Soft");
    EXPECT_EQ(english.window, "TARVOX  v4.1.0    ");

    // Applying again changes nothing further; going back to Spanish needs a restart.
    Main().ActualizaOpciones();
    EXPECT_EQ(Read(Main()), english);
    ClickToolButton(Main().ToolBar1.Handle(), 0);
    Main().ActualizaOpciones();
    EXPECT_EQ(Datos.Idioma, 1);
    EXPECT_EQ(Read(Main()), english);
}

// Settings applied again in the middle of a run with a language line that is no number:
// the folders change, the rest stays as the last good application left it.
TEST_F(Language, ALanguageLineThatIsNoNumberLaterKeepsTheFlagCaptionsAndRecentItems) {
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n2\r\n", "c:\\a & b.zip\r\nc:\\c.zip\r\n");
    StartAndShow();
    const Captions english = Read(Main());
    EXPECT_EQ(english.file[5].caption, "c:\\a && b.zip") << "recent items keep their paths";
    EXPECT_EQ(english.file[6].caption, "c:\\c.zip");
    Main().confi.Set(0, "d:\\nuevo");
    Main().confi.Set(3, "x");
    Main().ultimos.SetText("c:\\z.zip\r\n");
    ui::Guarded([this] { Main().ActualizaOpciones(); });
    EXPECT_EQ(Messages(), (std::vector<std::string>{"'x' is not a valid integer value"}));
    EXPECT_EQ(Datos.DirInicial, "d:\\nuevo\\");
    EXPECT_EQ(Datos.Idioma, 2);
    EXPECT_EQ(Main().ABRE.InitialDir(), "c:\\") << "the dialogs keep their folder";
    EXPECT_EQ(Read(Main()), english) << "captions and recent items as they were";
}

TEST_F(Language, SpanishChangesNoCaption) {
    StartAndShow();
    const Captions before = Read(Main());
    Main().PonIdioma();
    Main().ActualizaOpciones();
    EXPECT_EQ(Read(Main()), before);
    EXPECT_EQ(before.ready, "     Listo");
}

class DialogLanguage : public Language, public ::testing::WithParamInterface<int> {};

// The dialogs' captions as a user reads them, applied twice in the language of the flag.
TEST_P(DialogLanguage, TheDialogsShowTheCaptionsOfTheLanguage) {
    struct Target {
        std::function<std::string()> read;
        std::string spanish, english;
    };
    const int flag = GetParam();
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n" + std::to_string(flag) + "\r\n", "");
    StartAndShow();
    const auto button = [](ui::ToolBar& bar, int i) {
        return
            [&bar, i] { return ToolButtons(bar.Handle()).at(static_cast<std::size_t>(i)).caption; };
    };
    const auto caption = [](const ui::Control& control) {
        return [&control] { return WindowCaption(control.Handle()); };
    };
    const auto item = [](ui::RadioGroup& group, int i) {
        return [&group, i] { return group.Item(i); };
    };
    Tdescompri& d = *descompri;
    const Target targets[] = {
        {caption(borra->opc), "Borrar los archivos...", "Delete Files"},
        {item(borra->opc, 0), "Todos", "All"},
        {item(borra->opc, 1), "Solo Seleccionados", "Only selected"},
        {button(borra->ToolBar1, 0), "Borrar", "Delete "},
        {button(borra->ToolBar1, 1), "Cancelar", "Cancel"},
        {caption(*borra), "borra", "borra"},
        {caption(*config), "Configuración", "Configuration"},
        {[] { return TabCaptions(config->Page.Handle()).at(0); }, "Directorios  ", "Folders"},
        {caption(config->Label2), "Directorio Inicial", "StartUp Folder"},
        {caption(config->Label1), "Directorio Temporal", "Temporal Folder"},
        {button(config->ToolBar2, 0), "Ok", "Ok"},
        {button(config->ToolBar2, 1), "Cancelar", "Cancel"},
        {caption(*direk), "Directorios", "Directorios"},
        {caption(direk->Label1), "Temporal", "Temporal Folder"},
        {caption(direk->Label2), "Inicial", "StartUp Folder"},
        {caption(direk->ci), "Directorio Inicial", "StartUp Folder"},
        {caption(direk->ct), "Directorio Temporal", "Temporal Folder"},
        {button(direk->ToolBar1, 0), "    Ok ", "    Ok "},
        {button(direk->ToolBar1, 1), "Cancelar", "Cancel"},
        {caption(d), "Descomprimir en ...", "Extract to..."},
        {button(d.ToolBar1, 0), "Descomprimir", "Extract"},
        {button(d.ToolBar1, 1), "Nuevo Directorio...", "New Folder..."},
        {button(d.ToolBar1, 2), "Cancelar", "Cancel"},
        {caption(d.GroupBox1), "Opciones", "Options"},
        {caption(d.c1), "Restaurar directorios", "Restore folders"},
        {caption(d.c2), "Sobreescribir archivos ", "Overwrite files"},
        {caption(d.c3), "Extraer solo archivos ya existentes", "Extract only not newer"},
        {caption(d.c4), "Extraer solo archivos no existentes", "Extract only newer"},
        {caption(d.opc), "Descomprimir los archivos...", "Extract..."},
        {item(d.opc, 0), "Todos", "All"},
        {item(d.opc, 1), "Solo Seleccionados", "Only Selected"},
        {caption(d.Button1), "---->", "---->"},
        {[&d] { return d.ToolButton1.Hint(); },
         "Pulse aquí para descomprimir el archivo en el directorio seleccionado",
         "Pulse aquí para descomprimir el archivo en el directorio seleccionado"},
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const Target& t : targets) {
            EXPECT_EQ(t.read(), flag == 1 ? t.spanish : t.english) << "flag " << flag;
        }
        Main().ActualizaOpciones();
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, DialogLanguage, ::testing::Values(1, 2));

} // namespace
