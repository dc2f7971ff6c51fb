// The stand-alone directory reader: the same walk under its own failure rules.

#include <gtest/gtest.h>

#include <optional>

#include "engine/DirectoryWalk.h"
#include "engine/ZipDir.h"
#include "engine/ZipEngine.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"

using testzip::Archive;
using testzip::Entry;
using testzip::Overrunning;
using testzip::Stored;

namespace {

struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;
    std::optional<std::string> error;
    bool nameCleared = false;
};

std::vector<Case> Cases() {
    const std::string two = Archive({Stored("a", "1"), Stored("b/c", "22")});
    const std::string header = testzip::LocalHeader(Stored("a", "1")) + "1";
    return {
        {"an archive lists whole", two, {"a", "b/c"}, {}},
        {"an empty file", "", {}, "Error 1a reading Zip File"},
        {"the file ends after P", "xxP", {}, "Error 1b reading Zip File"},
        {"the file ends after PK", "PK", {}, "Error 1c reading Zip File"},
        {"the file ends after PK 3", std::string("PK\3", 3), {}, "Error 1d reading Zip File"},
        {"no header within 60,000 attempts",
         std::string(60000, 'y') + two,
         {},
         "Error reading Zip File",
         true},
        {"the file ends between headers",
         header + std::string(23, 'j'),
         {"a"},
         "Error 1 reading Zip File"},
        {"a damaged first header",
         testzip::LocalHeader(Stored("a", "")).substr(0, 12),
         {},
         "Error reading Zip file"},
        {"a first entry running past the end is listed",
         Archive({Overrunning("bad")}),
         {"bad"},
         "Error reading Zip file"},
        {"a second entry running past the end is listed",
         Archive({Stored("good", "g"), Overrunning("bad")}),
         {"good", "bad"},
         "Error reading Zip file"},
    };
}

class StandaloneReaderCases : public ::testing::TestWithParam<Case> {};

TEST_P(StandaloneReaderCases, ListsOrRaisesByItsOwnRules) {
    const Case& c = GetParam();
    TempDir dir;
    const std::string path = dir.Write("s.zip", c.bytes);
    MessageRecorder messages;
    TZipDir reader;
    std::optional<std::string> error;
    try {
        reader.SetZipFileName(path);
    } catch (const DirectoryWalkError& e) {
        error = e.what();
    }
    std::vector<std::string> names;
    for (const ZipDirEntry& entry : reader.Entries()) {
        names.push_back(entry.FileName);
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(reader.ZipFileName(), c.nameCleared ? std::string() : path);
    EXPECT_TRUE(messages.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Walk, StandaloneReaderCases, ::testing::ValuesIn(Cases()));

TEST(StandaloneReader, MissingFileOnAssignmentOnlyEmptiesTheList) {
    TempDir dir;
    MessageRecorder messages;
    TZipDir reader;
    reader.SetZipFileName(dir.Write("a.zip", Archive({Stored("x", "")})));
    ASSERT_EQ(reader.Entries().size(), 1u);
    reader.SetZipFileName(dir.File("gone.zip"));
    EXPECT_TRUE(reader.Entries().empty());
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(StandaloneReader, ReadingAMissingFileSaysSo) {
    TempDir dir;
    const std::string path = dir.Write("a.zip", Archive({Stored("x", "")}));
    TZipDir reader;
    reader.SetZipFileName(path);
    std::filesystem::remove(path);
    MessageRecorder messages;
    reader.ReadDirectory();
    EXPECT_TRUE(reader.Entries().empty());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Error opening file: " + path});
}

TEST(StandaloneReader, StartsAtZeroWhateverTheExtension) {
    TempDir dir;
    TZipDir reader;
    reader.SetZipFileName(dir.Write("self.exe", Archive({Stored("x", "1")})));
    EXPECT_EQ(reader.Entries().size(), 1u);
}

TEST(StandaloneReader, ListsWhatTheEngineListsForTheSameFile) {
    std::vector<Entry> entries;
    for (int i = 0; i < 50; ++i) {
        std::string name = "f";
        name += std::to_string(i);
        Entry e = Stored(name, std::string(static_cast<std::size_t>(i), 'q'));
        e.descriptor = i % 3 == 0;
        entries.push_back(e);
    }
    TempDir dir;
    const std::string path = dir.Write("same.zip", Archive(entries));
    TZipDir reader;
    reader.SetZipFileName(path);
    TZipEngine zip;
    zip.SetZipFilename(path);
    ASSERT_EQ(reader.Entries().size(), 50u);
    ASSERT_EQ(zip.Entries().size(), 50u);
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(reader.Entries()[i].FileName, zip.Entries()[i].FileName);
        EXPECT_EQ(+reader.Entries()[i].CompressedSize, +zip.Entries()[i].CompressedSize);
    }
}

} // namespace
