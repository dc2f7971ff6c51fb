#pragma once
// Exact file times in an entry's extra field, beside its DOS date-time: the NTFS
// field (0x000A: 100 ns, UTC) and the Unix extended timestamp (0x5455: seconds, UTC).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/FileTime.h"

namespace zipfmt {

inline constexpr std::uint16_t kExtraNtfsTimes = 0x000A;
inline constexpr std::uint16_t kExtraUnixTime = 0x5455;

// The modification time the field knows best: the NTFS field's before the extended
// timestamp's; nothing when neither has one.
std::optional<std::uint64_t> ExactModifiedTime(std::span<const std::uint8_t> extra);

// Both blocks for the times of a file (the extended timestamp only where its 32-bit
// seconds reach), to stand in a local and a central header alike.
std::string TimeExtraBlocks(const platform::FileTimes& times);

} // namespace zipfmt
