#pragma once
// Hand-made zip archives for tests: well-formed ones, and the pieces to damage them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testzip {

std::string Le16(std::uint16_t value);
std::string Le32(std::uint32_t value);
std::string Le64(std::uint64_t value);

// 2021-03-04 05:06:08 as a DOS date-time.
inline constexpr std::uint32_t kSampleDosTime =
    (41u << 25 | 3u << 21 | 4u << 16) | (5u << 11 | 6u << 5 | 4u);

struct Entry {
    std::string name;
    std::string data; // stored as given (method 0) unless method says otherwise
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t dosDateTime = kSampleDosTime;
    std::uint32_t uncompressedSize = 0; // 0: the data's size
    std::string extra;
    // Written by a streaming tool: flag bit 3, zero CRC and sizes in the local header,
    // a data descriptor after the data.
    bool descriptor = false;
    bool descriptorSignature = true;
    bool zip64Descriptor = false;
    // Values written into the local header in place of the real ones.
    std::optional<std::uint32_t> localCompressedSize;
    std::optional<std::uint32_t> localUncompressedSize;
    std::optional<std::uint16_t> localNameLength;
};

// A stored entry.
Entry Stored(std::string name, std::string data);

// A stored entry whose local header claims data that would run into the end record.
Entry Overrunning(std::string name);

// The local header (signature, 26 bytes, name, extra) without the data.
std::string LocalHeader(const Entry& entry);

struct Layout {
    std::string bytes;
    std::vector<std::uint32_t> localOffsets; // file positions of the local headers
    std::uint32_t centralOffset = 0;
};

// Local headers with their data, then the central directory and its end record.
// prefix stands before the first local header; stored offsets count from the
// file's start, as they do in a self-extractor whose offsets were adjusted.
Layout Build(const std::vector<Entry>& entries, const std::string& prefix = "");
std::string Archive(const std::vector<Entry>& entries, const std::string& prefix = "");

// An end-of-central-directory record.
std::string EndRecord(std::uint16_t count, std::uint32_t centralSize, std::uint32_t centralOffset);

std::uint32_t Crc32(const std::string& data);

// Bytes that do not compress, the same for the same seed: a file of them takes a while
// to add, long enough for a test to stop the add at it.
std::string Incompressible(std::size_t size, unsigned seed);

} // namespace testzip
