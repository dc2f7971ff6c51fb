// The engine component with the real engine libraries: add, list, extract, test and
// delete round trips, and what the libraries report through the events.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "engine/ZipEngine.h"
#include "platform/FileHandle.h"
#include "platform/ProgramPaths.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"

namespace {

class RealLibraries : public ::testing::Test {
protected:
    void SetUp() override {
        startFolder = platform::CurrentDirectory();
        archive = dir.File("round.zip");
        notes = dir.Write("notes.txt", std::string(5000, 'n') + "end");
        data = dir.Write("data.bin", std::string("\x00\x01\x02\xFF", 4) + std::string(3000, 'd'));
        zip.OnDirUpdate = [this](TZipEngine&) { ++updates; };
        zip.OnProgress = [this](TZipEngine& sender, ProgressType type, const std::string& name,
                                std::int32_t) {
            progress.push_back(type == ProgressType::ProgrFileStart ? "start " + name
                               : type == ProgressType::ProgrStep
                                   ? "step " + std::to_string(sender.FilePercent())
                                   : "end");
        };
        zip.OnMessage = [this](TZipEngine&, std::int32_t code, const std::string& text) {
            if (code != 0) {
                failures.push_back(text);
            }
        };
        zip.AddOptions = {AddOptsEnum::AddRecurseDirs, AddOptsEnum::AddHiddenFiles};
        zip.AddCompLevel = 7;
    }
    void TearDown() override { platform::ChangeCurrentDirectory(startFolder); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const ZipDirEntry& e : zip.Entries()) {
            names.push_back(e.FileName);
        }
        return names;
    }

    void Add(const std::string& file) {
        zip.FSpecArgs = {file};
        zip.AddFiles();
    }

    std::string startFolder;
    TempDir dir;
    std::string archive, notes, data;
    TZipEngine zip;
    int updates = 0;
    std::vector<std::string> progress;
    std::vector<std::string> failures;
};

TEST_F(RealLibraries, AddListExtractTestDelete) {
    MessageRecorder messages;
    zip.SetZipFilename(archive);
    Add(notes);
    EXPECT_EQ(zip.ResultCount(), 1);
    Add(data);
    EXPECT_EQ(zip.ResultCount(), 1);
    EXPECT_EQ(updates, 3) << "the assignment and one re-read per add";
    EXPECT_EQ(Names(), (std::vector<std::string>{"notes.txt", "data.bin"}));
    EXPECT_LT(+zip.Entries()[0].CompressedSize, +zip.Entries()[0].UncompressedSize);
    EXPECT_EQ(+zip.Entries()[1].UncompressedSize, 3004);

    zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
    zip.ExtractFiles();
    EXPECT_EQ(zip.ResultCount(), 2);

    const std::string out = dir.File("out");
    std::filesystem::create_directory(out);
    zip.ExtrBaseDir = out;
    zip.ExtrOptions = {ExtrOptsEnum::ExtrDirNames};
    zip.ExtractFiles();
    EXPECT_EQ(zip.ResultCount(), 2);
    EXPECT_EQ(ReadFileBytes(dir.File("out/notes.txt")), ReadFileBytes(notes));
    EXPECT_EQ(ReadFileBytes(dir.File("out/data.bin")), ReadFileBytes(data));
    EXPECT_EQ(updates, 3) << "an extraction reads nothing again";

    zip.FSpecArgs = {"notes.txt"};
    zip.DeleteFiles();
    EXPECT_EQ(zip.ResultCount(), 1);
    EXPECT_EQ(Names(), std::vector<std::string>{"data.bin"});
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_TRUE(failures.empty());
    EXPECT_NE(std::find(progress.begin(), progress.end(), "start notes.txt"), progress.end())
        << "a file's start names its entry";
    EXPECT_NE(std::find(progress.begin(), progress.end(), "end"), progress.end());
}

