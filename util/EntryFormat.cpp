#include "util/EntryFormat.h"

#include <cmath>
#include <cstdio>

namespace util {

DosDateTime DosDateTime::FromPacked(std::uint32_t packed) {
    const std::uint32_t date = packed >> 16;
    const std::uint32_t time = packed & 0xFFFF;
    return DosDateTime{
        static_cast<int>(1980 + (date >> 9)), static_cast<int>((date >> 5) & 0x0F),
        static_cast<int>(date & 0x1F),        static_cast<int>(time >> 11),
        static_cast<int>((time >> 5) & 0x3F), static_cast<int>((time & 0x1F) * 2),
    };
}

bool DosDateTime::IsValid() const {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

std::string FormatIso(const DosDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::optional<long long> CompressionRatio(std::int32_t uncompressedSize,
                                          std::int32_t compressedSize) {
    if (uncompressedSize <= 0) {
        return std::nullopt;
    }
    const double ratio =
        (1.0 - static_cast<double>(compressedSize) / static_cast<double>(uncompressedSize)) * 100.0;
    // The default rounding mode sends an exact half to the even neighbour.
    return std::llrint(ratio);
}

std::string RatioText(std::int32_t uncompressedSize, std::int32_t compressedSize) {
    const auto ratio = CompressionRatio(uncompressedSize, compressedSize);
    return ratio ? std::to_string(*ratio) + "%" : std::string();
}

std::string RatioText(std::uint64_t uncompressedSize, std::uint64_t compressedSize) {
    if (uncompressedSize == 0) {
        return {};
    }
    const double ratio =
        (1.0 - static_cast<double>(compressedSize) / static_cast<double>(uncompressedSize)) * 100.0;
    return std::to_string(std::llrint(ratio)) + "%";
}

} // namespace util
