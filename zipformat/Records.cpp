#include "zipformat/Records.h"

#include "zipformat/ByteCursor.h"

namespace zipfmt {

std::span<const std::uint8_t> FindExtraBlock(std::span<const std::uint8_t> extra,
                                             std::uint16_t id) {
    ByteCursor in(extra);
    while (in.Remaining() >= 4) {
        const std::uint16_t blockId = in.U16();
        const auto block = in.Bytes(in.U16());
        if (in.Failed()) {
            break; // a block that runs past the field ends it
        }
        if (blockId == id) {
            return block;
        }
    }
    return {};
}

} // namespace zipfmt
