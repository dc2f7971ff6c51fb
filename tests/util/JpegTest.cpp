#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "util/Jpeg.h"

namespace {

// A JPEG of a known pattern, made by libjpeg's own encoder.
std::vector<std::uint8_t> Encode(int width, int height, int components) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                // Smooth ramps, which JPEG keeps close to their values.
                row[static_cast<std::size_t>(x * components + c)] =
                    static_cast<unsigned char>(c == 0   ? x * 2
                                               : c == 1 ? y * 3
                                                        : 128);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> data(buffer, buffer + size);
    std::free(buffer);
    return data;
}

TEST(DecodeJpeg, GivesBlueGreenRedRowsTopFirst) {
    struct Case {
        int width, height, components;
    };
    for (const Case c : {Case{100, 60, 3}, Case{33, 17, 1}}) {
        SCOPED_TRACE(c.components);
        const util::JpegResult result = util::DecodeJpeg(Encode(c.width, c.height, c.components));
        ASSERT_EQ(result.error, "");
        ASSERT_EQ(result.picture.width, c.width);
        ASSERT_EQ(result.picture.height, c.height);
        ASSERT_EQ(result.picture.pixels.size(), static_cast<std::size_t>(c.width * c.height * 4));
        for (const auto& [x, y] :
             {std::pair{0, 0}, {c.width - 1, 0}, {c.width / 2, c.height - 1}}) {
            const std::uint8_t* pixel =
                &result.picture.pixels[static_cast<std::size_t>((y * c.width + x) * 4)];
            const int red = x * 2;
            const int green = c.components == 3 ? y * 3 : red;
            const int blue = c.components == 3 ? 128 : red;
            EXPECT_NEAR(pixel[2], red, 3) << x << "," << y;
            EXPECT_NEAR(pixel[1], green, 3) << x << "," << y;
            EXPECT_NEAR(pixel[0], blue, 3) << x << "," << y;
            EXPECT_EQ(pixel[3], 255);
        }
    }
}

TEST(DecodeJpeg, RefusesEveryTruncationAndWhatIsNoJpeg) {
    const std::vector<std::uint8_t> good = Encode(40, 24, 3);
    std::vector<std::vector<std::uint8_t>> bad = {
        {}, {'h', 'e', 'l', 'l', 'o'}, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}};
    for (std::size_t size = 0; size < good.size(); ++size) {
        bad.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    }
    for (const auto& data : bad) {
        const util::JpegResult result = util::DecodeJpeg(data);
        EXPECT_NE(result.error, "") << data.size() << " bytes";
        EXPECT_EQ(result.picture.width, 0) << data.size() << " bytes";
        EXPECT_TRUE(result.picture.pixels.empty()) << data.size() << " bytes";
    }
}

TEST(DecodeJpeg, RefusesAHugePictureBeforeTakingItsMemory) {
    std::vector<std::uint8_t> data = Encode(16, 16, 3);
    // The frame header (SOF0) gives height and width after its length and precision.
    std::size_t at = 2;
    while (at + 9 < data.size() && !(data[at] == 0xFF && data[at + 1] == 0xC0)) {
        ++at;
    }
    ASSERT_LT(at + 9, data.size());
    // 16383 by 16383: within libjpeg's own limits, past ours.
    for (std::size_t i : {at + 5, at + 7}) {
        data[i] = 0x3F;
        data[i + 1] = 0xFF;
    }
    const util::JpegResult result = util::DecodeJpeg(data);
    EXPECT_EQ(result.error, "Picture too large: 16383 by 16383 pixels");
    EXPECT_TRUE(result.picture.pixels.empty());
}

} // namespace
