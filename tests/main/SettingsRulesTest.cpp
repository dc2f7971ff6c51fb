#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/SettingsRules.h"
#include "resources/TextTable.h"

namespace {

TEST(FolderFromSettingsLine, AppendsABackslashExceptToThreeCharacters) {
    struct Case {
        const char* line;
        const char* folder;
    };
    const Case cases[] = {
        {"c:\\", "c:\\"},
        {"c:\\temp", "c:\\temp\\"},
        {"c:\\temp\\", "c:\\temp\\\\"},
        {"", "\\"},
        {"abc", "abc"}, // three characters, whatever they are
        {"ab", "ab\\"},
        {"D:\\Datos Nuevos", "D:\\Datos Nuevos\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderFromSettingsLine(c.line), c.folder) << c.line;
    }
}

TEST(LevelFromSliderPosition, IsPositionDivFiveLessOneNeverNegative) {
    const std::pair<int, int> cases[] = {{0, 0},  {1, 0},  {4, 0},  {5, 0},  {9, 0},  {10, 1},
                                         {14, 1}, {15, 2}, {24, 3}, {25, 4}, {34, 5}, {35, 6},
                                         {40, 7}, {43, 7}, {44, 7}, {45, 8}, {49, 8}, {50, 9}};
    for (const auto& [position, level] : cases) {
        EXPECT_EQ(LevelFromSliderPosition(position), level) << position;
    }
}

util::TextLines Table() {
    util::TextLines table;
    for (const char* text : resources::kTextTable) {
        table.Add(text);
    }
    return table;
}

TEST(ChooseText, TakesTheSpanishEntryOnlyForFlagOne) {
    const util::TextLines table = Table();
    EXPECT_EQ(ChooseText(table, 1, resources::kTextReady), "  Listo");
    EXPECT_EQ(ChooseText(table, 1, resources::kTextBusy), "  Ocupado");
    for (int flag : {0, 2, 3, -1}) {
        EXPECT_EQ(ChooseText(table, flag, resources::kTextReady), "  Ready") << flag;
        EXPECT_EQ(ChooseText(table, flag, resources::kTextBusy), "  Busy") << flag;
        EXPECT_EQ(ChooseText(table, flag, resources::kTextOperationRefused),
                  "Action not allowed.Check if its Read-Only.");
    }
}

TEST(TextTable, HoldsTheEntriesByteForByte) {
    const util::TextLines table = Table();
    ASSERT_EQ(table.Count(), 71);
    struct Case {
        int index;
        const char* bytes;
    };
    // Windows-1252 bytes written out, so that the check does not depend on how this
    // file is compiled.
    const Case cases[] = {
        {0, "&New"},
        {4, "      &Add         "},
        {7, "E&xit"},
        {18, "Open "},
        {35, "Only selected"},
        {36, "Delete "},
        {41, "Cancel"},
        {42, "Make Folder"},
        {51, "Extract only newer"},
        {52, "No se puede realizar la operaci\xF3n.Comprueba que no es S\xF3lo Lectura"},
        {53, "Action not allowed.Check if its Read-Only."},
        {54, "Este fichero no tiene asociaci\xF3n;se abrir\xE1 con el Notepad."},
        {55, "This file hasn\xB4t association;it will be opened with Notepad."},
        {56, "  Listo"},
        {57, "  Ready"},
        {58, "  Ocupado"},
        {59, "  Busy"},
        {60, "Extract to..."},
        {70, "Only Selected"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table.Get(c.index), c.bytes) << c.index;
    }
    // No entry carries a line break, which would shift every later index.
    for (const char* text : resources::kTextTable) {
        EXPECT_EQ(std::string(text).find_first_of("\r\n"), std::string::npos) << text;
    }
}

TEST(LaunchTarget, MapsTheSixNumbers) {
    const std::string folder = "C:\\Tarvox\\";
    EXPECT_EQ(LaunchTarget(1, folder, 1), "notepad.exe");
    EXPECT_EQ(LaunchTarget(2, folder, 1), "explorer.exe");
    EXPECT_EQ(LaunchTarget(3, folder, 1), "calc.exe");
    EXPECT_EQ(LaunchTarget(4, folder, 1), "command.com");
    EXPECT_EQ(LaunchTarget(5, folder, 1), "C:\\Tarvox\\ayuda.hlp");
    EXPECT_EQ(LaunchTarget(5, folder, 2), "C:\\Tarvox\\help.hlp");
    EXPECT_EQ(LaunchTarget(5, folder, 0), "C:\\Tarvox\\help.hlp");
    EXPECT_EQ(LaunchTarget(6, folder, 1), std::string(kWebPage));
    EXPECT_EQ(std::string(kWebPage).find("://"), std::string::npos) << "no scheme";
    for (unsigned number : {0u, 7u, 100u}) {
        EXPECT_FALSE(LaunchTarget(number, folder, 1).has_value()) << number;
    }
}

TEST(ParseCommandLine, SplitsAtBlanksAndGroupsQuotes) {
    using Args = std::vector<std::string>;
    struct Case {
        const char* line;
        Args args;
    };
    const Case cases[] = {
        {"tarvox.exe", {}},
        {"\"C:\\Program Files\\Tarvox\\tarvox.exe\"", {}},
        {"tarvox.exe C:\\a.zip 0", {"C:\\a.zip", "0"}},
        {"\"C:\\P F\\tarvox.exe\" \"C:\\Mis datos\\a.zip\" 0", {"C:\\Mis datos\\a.zip", "0"}},
        {"tarvox.exe   a\"b c\"d   ", {"ab cd"}},
        {"tarvox.exe \"\" 1", {"", "1"}},
        {"tarvox.exe\ta.zip", {"a.zip"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseCommandLine(c.line), c.args) << c.line;
    }
}

} // namespace
