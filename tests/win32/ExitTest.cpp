// Every way out ends the process with code 0, deleting the temporary files and writing
// both settings files. The program leaves for real, so it runs in a child process.

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

#include "tests/support/TempDir.h"
#include "tests/win32/ChildProgram.h"
#include "tests/win32/ScratchClassesRoot.h"

namespace {

// Runs the probe and returns its exit code, or -1 when it could not run or hung.
int RunProbe(const std::string& folder, const std::string& key, const std::string& way) {
    std::string commandLine;
    for (const std::string& part : {ProgramBesideTests("exit_probe.exe"), folder, key}) {
        commandLine.append("\"").append(part).append("\" ");
    }
    return RunAndWait(commandLine.append(way));
}

TEST(Exit, EveryWayOutSavesBothFilesDeletesTheTemporaryOnesAndEndsWithZero) {
    for (const char* way : {"button", "menu", "close", "system-menu", "alt-f4", "end-session"}) {
        SCOPED_TRACE(way);
        TempDir folder;
        ScratchClassesRoot registry;
        registry.SetDefault(".zip", "Tarvox");
        registry.SetDefault("Tarvox\\dir", folder.Path().string());
        // Extra settings lines are kept; the recent list comes back with CR LF.
        folder.Write("conf.txm", "c:\\\r\nc:\\\r\nc:\\\r\n1\r\nquinta\r\nsexta\r\n");
        folder.Write("ult.txm", "c:\\a.zip\nc:\\b.zip");
        const std::string copy = folder.Write("copia.txt", "x");
        const std::string readOnly = folder.Write("readonly.txt", "y");
        ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);

        EXPECT_EQ(RunProbe(folder.Path().string(), registry.Path(), way), 0);

        EXPECT_EQ(ReadFileBytes(folder.File("conf.txm")),
                  "c:\\\r\nc:\\\r\nc:\\\r\n2\r\nquinta\r\nsexta\r\n");
        EXPECT_EQ(ReadFileBytes(folder.File("ult.txm")), "c:\\a.zip\r\nc:\\b.zip\r\n");
        EXPECT_FALSE(std::filesystem::exists(copy));
        EXPECT_TRUE(std::filesystem::exists(readOnly)) << "a file that cannot go is skipped";
        ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(Exit, AFileThatCannotBeWrittenStillLetsTheUserLeave) {
    TempDir folder;
    ScratchClassesRoot registry;
    registry.SetDefault(".zip", "Tarvox");
    registry.SetDefault("Tarvox\\dir", folder.Path().string());
    folder.Write("conf.txm", "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n");
    // The recent list's name is taken by a folder: it can be neither read nor written.
    std::filesystem::create_directory(folder.Path() / "ult.txm");
    EXPECT_EQ(RunProbe(folder.Path().string(), registry.Path(), "button"), 0);
    EXPECT_EQ(ReadFileBytes(folder.File("conf.txm")), "c:\\\r\nc:\\\r\nc:\\\r\n2\r\n")
        << "the settings are written all the same";
}

} // namespace
