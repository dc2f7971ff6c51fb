#include <gtest/gtest.h>

#include <zlib.h>

#include "tests/support/MemoryArchive.h"
#include "tests/support/TempDir.h"
#include "tests/zipdll/TestData.h"
#include "zipdll/DeflateAhead.h"
#include "zipformat/BlockDeflater.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryReader.h"
#include "zipformat/LocalHeader.h"

namespace {

using zipfmt::kDeflateBlock;

// True when bytes are one raw deflate stream that ends exactly where they do.
bool OneDeflateStream(const std::string& bytes, std::size_t size) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        return false;
    }
    std::string out(size + 1, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const bool whole = rc == Z_STREAM_END && z.avail_in == 0 && z.total_out == size;
    inflateEnd(&z);
    return whole;
}

TEST(DeflateAhead, FilesReadBackWholeAsOneDeflateStreamWithAnyNumberOfWorkers) {
    const std::string text = enginetest::CompressibleText(6 * kDeflateBlock);
    struct Case {
        std::string name, data;
        int method; // -1: cannot be opened
    };
    const Case cases[] = {
        {"one.txt", "x", 0},
        {"noise.bin", enginetest::Noise(5000), 0},
        {"gone.txt", "", -1},
        {"block.txt", text.substr(0, kDeflateBlock), 8},            // ends on a block
        {"blocks.txt", text.substr(0, 5 * kDeflateBlock + 123), 8}, // six joined
        {"blocks4.txt", text.substr(0, 4 * kDeflateBlock), 8},      // ends on a block
        {"mixed.bin", enginetest::Noise(300000) + text.substr(0, 400000), 8},
        {"noise2.bin", enginetest::Noise(3 * kDeflateBlock), 0}, // several blocks, none shrink
    };
    TempDir dir;
    std::vector<zipdll::DeflateAhead::File> files;
    for (const Case& c : cases) {
        files.push_back({c.method < 0 ? dir.File(c.name) : dir.Write(c.name, c.data), 6});
    }
    std::string first;
    for (const unsigned threads : {0u, 1u, 3u}) {
        SCOPED_TRACE(threads);
        testzip::MemoryArchive archive;
        zipfmt::ArchiveWriter writer(archive);
        zipfmt::EntryEncoder encoder;
        zipdll::DeflateAhead ahead(files, threads);
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const platform::FileHandle* file = ahead.Take(i);
            ASSERT_EQ(file == nullptr, cases[i].method < 0) << cases[i].name;
            if (!file) {
                continue;
            }
            zipfmt::NewEntry entry;
            entry.name = cases[i].name;
            entry.expectedSize = static_cast<std::uint64_t>(file->Size());
            zipfmt::CentralRecord record;
            ASSERT_EQ(encoder.Write(writer, entry, ahead, nullptr, record),
                      zipfmt::EncodeResult::Ok);
            writer.AddCentral(record);
        }
        ASSERT_EQ(writer.Finish(""), zipfmt::ArchiveWriter::FinishResult::Done);

        zipfmt::ArchiveDirectory read;
        ASSERT_EQ(zipfmt::ReadArchiveDirectory(archive, read), zipfmt::DirectoryError::None);
        std::size_t at = 0;
        for (const Case& c : cases) {
            if (c.method < 0) {
                continue;
            }
            const auto& e = read.entries.at(at++);
            ASSERT_EQ(e.name, c.name);
            EXPECT_EQ(e.method, c.method) << c.name;
            zipfmt::LocalHeader local;
            ASSERT_TRUE(zipfmt::ReadLocalHeader(archive,
                                                static_cast<std::int64_t>(e.localHeaderPosition),
                                                read.centralStart, local));
            zipfmt::EntryReader reader(archive, e, local, read.centralStart, "");
            std::string back;
            std::uint8_t buffer[65536];
            reader.Stream(buffer, [&](const std::uint8_t* data, std::size_t n) {
                back.append(reinterpret_cast<const char*>(data), n);
                return true;
            });
            EXPECT_EQ(reader.Status(), zipfmt::EntryStatus::Ok) << c.name;
            EXPECT_TRUE(back == c.data) << c.name;
            if (c.method == 8) {
                EXPECT_TRUE(
                    OneDeflateStream(archive.bytes.substr(static_cast<std::size_t>(local.dataStart),
                                                          e.compressedSize),
                                     c.data.size()))
                    << c.name;
            }
        }
        // Workers change when a block is deflated, never its bytes.
        if (first.empty()) {
            first = archive.bytes;
        } else {
            EXPECT_TRUE(archive.bytes == first);
        }
    }
}

} // namespace
