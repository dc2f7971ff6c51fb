#pragma once
// How an archive entry's numbers are shown: the ratio and the DOS date-time.

#include <cstdint>
#include <optional>
#include <string>

namespace util {

// Calendar fields of a DOS packed date-time (date in the high 16 bits). Values are
// decoded as stored and may be out of range (month 0, second 62...).
struct DosDateTime {
    int year, month, day, hour, minute, second;

    static DosDateTime FromPacked(std::uint32_t packed);
    // False for a value that names no real moment (month 0, February 30, hour 25...).
    bool IsValid() const;
};

// "YYYY-MM-DD HH:MM:SS".
std::string FormatIso(const DosDateTime& t);
// The same appended to out, for long listings.
void AppendIso(std::string& out, const DosDateTime& t);

// Space saved by compression, in whole percent, an exact half rounded to the even
// neighbour; negative when the stored data is larger. No value for a size of 0 or less.
std::optional<long long> CompressionRatio(std::int32_t uncompressedSize,
                                          std::int32_t compressedSize);

// The same for the real sizes of an entry, also past 4 GiB; exact at every size.
std::optional<long long> CompressionRatio(std::uint64_t uncompressedSize,
                                          std::uint64_t compressedSize);

// The ratio as the contents list shows it ("60%"), or "" when there is none.
std::string RatioText(std::int32_t uncompressedSize, std::int32_t compressedSize);
std::string RatioText(std::uint64_t uncompressedSize, std::uint64_t compressedSize);

} // namespace util
