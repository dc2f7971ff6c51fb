#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"
#include "zipformat/CentralDirectory.h"

using testzip::Entry;
using testzip::Stored;

namespace {

// The last part of an archive split in two, whose directory starts in that part, and its
// first part: the split marker, then entries, and no end records.
std::string LastPartOfSplit() {
    std::string bytes = testzip::Archive({Stored("a", "1")});
    const std::size_t endAt = bytes.size() - 22;
    bytes.replace(endAt + 4, 4, testzip::Le16(1) + testzip::Le16(1));
    return bytes;
}
std::string FirstPartOfSplit() {
    return testzip::Le32(0x08074B50) + testzip::LocalHeader(Stored("a", "1")) + "1";
}

zipfmt::DirectoryError Read(const std::string& bytes, zipfmt::ArchiveDirectory& out) {
    TempDir dir;
    auto file = platform::FileHandle::OpenForReading(dir.Write("a.zip", bytes));
    EXPECT_TRUE(file);
    return zipfmt::ReadArchiveDirectory(*file, out);
}

TEST(CentralDirectory, ReadsEntriesAndTheBytesBeforeTheArchive) {
    const std::vector<Entry> entries = {Stored("a", "1"), Stored("bb", "22")};
    for (const std::string& prefix : {std::string(), std::string(777, 's')}) {
        // Offsets as stored count from the archive's own start.
        const auto inner = testzip::Build(entries);
        zipfmt::ArchiveDirectory dir;
        ASSERT_EQ(Read(prefix + inner.bytes, dir), zipfmt::DirectoryError::None);
        ASSERT_EQ(dir.entries.size(), 2u);
        EXPECT_EQ(dir.prefixBias, static_cast<std::int64_t>(prefix.size()));
        EXPECT_EQ(dir.entries[1].name, "bb");
        EXPECT_EQ(dir.entries[1].compressedSize, 2u);
        EXPECT_EQ(dir.entries[1].crc32, testzip::Crc32("22"));
        EXPECT_EQ(dir.entries[1].localHeaderPosition, prefix.size() + inner.localOffsets[1]);
    }
}

TEST(CentralDirectory, RefusesWhatDoesNotAddUp) {
    const std::string good = testzip::Archive({Stored("a", "1")});
    const std::size_t endAt = good.size() - 22;
    std::string shortCount = good;
    shortCount[endAt + 10] = 2; // says two entries, holds one
    std::string hugeDirectory = good;
    hugeDirectory.replace(endAt + 12, 4, testzip::Le32(0x7FFFFFFF));
    std::string badName = good;
    badName[endAt - 1 - 18] = static_cast<char>(0xFF); // name length runs past the directory
    const std::pair<std::string, zipfmt::DirectoryError> cases[] = {
        {"", zipfmt::DirectoryError::NoEndRecord},
        {std::string(100, 'z'), zipfmt::DirectoryError::NoEndRecord},
        {good.substr(0, good.size() - 1), zipfmt::DirectoryError::NoEndRecord},
        {shortCount, zipfmt::DirectoryError::BadCentralHeader},
        {hugeDirectory, zipfmt::DirectoryError::NoEndRecord},
        {badName, zipfmt::DirectoryError::BadCentralHeader},
        {LastPartOfSplit(), zipfmt::DirectoryError::SplitArchive},
        {FirstPartOfSplit(), zipfmt::DirectoryError::SplitArchive},
    };
    for (const auto& [bytes, error] : cases) {
        zipfmt::ArchiveDirectory dir;
        EXPECT_EQ(Read(bytes, dir), error) << bytes.size();
    }
}

TEST(CentralDirectory, EndRecordsTellAnEmptyArchiveAndAPartOfASplitOne) {
    struct Case {
        const char* what;
        std::string bytes;
        bool found, empty, split;
    };
    const Case cases[] = {
        {"an archive", testzip::Archive({Stored("a", "1")}), true, false, false},
        {"every entry deleted", testzip::Archive({}), true, true, false},
        {"no archive", std::string(100, 'z'), false, false, false},
        {"a last part", LastPartOfSplit(), true, false, true},
        {"a first part", FirstPartOfSplit(), false, false, true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto file = platform::FileHandle::OpenForReading(dir.Write("a.zip", c.bytes));
        ASSERT_TRUE(file);
        const zipfmt::EndRecordsSay say = zipfmt::ReadEndRecords(*file);
        EXPECT_EQ(say.found, c.found) << c.what;
        EXPECT_EQ(say.empty, c.empty) << c.what;
        EXPECT_EQ(say.split, c.split) << c.what;
    }
}

TEST(CentralDirectory, StatedEntryCountIsBoundByTheDirectorysSize) {
    // Only the end records are read: zeros stand for a directory of the stated size.
    constexpr std::uint32_t kHeader = 46;
    struct Case {
        std::uint16_t count;
        std::uint32_t centralSize;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {2, 2 * kHeader + 10, 2},
        // 100,000 entries written without zip64 keep the count's low 16 bits.
        {100000 % 0x10000, 100000 * 60, 100000},
        {100000 % 0x10000, 70000 * kHeader, 34464},
        {0xFFFF, 10 * kHeader, 10}, // a count the directory has no room for
        {5, 0, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const auto file = platform::FileHandle::OpenForReading(
            dir.Write("a.zip", std::string(c.centralSize, '\0') +
                                   testzip::EndRecord(c.count, c.centralSize, 0)));
        ASSERT_TRUE(file);
        EXPECT_EQ(zipfmt::StatedEntryCount(*file), c.expected) << c.count << " " << c.centralSize;
    }
    TempDir dir;
    const auto notAnArchive = platform::FileHandle::OpenForReading(dir.Write("b.zip", "PK"));
    ASSERT_TRUE(notAnArchive);
    EXPECT_EQ(zipfmt::StatedEntryCount(*notAnArchive), 0u);
}

TEST(CentralDirectory, TakesZip64SizesFromTheExtraBlock) {
    const auto layout = testzip::Build({Stored("big", "0123")});
    std::string bytes = layout.bytes.substr(0, layout.centralOffset);
    const std::string extra =
        testzip::Le16(1) + testzip::Le16(16) + testzip::Le64(5000000000ull) + testzip::Le64(4);
    const std::string central =
        testzip::Le32(0x02014B50) + testzip::Le16(45) + testzip::Le16(45) + testzip::Le16(0) +
        testzip::Le16(0) + testzip::Le32(0) + testzip::Le32(0) + testzip::Le32(0xFFFFFFFF) +
        testzip::Le32(0xFFFFFFFF) + testzip::Le16(3) + testzip::Le16(20) + testzip::Le16(0) +
        testzip::Le16(0) + testzip::Le16(0) + testzip::Le32(0) + testzip::Le32(0) + "big" + extra;
    bytes += central + testzip::EndRecord(1, static_cast<std::uint32_t>(central.size()),
                                          layout.centralOffset);
    zipfmt::ArchiveDirectory dir;
    ASSERT_EQ(Read(bytes, dir), zipfmt::DirectoryError::None);
    ASSERT_EQ(dir.entries.size(), 1u);
    EXPECT_EQ(dir.entries[0].uncompressedSize, 5000000000ull);
    EXPECT_EQ(dir.entries[0].compressedSize, 4u);
    EXPECT_TRUE(dir.entries[0].zip64);
}

} // namespace
