#pragma once
// One entry of an archive's contents list, as its local file header gives it.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

static_assert(std::endian::native == std::endian::little,
              "the local header is read straight into its fields");

// Exactly the 26 bytes that follow a local header's signature, read in one piece.
#pragma pack(push, 1)
struct LocalHeaderFields {
    std::uint16_t VersionNeeded;
    std::uint16_t GeneralFlags;
    std::uint16_t CompressionMethod;
    std::uint32_t ModDateTime; // DOS date (high 16 bits) and time (low 16 bits)
    std::uint32_t Crc32;
    std::int32_t CompressedSize;
    std::int32_t UncompressedSize;
    std::uint16_t NameLength;
    std::uint16_t ExtraLength;
};
#pragma pack(pop)

static_assert(sizeof(LocalHeaderFields) == 26);
static_assert(offsetof(LocalHeaderFields, VersionNeeded) == 0);
static_assert(offsetof(LocalHeaderFields, GeneralFlags) == 2);
static_assert(offsetof(LocalHeaderFields, CompressionMethod) == 4);
static_assert(offsetof(LocalHeaderFields, ModDateTime) == 6);
static_assert(offsetof(LocalHeaderFields, Crc32) == 10);
static_assert(offsetof(LocalHeaderFields, CompressedSize) == 14);
static_assert(offsetof(LocalHeaderFields, UncompressedSize) == 18);
static_assert(offsetof(LocalHeaderFields, NameLength) == 22);
static_assert(offsetof(LocalHeaderFields, ExtraLength) == 24);

struct ZipDirEntry : LocalHeaderFields {
    // The stored name's bytes (no code-page conversion), cut at a zero byte.
    std::string FileName;
    // The name as a person reads it, in UTF-8.
    std::string ShownName;
    // The real sizes, also past 4 GiB, where the fields above may hold a marker.
    std::uint64_t UncompressedSize64 = 0;
    std::uint64_t CompressedSize64 = 0;
};
