#pragma once
// An entry's local header, read at the position the central directory gives.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "zipformat/ByteSource.h"
#include "zipformat/Records.h"

namespace zipfmt {

// The fixed fields that follow a local header's signature.
struct LocalHeaderFixed {
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t dosDateTime = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;   // 0 or a marker where a descriptor or zip64 block
    std::uint32_t uncompressedSize = 0; // has the real sizes
    std::uint16_t nameLength = 0;
    std::uint16_t extraLength = 0;
};
inline constexpr std::size_t kLocalHeaderFixedSize = kLocalHeaderSize - 4;

LocalHeaderFixed DecodeLocalHeaderFixed(std::span<const std::uint8_t, kLocalHeaderFixedSize> bytes);

struct LocalHeader {
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t dosDateTime = 0;
    std::string name;
    std::vector<std::uint8_t> extra;
    std::int64_t position = 0;
    std::int64_t dataStart = 0; // the first byte after the header
    bool zip64 = false;         // carries a zip64 block: its descriptor has 64-bit sizes
};

// False when no complete local header stands at position before limit.
bool ReadLocalHeader(const ByteSource& source, std::int64_t position, std::int64_t limit,
                     LocalHeader& out);

} // namespace zipfmt
