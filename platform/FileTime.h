#pragma once
// File times as Windows and the zip NTFS field keep them: 100 ns steps since
// 1601-01-01 UTC.

#include <cstdint>
#include <optional>

namespace platform {

// 100 ns steps from 1601-01-01 to 1970-01-01, and in a second.
inline constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ULL;
inline constexpr std::uint64_t kTicksPerSecond = 10000000ULL;

struct FileTimes {
    std::uint64_t modified = 0, accessed = 0, created = 0; // 0 where unknown
};

// What a written file's modification time is set from: the exact time when it is
// known, else the DOS date-time (local time, two-second steps).
struct ModifiedTime {
    std::uint32_t dosTime = 0;
    std::optional<std::uint64_t> exact;
};

} // namespace platform
