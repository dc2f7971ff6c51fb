#include <gtest/gtest.h>

#include "main/TextFiles.h"
#include "tests/support/TempDir.h"

namespace {

TEST(TextFiles, ReadWholeAndWriteWithCrLf) {
    TempDir dir;
    const std::string path = dir.Write("conf.txm", "c:\\\nd:\\temp\rc:\\\r\n2\r\nextra");
    util::TextLines lines{"old"};
    LoadTextFile(lines, path);
    ASSERT_EQ(lines.Count(), 5);
    EXPECT_EQ(lines.Get(1), "d:\\temp");
    EXPECT_EQ(lines.Get(4), "extra");
    SaveTextFile(lines, path);
    EXPECT_EQ(ReadFileBytes(path), "c:\\\r\nd:\\temp\r\nc:\\\r\n2\r\nextra\r\n");

    const std::string empty = dir.Write("ult.txm", "");
    LoadTextFile(lines, empty);
    EXPECT_EQ(lines.Count(), 0);
    SaveTextFile(lines, empty);
    EXPECT_EQ(ReadFileBytes(empty), "");
}

TEST(TextFiles, AMissingFileKeepsTheLinesAndNamesThePath) {
    TempDir dir;
    util::TextLines lines{"c:\\", "1"};
    const std::string path = dir.File("conf.txm");
    try {
        LoadTextFile(lines, path);
        FAIL() << "read a missing file";
    } catch (const std::exception& error) {
        EXPECT_EQ(error.what(), "Cannot open file " + path);
    }
    EXPECT_EQ(lines.Count(), 2);
}

TEST(TextFiles, AFileThatCannotBeCreatedNamesThePath) {
    TempDir dir;
    const std::string path = dir.File("no such folder/conf.txm");
    try {
        SaveTextFile(util::TextLines{"x"}, path);
        FAIL() << "wrote into a missing folder";
    } catch (const std::exception& error) {
        EXPECT_EQ(error.what(), "Cannot create file " + path);
    }
}

} // namespace
