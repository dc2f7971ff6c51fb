// Tools, help and web page through the shell, from every control that launches them.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "dialogs/Cinicio.h"
#include "main/Cdatos.h"
#include "main/SettingsRules.h"
#include "tests/win32/ProgramFixture.h"
#include "tests/win32/Readback.h"

namespace {

class Launcher : public ProgramFixture {
protected:
    std::string LastFile() const {
        return shell_->requests.empty() ? std::string() : shell_->requests.back().file;
    }
};

void MakeFile(const std::string& path) {
    std::ofstream(path) << "x";
}

TEST_F(Launcher, EveryControlStartsItsTarget) {
    MakeFile(FolderFile("ayuda.hlp"));
    StartAndShow();
    TPRINCIPAL& main = Main();
    const HWND window = main.Handle();
    const std::string help = Folder() + "\\ayuda.hlp";
    struct Case {
        const char* control;
        std::function<void()> click;
        std::string file;
    };
    const Case cases[] = {
        {"Bbloc", [&] { ClickToolButton(main.barra2.Handle(), 0); }, "notepad.exe"},
        {"Bexplor", [&] { ClickToolButton(main.barra2.Handle(), 1); }, "explorer.exe"},
        {"Bcalc", [&] { ClickToolButton(main.barra2.Handle(), 2); }, "calc.exe"},
        {"Bshell", [&] { ClickToolButton(main.barra2.Handle(), 3); }, "command.com"},
        {"BlocdeNotas1", [&] { ChooseMenuItem(window, 2, 0); }, "notepad.exe"},
        {"Explorador1", [&] { ChooseMenuItem(window, 2, 1); }, "explorer.exe"},
        {"Calculadora1", [&] { ChooseMenuItem(window, 2, 2); }, "calc.exe"},
        {"Mshell", [&] { ChooseMenuItem(window, 2, 3); }, "command.com"},
        {"ndice1", [&] { ChooseMenuItem(window, 3, 0); }, help},
        {"ToolButton1", [&] { ClickToolButton(main.barra1.Handle(), 8); }, kWebPage},
    };
    for (const Case& c : cases) {
        shell_->requests.clear();
        c.click();
        ASSERT_EQ(shell_->requests.size(), 1u) << c.control;
        const platform::ShellExecuteRequest& request = shell_->requests[0];
        EXPECT_EQ(request.file, c.file) << c.control;
        EXPECT_EQ(request.owner, reinterpret_cast<std::uintptr_t>(inicio->Handle())) << c.control;
        EXPECT_FALSE(request.verb.has_value()) << c.control;
        EXPECT_EQ(request.parameters, "") << c.control;
        EXPECT_EQ(request.directory, "") << c.control;
        EXPECT_EQ(request.showCommand, 5) << c.control;
    }
    EXPECT_TRUE(Messages().empty()) << "a launch reports nothing";
}

// The ".hlp" file of the language when the program folder has it, its ".html" page when not.
TEST_F(Launcher, HelpFollowsTheLanguageFlagAtTheClick) {
    StartAndShow();
    struct Case {
        int flag;
        const char* present; // the ".hlp" file in the program folder, if any
        const char* opened;
    };
    const Case cases[] = {
        {1, nullptr, "ayuda.html"},    {2, nullptr, "help.html"},    {0, nullptr, "help.html"},
        {1, "help.hlp", "ayuda.html"}, {2, "help.hlp", "help.hlp"},  {7, "help.hlp", "help.hlp"},
        {1, "ayuda.hlp", "ayuda.hlp"}, {2, "ayuda.hlp", "help.hlp"},
    };
    for (const Case& c : cases) {
        if (c.present != nullptr) {
            MakeFile(FolderFile(c.present));
        }
        Datos.Idioma = c.flag;
        Main().ndice1Click();
        EXPECT_EQ(LastFile(), Folder() + "\\" + c.opened) << c.flag << " " << c.opened;
    }
}

TEST_F(Launcher, OtherNumbersStartNothing) {
    StartAndShow();
    for (unsigned number : {0u, 7u, 1000u}) {
        Main().Ejecuta(number);
    }
    EXPECT_TRUE(shell_->requests.empty());
}

TEST_F(Launcher, AFailingShellShowsNothing) {
    shell_.reset();
    shell_ = std::make_unique<ShellRecorder>(platform::kSeErrNoAssoc);
    StartAndShow();
    Main().ToolButton1Click();
    EXPECT_EQ(shell_->requests.size(), 1u);
    EXPECT_TRUE(Messages().empty());
}

} // namespace
