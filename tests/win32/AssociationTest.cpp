// The ".zip" association check and the program folder from the registry.

#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

#include "app/Program.h"
#include "main/Cdatos.h"
#include "tests/win32/ProgramFixture.h"
#include "util/InOutError.h"

namespace {

const char kAssociationMessage[] =
    "Tarvox ha detectado que la asociación con ZIP no estaba activada y la ha activado";

std::string CurrentDirectory() {
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    return directory;
}

class Association : public ProgramFixture {};

TEST_F(Association, ACorrectRegistryShowsNothingAndGivesTheProgramFolder) {
    StartAndShow();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Datos.DirPrograma, Folder() + "\\");
    EXPECT_EQ(CurrentDirectory(), Folder());
    EXPECT_EQ(registry_.Default(".zip"), "Tarvox");
}

TEST_F(Association, AnotherFileTypeIsReplacedAfterTheMessageOnce) {
    for (const char* value : {"OtroTipo", "", "tarvox"}) {
        SCOPED_TRACE(value);
        registry_.SetDefault(".zip", value);
        StartAndShow();
        ASSERT_EQ(Messages(), (std::vector<std::string>{kAssociationMessage}));
        const platform::MessageBoxRequest& box = MessageRequests()[0];
        EXPECT_EQ(box.caption, "Tarvox");
        EXPECT_EQ(box.style, platform::kMbOk);
        EXPECT_EQ(registry_.Default(".zip"), "Tarvox");
        EXPECT_EQ(Datos.Idioma, 1) << "start-up went on";
        app::DestroyForms();
        ClearMessages();
        // The next start finds the association in place.
        StartAndShow();
        EXPECT_TRUE(Messages().empty());
        app::DestroyForms();
        ClearMessages();
    }
}

TEST_F(Association, AFreshRegistryGetsTheAssociationAndEmptyKeys) {
    registry_.Clear();
    // What ".zip" holds while the user reads the message: the key, not yet the value.
    std::vector<std::optional<std::string>> whileShown;
    bool keyWhileShown = false;
    const platform::MessageBoxHandler recorder = platform::SetMessageBoxHandler(nullptr);
    platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
        whileShown.push_back(registry_.Default(".zip"));
        keyWhileShown = registry_.KeyExists(".zip");
        return recorder(request);
    });
    StartAndShow();
    platform::SetMessageBoxHandler(recorder);
    ASSERT_FALSE(whileShown.empty());
    EXPECT_EQ(whileShown[0], std::nullopt) << "written only after the message";
    EXPECT_TRUE(keyWhileShown);
    // No folder registered: the program folder is the root of the current drive.
    ASSERT_GE(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], kAssociationMessage);
    EXPECT_EQ(registry_.Default(".zip"), "Tarvox");
    EXPECT_TRUE(registry_.KeyExists("Tarvox\\dir"));
    EXPECT_EQ(registry_.Default("Tarvox\\dir"), std::nullopt);
    EXPECT_EQ(Datos.DirPrograma, "\\");
    EXPECT_EQ(CurrentDirectory().size(), 3u) << CurrentDirectory();
    EXPECT_EQ(Datos.FicheroConfig, "\\conf.txm");
}

// A double click on an archive after the first start, as the shell looks it up: the
// default verb of the file type ".zip" names, which opens it in this program.
TEST_F(Association, AfterTheFirstStartADoubleClickOpensTheArchiveHere) {
    registry_.Clear();
    registry_.SetDefault("Tarvox\\dir", Folder());
    StartAndShow();
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    char command[2 * MAX_PATH] = {};
    DWORD size = sizeof command;
    ASSERT_EQ(::AssocQueryStringA(ASSOCF_NONE, ASSOCSTR_COMMAND, ".zip", nullptr, command, &size),
              S_OK);
    EXPECT_EQ(std::string(command), std::string(1, '"').append(self).append("\" \"%1\""));
    EXPECT_EQ(registry_.Default("Tarvox\\shell"), "open");
}

TEST_F(Association, AFolderWithAFinalBackslashGetsASecondOne) {
    registry_.SetDefault("Tarvox\\dir", Folder() + "\\");
    StartAndShow();
    EXPECT_EQ(Datos.DirPrograma, Folder() + "\\\\");
    EXPECT_EQ(Datos.FicheroConfig, Folder() + "\\\\conf.txm");
    EXPECT_TRUE(Messages().empty()) << "the doubled separator still names the folder";
}

TEST_F(Association, FailuresStopStartUpWithTheFrameworkTexts) {
    struct Case {
        const char* name;
        void (*prepare)(ScratchClassesRoot&, const std::string& folder);
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"a .zip value of another type",
         [](ScratchClassesRoot& r, const std::string&) { r.SetDefaultDword(".zip", 7); },
         {"Invalid data type for ''"}},
        {"a folder value of another type",
         [](ScratchClassesRoot& r, const std::string&) { r.SetDefaultDword("Tarvox\\dir", 7); },
         {"Invalid data type for ''"}},
        {"no rights on the registry",
         [](ScratchClassesRoot& r, const std::string&) { r.MakeUnwritable(); },
         {kAssociationMessage, "Failed to set data for ''"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry_.Clear();
        registry_.SetDefault(".zip", "Tarvox");
        registry_.SetDefault("Tarvox\\dir", Folder());
        c.prepare(registry_, Folder());
        StartAndShow();
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(Datos.Idioma, 0) << "the settings were not applied";
        EXPECT_EQ(Main().zip.AddCompLevel, 12);
        // The program folder is unknown: leaving writes nothing and says nothing more.
        exitCodes_.clear();
        Main().Salir();
        EXPECT_EQ(exitCodes_, std::vector<int>{0});
        EXPECT_EQ(Messages(), c.messages);
        app::DestroyForms();
        ClearMessages();
    }
}

TEST_F(Association, AProgramFolderThatIsMissingIsAnInputOutputError) {
    registry_.SetDefault("Tarvox\\dir", Folder() + "\\no such folder");
    StartAndShow();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0] == util::InOutErrorText(2) ||
                Messages()[0] == util::InOutErrorText(3))
        << Messages()[0];
    EXPECT_EQ(MessageRequests()[0].style, platform::kMbOk | platform::kMbIconError);
    EXPECT_EQ(MessageRequests()[0].caption, "Tarvox");
    EXPECT_EQ(Datos.FicheroConfig, Folder() + "\\no such folder\\conf.txm");
    EXPECT_EQ(Main().confi.Text(), "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n") << "nothing read";
}

} // namespace