// Names written without a UTF-8 marker, in the code page of the system that wrote
// them: the list shows them as their writer meant, and extraction writes files of
// exactly those names. A lone short name is too little to tell; the user's choice
// of code page reads it.
TEST_F(RealLibraries, NamesListAndExtractAsTheirWritersMeantThem) {
    struct Name {
        const char* stored;
        std::uint16_t flags;
        const char8_t* shown;
    };
    struct Case {
        const char* label;
        unsigned codePage;
        std::vector<Name> names;
    };
    const Case cases[] = {
        {"Shift-JIS",
         0,
         {
             {"\x93\xFA\x96{\x8C\xEA\x82\xCC\x83t\x83@\x83"
              "C\x83\x8B.txt",
              0x0000, u8"日本語のファイル.txt"},
             {"\x8E\xCA\x90^/\x89\xC4\x8Bx\x82\xDD.jpg", 0x0000, u8"写真/夏休み.jpg"},
             {"\x8E\x91\x97\xBF.docx", 0x0000, u8"資料.docx"},
         }},
        {"GBK",
         0,
         {
             {"\xD6\xD0\xCE\xC4\xCE\xC4\xBC\xFE.txt", 0x0000, u8"中文文件.txt"},
             {"\xCD\xBC\xC6\xAC/\xD5\xD5\xC6\xAC.jpg", 0x0000, u8"图片/照片.jpg"},
             {"\xB1\xA8\xB8\xE6.doc", 0x0000, u8"报告.doc"},
         }},
        {"949",
         0,
         {
             {"\xC7\xD1\xB1\xB9\xBE\xEE \xC6\xC4\xC0\xCF.txt", 0x0000, u8"한국어 파일.txt"},
             {"\xBB\xE7\xC1\xF8/\xBF\xA9\xB8\xA7.jpg", 0x0000, u8"사진/여름.jpg"},
             {"\xBA\xB8\xB0\xED\xBC\xAD.doc", 0x0000, u8"보고서.doc"},
         }},
        {"866",
         0,
         {
             {"\x90\xE3\xE1\xE1\xAA\xA8\xA9 \xE4\xA0\xA9\xAB.txt", 0x0000, u8"Русский файл.txt"},
             {"\x94\xAE\xE2\xAE/\xAB\xA5\xE2\xAE.jpg", 0x0000, u8"Фото/лето.jpg"},
             {"\x8E\xE2\xE7\xF1\xE2.doc", 0x0000, u8"Отчёт.doc"},
         }},
        {"raw UTF-8",
         0,
         {
             {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.txt", 0x0000,
              u8"Ελληνικά.txt"},
             {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", 0x0000, u8"日本語.txt"},
         }},
        {"437",
         0,
         {
             {"Ni\xA4o espa\xA4ol.txt", 0x0000, u8"Niño español.txt"},
             {"Caf\x82/M\x81ller.doc", 0x0000, u8"Café/Müller.doc"},
             {"A\xA4o.txt", 0x0000, u8"Año.txt"},
         }},
        {"mixed",
         0,
         {
             {"readme.txt", 0x0000, u8"readme.txt"},
             {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.txt", 0x0800,
              u8"Ελληνικά.txt"},
             {"\x93\xFA\x96{\x8C\xEA\x82\xCC\x83t\x83@\x83"
              "C\x83\x8B.txt",
              0x0000, u8"日本語のファイル.txt"},
             {"\x8E\xCA\x90^/\x89\xC4\x8Bx\x82\xDD.jpg", 0x0000, u8"写真/夏休み.jpg"},
         }},
        {"lone short name",
         0,
         {
             {"\x8E\x91\x97\xBF.doc", 0x0000, u8"Äæù┐.doc"},
         }},
        {"override",
         932,
         {
             {"\x8E\x91\x97\xBF.doc", 0x0000, u8"資料.doc"},
         }},
    };
    int number = 0;
    for (const Case& c : cases) {
        std::vector<testzip::Entry> entries;
        std::vector<std::string> expected;
        for (const Name& name : c.names) {
            entries.push_back(testzip::Stored(name.stored, name.stored));
            entries.back().flags = name.flags;
            expected.emplace_back(reinterpret_cast<const char*>(name.shown));
        }
        const std::string tag = std::to_string(++number);
        zip.NamesCodePage = c.codePage;
        zip.SetZipFilename(dir.Write("names" + tag + ".zip", testzip::Archive(entries)));
        std::vector<std::string> shown;
        for (const ZipDirEntry& entry : zip.Entries()) {
            shown.push_back(entry.ShownName());
        }
        EXPECT_EQ(shown, expected) << c.label;

        const std::filesystem::path out = dir.Path() / ("out" + tag);
        std::filesystem::create_directory(out);
        zip.ExtrBaseDir = dir.File("out" + tag);
        zip.ExtrOptions = {ExtrOptsEnum::ExtrDirNames};
        zip.ExtractFiles();
        EXPECT_EQ(zip.ResultCount(), static_cast<int>(c.names.size())) << c.label;
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const std::filesystem::path file = out / std::filesystem::path(c.names[i].shown);
            std::error_code error;
            EXPECT_EQ(std::filesystem::file_size(file, error), std::strlen(c.names[i].stored))
                << c.label << ": " << expected[i];
        }
    }
    EXPECT_TRUE(failures.empty());
}

