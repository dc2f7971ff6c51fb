#pragma once
// JPEG data to pixels through libjpeg. The data is untrusted: anything libjpeg finds
// wrong, warnings included, ends the decoding with an error instead of a picture.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace util {

struct Picture {
    int width = 0;
    int height = 0;
    // Rows top first, four bytes a pixel: blue, green, red and 255, as a 32-bit
    // Windows bitmap lays them out.
    std::vector<std::uint8_t> pixels;
};

struct JpegResult {
    Picture picture;
    std::string error; // empty when the picture was decoded
};

// Pictures larger than this many pixels are refused before any pixel memory is taken.
inline constexpr std::size_t kMaxJpegPixels = 16u * 1024u * 1024u;

JpegResult DecodeJpeg(std::span<const std::uint8_t> data);

} // namespace util
