#pragma once
// One entry of an archive's contents list, as its local file header gives it.

#include <cstdint>
#include <string>
#include <string_view>

// A local header's fields after its signature, under the names the contents list
// and its callers use.
struct LocalHeaderFields {
    std::uint16_t VersionNeeded = 0;
    std::uint16_t GeneralFlags = 0;
    std::uint16_t CompressionMethod = 0;
    std::uint32_t ModDateTime = 0; // DOS date (high 16 bits) and time (low 16 bits)
    std::uint32_t Crc32 = 0;
    std::int32_t CompressedSize = 0;
    std::int32_t UncompressedSize = 0;
    std::uint16_t NameLength = 0;
    std::uint16_t ExtraLength = 0;
};

struct ZipDirEntry : LocalHeaderFields {
private:
    bool shownIsStored_ = false; // first, where it takes the fields' padding

public:
    // The stored name's bytes (no code-page conversion), cut at a zero byte.
    std::string FileName;
    // The real sizes, also past 4 GiB, where the fields above may hold a marker.
    std::uint64_t UncompressedSize64 = 0;
    std::uint64_t CompressedSize64 = 0;

    // The name as a person reads it, in UTF-8.
    const std::string& ShownName() const { return shownIsStored_ ? FileName : shownName_; }
    // Set once FileName is. Most names read as their stored bytes, which a list of
    // many entries then holds once.
    void SetShownName(std::string_view name) {
        shownIsStored_ = name == FileName;
        shownName_.assign(shownIsStored_ ? std::string_view() : name);
    }

private:
    std::string shownName_;
};
