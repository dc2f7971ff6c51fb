#pragma once
// A zlib stream making raw deflate data (no zlib header) at one level, reused from
// entry to entry and made anew only when the level changes.

#include <zlib.h>

namespace zipfmt {

struct RawDeflater {
    z_stream stream{};
    int level = -1;

    RawDeflater() = default;
    RawDeflater(const RawDeflater&) = delete;
    RawDeflater& operator=(const RawDeflater&) = delete;
    ~RawDeflater() { End(); }

    bool Start(int wanted) {
        if (level == wanted) {
            return deflateReset(&stream) == Z_OK;
        }
        End();
        if (deflateInit2(&stream, wanted, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            return false;
        }
        level = wanted;
        return true;
    }
    void End() {
        if (level >= 0) {
            deflateEnd(&stream);
            level = -1;
        }
    }
};

} // namespace zipfmt
