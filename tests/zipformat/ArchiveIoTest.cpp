#include <gtest/gtest.h>

#include <cstring>
#include <zlib.h>

#include "tests/support/MemoryArchive.h"
#include "tests/zipdll/TestData.h"
#include "zipformat/ArchiveWriter.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryEncoder.h"
#include "zipformat/EntryReader.h"
#include "zipformat/LocalHeader.h"

namespace {

using testzip::MemoryArchive;
using testzip::StringSource;

using enginetest::Noise;
std::string Text(std::size_t n) {
    return enginetest::CompressibleText(n);
}

zipfmt::EncodeResult AddEntry(zipfmt::ArchiveWriter& writer, const std::string& name,
                              const std::string& data, int level, const std::string& password,
                              bool aes = true) {
    zipfmt::EntryEncoder encoder;
    zipfmt::NewEntry entry;
    entry.name = name;
    entry.dosDateTime = 0x52644A21;
    entry.level = level;
    entry.password = password;
    entry.aes = aes;
    entry.expectedSize = data.size();
    StringSource source(data);
    zipfmt::CentralRecord record;
    const auto result = encoder.Write(writer, entry, source, nullptr, record);
    if (result == zipfmt::EncodeResult::Ok) {
        writer.AddCentral(record);
    }
    return result;
}

// The entry's data read back, and how the reading ended.
std::pair<std::string, zipfmt::EntryStatus> ReadEntry(const MemoryArchive& archive,
                                                      const zipfmt::ArchiveDirectory& dir,
                                                      const zipfmt::CentralEntry& entry,
                                                      const std::string& password,
                                                      std::size_t bufferSize = 7777) {
    zipfmt::LocalHeader local;
    EXPECT_TRUE(zipfmt::ReadLocalHeader(
        archive, static_cast<std::int64_t>(entry.localHeaderPosition), dir.centralStart, local));
    zipfmt::EntryReader reader(archive, entry, local, dir.centralStart, password);
    std::string out;
    std::vector<std::uint8_t> buffer(bufferSize);
    reader.Stream(buffer, [&](const std::uint8_t* data, std::size_t n) {
        out.append(reinterpret_cast<const char*>(data), n);
        return true;
    });
    return {out, reader.Status()};
}

TEST(ArchiveIo, EntriesComeBackAsTheyWereWritten) {
    struct Case {
        std::string data;
        int level;
        std::string password;
        std::uint16_t method; // the real one, under AES too
        bool aes = true;
    };
    const Case cases[] = {
        {Text(300000), 6, "", 8},          {Text(300000), 0, "", 0}, {Text(300000), 9, "pw", 8},
        {Text(300000), 9, "pw", 8, false}, {Noise(70000), 9, "", 0}, {Noise(70000), 1, "pw", 0},
        {Noise(70000), 1, "pw", 0, false}, {"", 6, "", 0},           {"", 6, "pw", 0},
        {"", 6, "pw", 0, false},           {Text(5), 6, "", 0},      {Text(5), 6, "pw", 0},
        {Text(2000000), 1, "", 8},
    };
    for (const Case& c : cases) {
        MemoryArchive archive;
        zipfmt::ArchiveWriter writer(archive, 4096); // small, so that patches reach the sink
        ASSERT_EQ(AddEntry(writer, "first", "1", 6, ""), zipfmt::EncodeResult::Ok);
        ASSERT_EQ(AddEntry(writer, "entry", c.data, c.level, c.password, c.aes),
                  zipfmt::EncodeResult::Ok);
        ASSERT_EQ(writer.Finish("comment"), zipfmt::ArchiveWriter::FinishResult::Done);
        zipfmt::ArchiveDirectory dir;
        ASSERT_EQ(zipfmt::ReadArchiveDirectory(archive, dir), zipfmt::DirectoryError::None);
        ASSERT_EQ(dir.entries.size(), 2u);
        EXPECT_EQ(dir.comment, "comment");
        const auto& entry = dir.entries[1];
        const bool aes = !c.password.empty() && c.aes;
        const auto aesInfo = zipfmt::FindAesInfo(entry.extra);
        EXPECT_EQ(entry.method, aes ? zipfmt::kMethodAes : c.method);
        EXPECT_EQ(aesInfo.has_value(), aes);
        EXPECT_EQ(aesInfo ? aesInfo->method : entry.method, c.method)
            << c.data.size() << " " << c.level;
        // Under AES only the smallest entries leave their CRC-32 out.
        if (aesInfo) {
            EXPECT_EQ(aesInfo->version,
                      c.data.size() < 20 ? zipfmt::kAesVersion2 : zipfmt::kAesVersion1);
        }
        EXPECT_EQ(entry.uncompressedSize, c.data.size());
        const auto [data, status] = ReadEntry(archive, dir, entry, c.password);
        EXPECT_EQ(status, zipfmt::EntryStatus::Ok);
        EXPECT_TRUE(data == c.data) << c.data.size() << " " << c.level;
        if (!c.password.empty()) {
            EXPECT_EQ(ReadEntry(archive, dir, entry, "wrong").second,
                      zipfmt::EntryStatus::BadPassword);
            EXPECT_EQ(ReadEntry(archive, dir, entry, "").second,
                      zipfmt::EntryStatus::NeedsPassword);
        }
    }
}

TEST(ArchiveIo, OutputStillHeldByInflateAfterTheLastInputIsDelivered) {
    // Long runs end in matches that zlib may still be copying when it has taken the
    // last input byte and the reader's buffer is full.
    struct Case {
        std::size_t size;
        int level;
        std::size_t bufferSize;
        std::string password;
    };
    const Case cases[] = {
        {(1 << 20) + 1, 1, 256 * 1024, ""},
        {(1 << 20) + 1, 1, 7777, ""},
        {30240, 5, 25, "pw"}, // found by the round-trip fuzz target
        {1 << 20, 9, 256 * 1024, ""},
        {5000000, 9, 256 * 1024, ""},
    };
    for (const Case& c : cases) {
        MemoryArchive archive;
        zipfmt::ArchiveWriter writer(archive);
        const std::string zeros(c.size, '\0');
        ASSERT_EQ(AddEntry(writer, "zeros", zeros, c.level, c.password), zipfmt::EncodeResult::Ok);
        ASSERT_EQ(writer.Finish(""), zipfmt::ArchiveWriter::FinishResult::Done);
        zipfmt::ArchiveDirectory dir;
        ASSERT_EQ(zipfmt::ReadArchiveDirectory(archive, dir), zipfmt::DirectoryError::None);
        const auto [data, status] =
            ReadEntry(archive, dir, dir.entries[0], c.password, c.bufferSize);
        EXPECT_EQ(status, zipfmt::EntryStatus::Ok)
            << c.size << " " << c.level << " " << c.bufferSize;
        EXPECT_TRUE(data == zeros) << c.size << " " << c.level << " " << c.bufferSize;
    }
}

TEST(ArchiveIo, AFailedWriteIsReportedAndRefusesWhatFollows) {
    for (const std::int64_t failAt : {10, 200, 5000, 40000}) {
        MemoryArchive archive(failAt);
        zipfmt::ArchiveWriter writer(archive, 1024);
        auto result = AddEntry(writer, "a", Text(50000), 6, "");
        if (result == zipfmt::EncodeResult::Ok) {
            result = AddEntry(writer, "b", Noise(50000), 6, "");
        }
        const bool finished = result == zipfmt::EncodeResult::Ok &&
                              writer.Finish("") == zipfmt::ArchiveWriter::FinishResult::Done;
        EXPECT_FALSE(finished) << failAt;
        EXPECT_TRUE(writer.Failed()) << failAt;
        EXPECT_FALSE(writer.Write("more", 4));
    }
}

TEST(ArchiveIo, LargeSizesOffsetsAndCountsUseZip64) {
    MemoryArchive archive;
    zipfmt::ArchiveWriter writer(archive);
    zipfmt::CentralRecord big;
    big.name = "big";
    big.compressedSize = 5000000000ull;
    big.uncompressedSize = 6000000000ull;
    big.localHeaderOffset = 4300000000ull;
    writer.AddCentral(big);
    for (int i = 0; i < 70000; ++i) {
        zipfmt::CentralRecord small;
        small.name = "f";
        small.name += std::to_string(i); // "f" + ... trips a false GCC 12 warning
        writer.AddCentral(small);
    }
    ASSERT_EQ(writer.Finish(""), zipfmt::ArchiveWriter::FinishResult::Done);
    // Python's zipfile and unzip read these records too (see the interop tests); here
    // the directory reader must find every value again.
    zipfmt::ArchiveDirectory dir;
    ASSERT_EQ(zipfmt::ReadArchiveDirectory(archive, dir), zipfmt::DirectoryError::None);
    EXPECT_TRUE(dir.zip64);
    ASSERT_EQ(dir.entries.size(), 70001u);
    EXPECT_EQ(dir.entries[0].compressedSize, 5000000000ull);
    EXPECT_EQ(dir.entries[0].uncompressedSize, 6000000000ull);
    EXPECT_EQ(dir.entries[0].localHeaderPosition, 4300000000ull);
    EXPECT_TRUE(dir.entries[0].zip64);
    EXPECT_EQ(dir.entries[70000].name, "f69999");
    EXPECT_FALSE(dir.entries[1].zip64);
}

TEST(ArchiveIo, AFieldPastSixteenBitsIsRefusedNotCut) {
    // An extra field that fits until the zip64 block it comes to need is added, and an
    // archive comment one byte too long.
    zipfmt::CentralRecord grown;
    grown.name = "grown";
    grown.extra = std::string(65530, 'x');
    grown.uncompressedSize = 5000000000ull;
    zipfmt::CentralRecord plain;
    plain.name = "plain";
    const struct {
        zipfmt::CentralRecord record;
        std::string comment;
        std::string overlong;
    } cases[] = {{grown, "", "grown"}, {plain, std::string(65536, 'c'), ""}};
    for (const auto& c : cases) {
        MemoryArchive archive;
        zipfmt::ArchiveWriter writer(archive);
        writer.AddCentral(c.record);
        EXPECT_EQ(writer.Finish(c.comment), zipfmt::ArchiveWriter::FinishResult::FieldTooLong);
        EXPECT_EQ(writer.OverlongName(), c.overlong);
    }
}

TEST(ArchiveIo, AReaderNeverYieldsMoreThanTheDirectorysSize) {
    // One MiB of zeros, deflated, under a directory that says 1000 bytes.
    MemoryArchive archive;
    zipfmt::ArchiveWriter writer(archive);
    ASSERT_EQ(AddEntry(writer, "bomb", std::string(1 << 20, '\0'), 9, ""),
              zipfmt::EncodeResult::Ok);
    ASSERT_EQ(writer.Finish(""), zipfmt::ArchiveWriter::FinishResult::Done);
    zipfmt::ArchiveDirectory dir;
    ASSERT_EQ(zipfmt::ReadArchiveDirectory(archive, dir), zipfmt::DirectoryError::None);
    for (const std::uint64_t claimed : {1000ull, (1ull << 20) - 1, (1ull << 20) + 1}) {
        zipfmt::CentralEntry entry = dir.entries[0];
        entry.uncompressedSize = claimed;
        const auto [data, status] = ReadEntry(archive, dir, entry, "");
        EXPECT_EQ(status, zipfmt::EntryStatus::BadCrc) << claimed;
        EXPECT_LE(data.size(), claimed);
    }
    zipfmt::CentralEntry outside = dir.entries[0];
    outside.compressedSize = archive.bytes.size();
    EXPECT_EQ(ReadEntry(archive, dir, outside, "").second, zipfmt::EntryStatus::Damaged);
    zipfmt::CentralEntry cut = dir.entries[0];
    cut.compressedSize -= 5; // the deflate stream stops before its end
    EXPECT_EQ(ReadEntry(archive, dir, cut, "").second, zipfmt::EntryStatus::Damaged);
}

} // namespace
