#include "zipformat/Records.h"

namespace zipfmt {

std::span<const std::uint8_t> FindExtraBlock(std::span<const std::uint8_t> extra,
                                             std::uint16_t id) {
    std::size_t at = 0;
    while (extra.size() - at >= 4) {
        const std::uint16_t blockId = Le16(extra.data() + at);
        const std::size_t length = Le16(extra.data() + at + 2);
        if (length > extra.size() - at - 4) {
            break;
        }
        if (blockId == id) {
            return extra.subspan(at + 4, length);
        }
        at += 4 + length;
    }
    return {};
}

} // namespace zipfmt
