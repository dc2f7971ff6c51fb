#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "main/ShellVerbs.h"

namespace {

using Names = std::vector<std::string>;

PathTest In(std::set<std::string> paths) {
    return [paths = std::move(paths)](const std::string& p) { return paths.count(p) > 0; };
}

TEST(ShellRequestFrom, TakesTheSwitchesWithTheirPathsAndNothingElse) {
    struct Case {
        Names arguments;
        std::optional<ShellJob> job;
        Names paths;
    };
    const Case cases[] = {
        {{"/extracthere", "C:\\a.zip"}, ShellJob::ExtractHere, {"C:\\a.zip"}},
        {{"/ExtractTo", "C:\\a.zip"}, ShellJob::ExtractTo, {"C:\\a.zip"}},
        {{"/TEST", "C:\\a.zip"}, ShellJob::Test, {"C:\\a.zip"}},
        {{"/add", "C:\\d\\x", "C:\\d\\y\\"}, ShellJob::Add, {"C:\\d\\x", "C:\\d\\y"}},
        {{"/add", "C:\\"}, ShellJob::Add, {"C:\\"}},
        // The shell's double click and the extract dialog's "0" stay the window's.
        {{"C:\\a.zip"}, std::nullopt, {}},
        {{"C:\\a.zip", "0"}, std::nullopt, {}},
        {{"/extracthere"}, std::nullopt, {}},
        {{"/test", "a.zip", "b.zip"}, std::nullopt, {}},
        {{"/add"}, std::nullopt, {}},
        {{}, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        const auto request = ShellRequestFrom(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
        ASSERT_EQ(request.has_value(), c.job.has_value());
        if (request) {
            EXPECT_EQ(request->job, *c.job);
            EXPECT_EQ(request->paths, c.paths);
        }
    }
}

TEST(ExtractionFolder, OneTopFolderGoesBesideElseANewFolderNeverAnExistingOne) {
    struct Case {
        const char* what;
        Names entries;
        bool smart;
        std::set<std::string> existing;
        const char* folder;
        const char* dropTop;
    };
    const Case cases[] = {
        {"loose entries", {"a.txt", "sub/b.txt"}, true, {}, "C:\\w\\Fotos\\", ""},
        {"one top folder", {"Fotos/", "Fotos/a.txt", "Fotos/s/b"}, true, {}, "C:\\w\\", ""},
        {"one top folder of another name", {"x/a", "x/b"}, true, {}, "C:\\w\\", ""},
        {"top folder without its own entry", {"x\\a", "/x/b"}, true, {}, "C:\\w\\", ""},
        {"two top folders", {"x/a", "y/b"}, true, {}, "C:\\w\\Fotos\\", ""},
        {"a file named like the folder", {"x", "x/a"}, true, {}, "C:\\w\\Fotos\\", ""},
        {"a climbing name", {"../a", "../b"}, true, {}, "C:\\w\\Fotos\\", ""},
        {"empty archive", {}, true, {}, "C:\\w\\Fotos\\", ""},
        // Its contents go into a numbered folder of its name, never NAME (2)\NAME.
        {"top folder already there",
         {"Fotos/", "Fotos/a"},
         true,
         {"C:\\w\\Fotos"},
         "C:\\w\\Fotos (2)\\",
         "Fotos"},
        {"top folder of another name there", {"x/a"}, true, {"C:\\w\\x"}, "C:\\w\\x (2)\\", "x"},
        {"folder already there", {"a"}, true, {"C:\\w\\Fotos"}, "C:\\w\\Fotos (2)\\", ""},
        {"two already there",
         {"a"},
         true,
         {"C:\\w\\Fotos", "C:\\w\\Fotos (2)"},
         "C:\\w\\Fotos (3)\\",
         ""},
        {"extract to: always its own folder", {"Fotos/a"}, false, {}, "C:\\w\\Fotos\\", ""},
        {"extract to: folder there",
         {"Fotos/a"},
         false,
         {"C:\\w\\Fotos"},
         "C:\\w\\Fotos (2)\\",
         ""},
    };
    for (const Case& c : cases) {
        const ExtractionTarget target =
            ExtractionFolder("C:\\w\\Fotos.zip", c.entries, c.smart, In(c.existing));
        EXPECT_EQ(target.folder, c.folder) << c.what;
        EXPECT_EQ(target.dropTop, c.dropTop) << c.what;
    }
    EXPECT_EQ(ExtractionFolder("C:\\w\\datos", {"a"}, true, In({"C:\\w\\datos"})).folder,
              "C:\\w\\datos (2)\\")
        << "an archive without extension is no folder";
    EXPECT_EQ(ExtractionFolder("C:\\w\\v1.2.zip", {"a"}, false, In({})).folder, "C:\\w\\v1.2\\");
}

TEST(ArchiveForAdding, NamedAfterTheOneItemOrTheFolderOfSeveral) {
    struct Case {
        Names paths;
        std::set<std::string> existing;
        const char* archive;
    };
    const std::set<std::string> folders = {"C:\\w\\Fotos", "C:\\w\\a.b"};
    const Case cases[] = {
        {{"C:\\w\\informe.txt"}, {}, "C:\\w\\informe.zip"},
        {{"C:\\w\\Fotos"}, {}, "C:\\w\\Fotos.zip"},
        {{"C:\\w\\a.b"}, {}, "C:\\w\\a.b.zip"},
        {{"C:\\w\\x.txt", "C:\\w\\Fotos"}, {}, "C:\\w\\w.zip"},
        // Files join an archive of that name that is there already.
        {{"C:\\w\\informe.txt"}, {"C:\\w\\informe.zip"}, "C:\\w\\informe.zip"},
        // An archive is never added to itself.
        {{"C:\\w\\viejo.zip"}, {"C:\\w\\viejo.zip"}, "C:\\w\\viejo (2).zip"},
        {{"C:\\w\\x", "C:\\w\\W.ZIP"}, {"C:\\w\\W.ZIP"}, "C:\\w\\w (2).zip"},
        // A drive's root has no name: the first file lends its.
        {{"C:\\uno.txt", "C:\\dos.txt"}, {}, "C:\\uno.zip"},
        // From several folders (a search's results): in the nearest that holds them all.
        {{"C:\\w\\a\\x.txt", "c:\\W\\b\\c\\y.txt", "C:\\w\\Fotos"}, {}, "C:\\w\\w.zip"},
        {{"C:\\w\\ab\\x.txt", "C:\\w\\abc\\y.txt"}, {}, "C:\\w\\w.zip"},
        {{"C:\\a\\x.txt", "C:\\b\\y.txt"}, {}, "C:\\x.zip"},
        {{"C:\\a\\x.txt", "D:\\b\\y.txt"}, {}, "C:\\a\\a.zip"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArchiveForAdding(c.paths, In(folders), In(c.existing)), c.archive) << c.paths[0];
    }
}

} // namespace
