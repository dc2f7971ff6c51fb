#pragma once
// One decoder for each zip record the readers meet, over a ByteCursor: the central
// header, the end records and the zip64 extra block. A local header's fixed fields
// are decoded in LocalHeader.h.

#include <cstdint>
#include <optional>
#include <span>

#include "zipformat/ByteCursor.h"
#include "zipformat/CentralDirectory.h"

namespace zipfmt {

// The end-of-central-directory record's fields after its signature.
struct EndRecordFields {
    std::uint16_t thisDisk = 0;    // the part this record ends, of a split archive
    std::uint16_t centralDisk = 0; // the part its central directory starts in
    std::uint16_t entryCount = 0;  // on all disks
    std::uint32_t centralSize = 0;
    std::uint32_t centralOffset = 0;
    std::uint16_t commentLength = 0;
};
// Nothing when the bytes are not a whole record with its signature.
std::optional<EndRecordFields> DecodeEndRecord(std::span<const std::uint8_t> bytes);

// The zip64 locator's stored offset of its end record; nothing when not a locator.
std::optional<std::uint64_t> DecodeZip64Locator(std::span<const std::uint8_t> bytes);

struct Zip64EndFields {
    std::uint32_t thisDisk = 0;
    std::uint32_t centralDisk = 0;
    std::uint64_t entryCount = 0;
    std::uint64_t centralSize = 0;
    std::uint64_t centralOffset = 0;
};
std::optional<Zip64EndFields> DecodeZip64EndRecord(std::span<const std::uint8_t> bytes);

// Decodes the central header at the cursor, with its name, extra field and comment,
// and the values its zip64 block holds for fields marked 0xFFFF...; false when it is
// not one, is cut short, or lacks a value it marks. Offsets are as stored.
bool DecodeCentralHeader(ByteCursor& cursor, CentralEntry& entry);

// The two sizes a local header's zip64 block holds (uncompressed first); nothing when
// its block is missing or short.
struct Zip64Sizes {
    std::uint64_t uncompressed = 0;
    std::uint64_t compressed = 0;
};
std::optional<Zip64Sizes> DecodeLocalZip64Sizes(std::span<const std::uint8_t> extra);

} // namespace zipfmt
