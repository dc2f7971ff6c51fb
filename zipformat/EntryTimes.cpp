#include "zipformat/EntryTimes.h"

#include <limits>

#include "zipformat/ArchiveWriter.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {

// The NTFS field: 4 reserved bytes, then tagged attributes; tag 1 holds the
// modification, access and creation times.
constexpr std::uint16_t kNtfsTimesTag = 1;
constexpr std::size_t kNtfsTimesSize = 24;
constexpr std::uint8_t kUnixTimeHasModified = 0x01;

constexpr std::int64_t kEpochSeconds =
    static_cast<std::int64_t>(platform::kUnixEpochTicks / platform::kTicksPerSecond);

std::optional<std::uint64_t> NtfsModified(std::span<const std::uint8_t> block) {
    std::size_t at = 4;
    while (block.size() >= at + 4) {
        const std::uint16_t tag = Le16(block.data() + at);
        const std::size_t size = Le16(block.data() + at + 2);
        at += 4;
        if (size > block.size() - at) {
            break;
        }
        if (tag == kNtfsTimesTag && size >= kNtfsTimesSize) {
            const std::uint64_t modified = Le64(block.data() + at);
            return modified != 0 ? std::optional(modified) : std::nullopt;
        }
        at += size;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> UnixModified(std::span<const std::uint8_t> block) {
    if (block.size() < 5 || (block[0] & kUnixTimeHasModified) == 0) {
        return std::nullopt;
    }
    // Signed seconds: writers put times before 1970 there as negative ones.
    const auto seconds = static_cast<std::int32_t>(Le32(block.data() + 1));
    return static_cast<std::uint64_t>(seconds + kEpochSeconds) * platform::kTicksPerSecond;
}

} // namespace

std::optional<std::uint64_t> ExactModifiedTime(std::span<const std::uint8_t> extra) {
    if (const auto ntfs = NtfsModified(FindExtraBlock(extra, kExtraNtfsTimes))) {
        return ntfs;
    }
    return UnixModified(FindExtraBlock(extra, kExtraUnixTime));
}

std::string TimeExtraBlocks(const platform::FileTimes& times) {
    if (times.modified == 0) {
        return {};
    }
    std::string out;
    PutLe16(out, kExtraNtfsTimes);
    PutLe16(out, 4 + 4 + kNtfsTimesSize);
    PutLe32(out, 0);
    PutLe16(out, kNtfsTimesTag);
    PutLe16(out, kNtfsTimesSize);
    PutLe64(out, times.modified);
    PutLe64(out, times.accessed != 0 ? times.accessed : times.modified);
    PutLe64(out, times.created != 0 ? times.created : times.modified);
    const std::int64_t seconds =
        static_cast<std::int64_t>(times.modified / platform::kTicksPerSecond) - kEpochSeconds;
    if (seconds >= 0 && seconds <= std::numeric_limits<std::int32_t>::max()) {
        PutLe16(out, kExtraUnixTime);
        PutLe16(out, 5);
        out += static_cast<char>(kUnixTimeHasModified);
        PutLe32(out, static_cast<std::uint64_t>(seconds));
    }
    return out;
}

} // namespace zipfmt