TEST_F(RealLibraries, NothingToDoReturnsZeroAndSaysWhy) {
    MessageRecorder messages;
    zip.SetZipFilename(archive);
    Add(notes);
    updates = 0;
    zip.FSpecArgs = {"no such entry"};
    zip.DeleteFiles();
    EXPECT_EQ(zip.ResultCount(), 0);
    EXPECT_EQ(updates, 0);
    Add(dir.File("no such file.txt"));
    EXPECT_EQ(zip.ResultCount(), 0);
    EXPECT_FALSE(failures.empty()) << "the library reports with a non-zero code";
    EXPECT_EQ(Names(), std::vector<std::string>{"notes.txt"});
}

TEST_F(RealLibraries, AStoredNameSelectsExactlyItsEntriesBeforeAnyWildcard) {
    // Names an archive from elsewhere may hold; "\x81" is "ü" in code page 437.
    const std::vector<std::string> all = {"*",           "a?c",      "abc",  "dir\\abc",
                                          "x\\y\\z.txt", "\x81nter", "b.txt"};
    struct Case {
        std::string spec;
        std::vector<std::string> chosen;
    };
    const Case cases[] = {
        {"*", {"*"}},
        {"a?c", {"a?c"}},
        {"abc", {"abc"}},
        {"a*c", {"a?c", "abc", "dir\\abc"}},
        {"x\\y\\z.txt", {"x\\y\\z.txt"}},
        {"z.txt", {"x\\y\\z.txt"}},
        {"\x81nter", {"\x81nter"}},
        {"?nter", {"\x81nter"}},
        {"nothing", {}},
    };
    std::vector<testzip::Entry> entries;
    for (const std::string& name : all) {
        entries.push_back(testzip::Stored(name, name + " data"));
    }
    const std::string bytes = testzip::Archive(entries);
    for (const Case& c : cases) {
        dir.Write("round.zip", bytes);
        zip.SetZipFilename(archive);
        failures.clear();
        zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
        zip.FSpecArgs = {c.spec};
        zip.ExtractFiles();
        EXPECT_EQ(zip.ResultCount(), static_cast<std::int32_t>(c.chosen.size())) << c.spec;
        zip.FSpecArgs = {c.spec};
        zip.DeleteFiles();
        std::vector<std::string> kept;
        std::copy_if(all.begin(), all.end(), std::back_inserter(kept), [&](const std::string& n) {
            return std::find(c.chosen.begin(), c.chosen.end(), n) == c.chosen.end();
        });
        EXPECT_EQ(Names(), kept) << c.spec;
        EXPECT_EQ(failures.size(), c.chosen.empty() ? 2u : 0u) << c.spec;
    }
}

