#pragma once
// CRC-32 of entry data, by zlib.

#include <cstddef>
#include <cstdint>
#include <zlib.h>

namespace zipfmt {

inline std::uint32_t UpdateCrc32(std::uint32_t crc, const void* data, std::size_t count) {
    const auto* p = static_cast<const Bytef*>(data);
    while (count > 0) {
        const auto chunk = static_cast<uInt>(count < (1u << 30) ? count : (1u << 30));
        crc = static_cast<std::uint32_t>(crc32(crc, p, chunk));
        p += chunk;
        count -= chunk;
    }
    return crc;
}

} // namespace zipfmt
