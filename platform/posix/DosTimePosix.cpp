#include "platform/posix/DosTimePosix.h"

namespace platform {

std::uint32_t ToDosTime(std::time_t seconds) {
    std::tm t{};
    if (!::localtime_r(&seconds, &t) || t.tm_year < 80) {
        return (0u << 25) | (1u << 21) | (1u << 16); // 1980-01-01 00:00
    }
    if (t.tm_year > 207) {
        return 127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u; // 2107-12-31
    }
    return static_cast<std::uint32_t>(t.tm_year - 80) << 25 |
           static_cast<std::uint32_t>(t.tm_mon + 1) << 21 |
           static_cast<std::uint32_t>(t.tm_mday) << 16 |
           static_cast<std::uint32_t>(t.tm_hour) << 11 | static_cast<std::uint32_t>(t.tm_min) << 5 |
           static_cast<std::uint32_t>(t.tm_sec / 2);
}

std::time_t FromDosTime(std::uint32_t dosTime) {
    std::tm t{};
    t.tm_year = static_cast<int>(dosTime >> 25) + 80;
    t.tm_mon = static_cast<int>((dosTime >> 21) & 0x0F) - 1;
    t.tm_mday = static_cast<int>((dosTime >> 16) & 0x1F);
    t.tm_hour = static_cast<int>((dosTime >> 11) & 0x1F);
    t.tm_min = static_cast<int>((dosTime >> 5) & 0x3F);
    t.tm_sec = static_cast<int>(dosTime & 0x1F) * 2;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

timespec ToTimespec(const ModifiedTime& time) {
    if (!time.exact) {
        return {FromDosTime(time.dosTime), 0};
    }
    const auto seconds = static_cast<std::int64_t>(*time.exact / kTicksPerSecond) -
                         static_cast<std::int64_t>(kUnixEpochTicks / kTicksPerSecond);
    return {static_cast<std::time_t>(seconds),
            static_cast<long>(*time.exact % kTicksPerSecond) * 100};
}

std::uint64_t TicksOf(const timespec& time) {
    const std::int64_t before = static_cast<std::int64_t>(kUnixEpochTicks / kTicksPerSecond);
    if (time.tv_sec < -before) {
        return 0;
    }
    return static_cast<std::uint64_t>(time.tv_sec + before) * kTicksPerSecond +
           static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

} // namespace platform
