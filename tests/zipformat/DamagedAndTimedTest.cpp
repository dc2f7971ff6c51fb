#include <gtest/gtest.h>

#include "tests/support/MemoryArchive.h"
#include "tests/support/ZipBytes.h"
#include "zipformat/EntryTimes.h"
#include "zipformat/LocalHeaderScan.h"

using testzip::Entry;
using testzip::Stored;

namespace {

std::string Block(std::uint16_t id, const std::string& data) {
    return testzip::Le16(id) + testzip::Le16(static_cast<std::uint16_t>(data.size())) + data;
}

std::string Ntfs(std::uint64_t modified, std::uint16_t tagSize = 24) {
    return Block(0x000A, testzip::Le32(0) + testzip::Le16(1) + testzip::Le16(tagSize) +
                             testzip::Le64(modified) + testzip::Le64(1) + testzip::Le64(2));
}

std::string Unix(std::uint8_t flags, std::uint32_t seconds) {
    std::string data(1, static_cast<char>(flags));
    data += testzip::Le32(seconds); // appended: GCC 12 warns wrongly on string + string
    return Block(0x5455, data);
}

zipfmt::ScannedArchive Scan(const std::string& bytes) {
    testzip::MemoryArchive archive;
    archive.bytes = bytes;
    return zipfmt::ScanLocalHeaders(archive);
}

std::vector<std::string> Names(const zipfmt::ScannedArchive& scanned) {
    std::vector<std::string> names;
    for (const auto& e : scanned.entries) {
        names.push_back(e.name);
    }
    return names;
}

Entry Streamed(std::string name, std::string data, bool signature = true) {
    Entry e = Stored(std::move(name), std::move(data));
    e.flags = 0x0008;
    e.descriptor = true;
    e.descriptorSignature = signature;
    return e;
}

} // namespace

TEST(EntryTimes, TheNtfsFieldComesBeforeTheUnixTimestampAndDamagedBlocksAreSkipped) {
    constexpr std::uint64_t kTicks = 132593079671234567; // 2021-03-04 05:06:07.1234567
    constexpr std::uint32_t kSeconds = 1614834367;
    constexpr std::uint64_t kSecondTicks = 132593079670000000;
    const struct {
        std::string extra;
        std::optional<std::uint64_t> expected;
    } cases[] = {
        {Ntfs(kTicks), kTicks},
        {Unix(1, kSeconds), kSecondTicks},
        {Unix(3, kSeconds) + Ntfs(kTicks), kTicks},
        {Ntfs(kTicks, 16) + Unix(1, kSeconds), kSecondTicks}, // a tag too short for its times
        {Ntfs(0) + Unix(1, kSeconds), kSecondTicks},
        {Unix(2, kSeconds), std::nullopt}, // an access time only
        {Block(0x5455, "\x01\x02"), std::nullopt},
        {Block(0x000A, "\0\0\0\0\x01\0\xff\xff"), std::nullopt}, // a tag past its block
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(c.extra.data());
        EXPECT_EQ(zipfmt::ExactModifiedTime({p, c.extra.size()}), c.expected) << c.extra.size();
    }
    // What an add writes reads back exactly, and carries the seconds for Unix tools.
    const std::string written = zipfmt::TimeExtraBlocks({.modified = kTicks});
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(written.data()),
                                              written.size());
    EXPECT_EQ(zipfmt::ExactModifiedTime(bytes), kTicks);
    const auto unix = zipfmt::FindExtraBlock(bytes, zipfmt::kExtraUnixTime);
    std::string expected(1, '\x01');
    expected += testzip::Le32(kSeconds);
    EXPECT_EQ(std::string(unix.begin(), unix.end()), expected);
}

TEST(LocalHeaderScan, FindsTheWholeEntriesOfACutArchiveAndNamesTheRest) {
    const std::string inner = testzip::Archive({Stored("inner-a", "1"), Stored("inner-b", "2")});
    const struct {
        const char* what;
        std::vector<Entry> entries;
        std::size_t cutBack; // bytes taken off the end of the entries
        std::vector<std::string> whole;
        std::size_t lost;
    } cases[] = {
        {"sizes in the headers",
         {Stored("a", "one"), Stored("b", "two"), Stored("c", "three")},
         2,
         {"a", "b"},
         1},
        {"descriptors with signatures",
         {Streamed("a", "one"), Streamed("b", "two"), Streamed("c", "three")},
         2,
         {"a", "b"},
         1},
        {"a descriptor cut off", {Streamed("a", "one"), Streamed("b", "two")}, 3, {"a"}, 1},
        {"nothing cut: the central directory ends the walk",
         {Stored("a", "one"), Streamed("b", "two")},
         0,
         {"a", "b"},
         0},
        // The zip stored inside a cut entry is its data, not the archive's entries.
        {"a zip inside a cut entry",
         {Stored("a", "one"), Stored("nested.zip", inner)},
         1,
         {"a"},
         1},
    };
    for (const auto& c : cases) {
        const testzip::Layout layout = testzip::Build(c.entries);
        const std::size_t keep =
            c.cutBack == 0 ? layout.bytes.size() : layout.centralOffset - c.cutBack;
        const zipfmt::ScannedArchive scanned = Scan(layout.bytes.substr(0, keep));
        EXPECT_EQ(Names(scanned), c.whole) << c.what;
        EXPECT_EQ(scanned.lost.size(), c.lost) << c.what;
        for (const auto& e : scanned.entries) {
            EXPECT_EQ(e.crc32, testzip::Crc32(e.name == "a" ? "one" : "two")) << c.what;
        }
    }
}

TEST(LocalHeaderScan, StopsWithinItsBoundOnAnythingAtAll) {
    // Signatures everywhere and no data that ends: the walk still ends, finding nothing whole.
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        bytes += i % 2 ? "PK\x07\x08" : "PK\x03\x04";
    }
    const zipfmt::ScannedArchive scanned = Scan(bytes);
    EXPECT_TRUE(scanned.entries.empty());
}
