#pragma once
// Signatures and little-endian fields of the zip format (the application note's
// sections 4.3 and 4.5).

#include <cstdint>
#include <span>

namespace zipfmt {

inline constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;   // "PK" 3 4
inline constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50; // "PK" 1 2
inline constexpr std::uint32_t kEndOfCentralSignature = 0x06054B50;  // "PK" 5 6
inline constexpr std::uint32_t kZip64EndOfCentralSignature = 0x06064B50;
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
inline constexpr std::uint32_t kDataDescriptorSignature = 0x08074B50;

inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
inline constexpr std::uint16_t kFlagUtf8 = 0x0800;

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;
inline constexpr std::uint16_t kMethodDeflate64 = 9;

// "Version needed to extract" (and the low byte of "made by"): major * 10 + minor.
inline constexpr std::uint16_t kVersionStored = 10;
inline constexpr std::uint16_t kVersionDeflated = 20; // also folders and encryption
inline constexpr std::uint16_t kVersionZip64 = 45;
inline constexpr std::uint16_t kVersionAes = 51;

// The high byte of "made by": the system whose attributes and names the entry has.
inline constexpr std::uint16_t kMadeByDos = 0;
inline constexpr std::uint16_t kMadeByNtfs = 11;
inline constexpr std::uint16_t kMadeByVfat = 14;

inline constexpr std::uint16_t kExtraZip64 = 0x0001;
inline constexpr std::uint16_t kExtraUnicodePath = 0x7075;

inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::size_t kLocalHeaderCrcOffset = 14; // CRC-32, then the two sizes
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::size_t kEndOfCentralSize = 22;
inline constexpr std::size_t kZip64EndOfCentralSize = 56;
inline constexpr std::size_t kZip64LocatorSize = 20;
// The zip64 end record's own size field counts the bytes after its first 12.
inline constexpr std::size_t kZip64EndOfCentralLead = 12;
// A data descriptor: CRC-32 and two sizes of 4 bytes, or of 8 in a zip64 entry,
// after an optional signature.
inline constexpr std::size_t kDataDescriptorSize = 12;
inline constexpr std::size_t kZip64DataDescriptorSize = 20;

// Names, extra fields and comments have 16-bit lengths.
inline constexpr std::size_t kMaxFieldLength = 0xFFFF;

inline constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFF;
inline constexpr std::uint16_t kZip64Marker16 = 0xFFFF;

inline std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t Le64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(Le32(p)) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}

// What a central header and the entry it describes agree on, whether read or written.
struct EntryFields {
    std::uint16_t versionMadeBy = kVersionDeflated;
    std::uint16_t versionNeeded = kVersionDeflated;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t dosDateTime = 0;
    std::uint32_t crc32 = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t uncompressedSize = 0;
    std::uint16_t internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
};

// The data of the first extra-field block with the given id, or an empty span.
// Blocks that run past the field end the search.
std::span<const std::uint8_t> FindExtraBlock(std::span<const std::uint8_t> extra, std::uint16_t id);

} // namespace zipfmt
