#include "util/Jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace util {

namespace {

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->manager.format_message(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // A warning means damaged data (a truncated file is padded with grey): refuse it
    // rather than show a picture that is partly made up. Trace messages are ignored.
    if (level < 0) {
        Fail(info);
    }
}

// Only this frame holds setjmp: everything that must survive a longjmp lives in the
// caller's frame or in libjpeg's own memory, and no C++ object is made between the two.
bool Decode(const std::uint8_t* data, std::size_t size, Picture& out, char* message) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Fail;
    errors.manager.emit_message = OnMessage;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&info);
    const std::size_t width = info.output_width;
    const std::size_t height = info.output_height;
    if (width * height > kMaxJpegPixels) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "Picture too large: %zu by %zu pixels", width,
                      height);
        return false;
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(width * height * 4);
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + info.output_scanline * width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

JpegResult DecodeJpeg(std::span<const std::uint8_t> data) {
    JpegResult result;
    char message[JMSG_LENGTH_MAX] = {};
    if (!Decode(data.data(), data.size(), result.picture, message)) {
        result.picture = Picture{};
        result.error = message[0] != '\0' ? message : "Damaged JPEG data";
    }
    return result;
}

} // namespace util
