#include "util/EntryFormat.h"

#include <climits>
#include <cmath>
#include <cstdint>
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

void AppendIso(std::string& out, const DosDateTime& t) {
    // Every field of a packed value has two digits at most, the year four.
    char text[] = "0000-00-00 00:00:00";
    const auto digits = [&text](std::size_t at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10) {
            text[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        }
    };
    digits(0, t.year, 4);
    digits(5, t.month, 2);
    digits(8, t.day, 2);
    digits(11, t.hour, 2);
    digits(14, t.minute, 2);
    digits(17, t.second, 2);
    out.append(text, sizeof text - 1);
}

std::string FormatIso(const DosDateTime& t) {
    std::string text;
    AppendIso(text, t);
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

std::optional<long long> CompressionRatio(std::uint64_t uncompressedSize,
                                          std::uint64_t compressedSize) {
    const std::uint64_t u = uncompressedSize;
    if (u == 0) {
        return std::nullopt;
    }
    // 100 * d / u in integers: a double cannot tell an exact half at these sizes.
    const bool grew = compressedSize > u;
    const std::uint64_t d = grew ? compressedSize - u : u - compressedSize;
    if (d / u >= static_cast<std::uint64_t>(LLONG_MAX / 100)) {
        return std::nullopt; // no percentage fits
    }
    const std::uint64_t r = d % u;
    std::uint64_t percent = 0, rest = 0; // 100 * r == percent * u + rest
    if (u <= UINT64_MAX / 200) {
        percent = 100 * r / u;
        rest = 100 * r % u;
    } else {
        for (int i = 0; i < 100; ++i) { // adds r a hundred times, never past u
            if (rest >= u - r) {
                rest -= u - r;
                ++percent;
            } else {
                rest += r;
            }
        }
    }
    percent += d / u * 100;
    const bool up = rest > u - rest || (rest == u - rest && percent % 2 == 1);
    const auto ratio = static_cast<long long>(percent + (up ? 1 : 0));
    return grew ? -ratio : ratio;
}

std::string RatioText(std::int32_t uncompressedSize, std::int32_t compressedSize) {
    const auto ratio = CompressionRatio(uncompressedSize, compressedSize);
    return ratio ? std::to_string(*ratio) + "%" : std::string();
}

std::string RatioText(std::uint64_t uncompressedSize, std::uint64_t compressedSize) {
    const auto ratio = CompressionRatio(uncompressedSize, compressedSize);
    return ratio ? std::to_string(*ratio) + "%" : std::string();
}

} // namespace util