TEST_F(RealLibraries, ProgressStepsTellThePercentOfTheFileDone) {
    // Past a few MiB the libraries step on the way, not only at a file's end.
    const std::string big = dir.Write("big.bin", std::string(3 << 20, 'b'));
    zip.SetZipFilename(archive);
    zip.AddCompLevel = 0;
    zip.FSpecArgs = {big, notes};
    zip.AddFiles();
    zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
    zip.ExtractFiles();
    zip.FSpecArgs = {"big.bin"};
    zip.DeleteFiles();
    ASSERT_TRUE(failures.empty());
    // Within a file the percentages climb to 100; some fall between.
    int files = 0, between = 0, last = -1;
    for (const std::string& event : progress) {
        if (event.starts_with("step ")) {
            const int percent = std::stoi(event.substr(5));
            EXPECT_GE(percent, last) << event;
            EXPECT_LE(percent, 100);
            between += percent > 0 && percent < 100 ? 1 : 0;
            last = percent;
        } else {
            if (last >= 0) {
                EXPECT_EQ(last, 100) << "the last step of a file before " << event;
            }
            files += event.starts_with("start ") ? 1 : 0;
            last = event.starts_with("start ") ? 0 : -1;
        }
    }
    EXPECT_EQ(files, 5) << "two added, two tested, one deleted";
    EXPECT_GE(between, 2) << "the big file, added and tested";
}

TEST_F(RealLibraries, EveryLevelMakesAnArchiveThatExtractsTheSame) {
    MessageRecorder messages;
    for (int level = 0; level <= 9; ++level) {
        const std::string name = dir.File("level" + std::to_string(level) + ".zip");
        zip.SetZipFilename(name);
        zip.AddCompLevel = level;
        Add(notes);
        ASSERT_EQ(zip.EntryCount(), 1) << level;
        EXPECT_EQ(+zip.Entries()[0].CompressionMethod, level == 0 ? 0 : 8) << level;
        zip.ExtrOptions = {ExtrOptsEnum::ExtrTest};
        zip.ExtractFiles();
        EXPECT_EQ(zip.ResultCount(), 1) << level;
    }
}

} // namespace

namespace {

TEST_F(RealLibraries, ADeleteOfMoreNamesThanABlockHoldsRewritesTheArchiveOnce) {
    struct Case {
        std::size_t entries, deleted;
    };
    // Appended, not "e" + ...: GCC 12 warns falsely of an overlap there.
    const auto name = [](std::size_t i) {
        std::string n = "e";
        n += std::to_string(i);
        return n;
    };
    for (const Case c : {Case{kMaxFileSpecs + 100, kMaxFileSpecs + 100},
                         Case{2 * kMaxFileSpecs + 10, kMaxFileSpecs + 3}, Case{50, 20}}) {
        std::vector<testzip::Entry> entries;
        for (std::size_t i = 0; i < c.entries; ++i) {
            entries.push_back(testzip::Stored(name(i), "x"));
        }
        dir.Write("many.zip", testzip::Archive(entries));
        zip.SetZipFilename(dir.File("many.zip"));
        // Every other entry first, so that what stays is spread through the archive.
        std::vector<std::string> names, left;
        for (std::size_t i = 0; i < c.entries; ++i) {
            const bool goes = names.size() < c.deleted &&
                              (i % 2 == 0 || c.entries - i <= c.deleted - names.size());
            (goes ? names : left).push_back(name(i));
        }
        progress.clear();
        zip.FSpecArgs = names;
        const MessageRecorder emptied; // an archive left without entries is said to be empty
        zip.DeleteFiles();
        EXPECT_EQ(zip.ResultCount(), static_cast<std::int32_t>(c.deleted)) << c.entries;
        EXPECT_EQ(std::count(progress.begin(), progress.end(), "end"), 1) << "one library call";
        EXPECT_EQ(Names(), left) << c.entries;
        EXPECT_TRUE(failures.empty()) << c.entries;
    }
}

} // namespace
