#include "zipformat/LocalHeader.h"

#include "zipformat/ByteCursor.h"
#include "zipformat/Records.h"

namespace zipfmt {

LocalHeaderFixed
DecodeLocalHeaderFixed(std::span<const std::uint8_t, kLocalHeaderFixedSize> bytes) {
    ByteCursor in(bytes);
    LocalHeaderFixed fields;
    fields.versionNeeded = in.U16();
    fields.flags = in.U16();
    fields.method = in.U16();
    fields.dosDateTime = in.U32();
    fields.crc32 = in.U32();
    fields.compressedSize = in.U32();
    fields.uncompressedSize = in.U32();
    fields.nameLength = in.U16();
    fields.extraLength = in.U16();
    return fields;
}

bool ReadLocalHeader(const ByteSource& source, std::int64_t position, std::int64_t limit,
                     LocalHeader& out) {
    std::uint8_t fixed[kLocalHeaderSize];
    if (position < 0 || limit - position < static_cast<std::int64_t>(kLocalHeaderSize) ||
        source.ReadAt(position, fixed, sizeof fixed) != sizeof fixed ||
        Le32(fixed) != kLocalHeaderSignature) {
        return false;
    }
    const LocalHeaderFixed fields =
        DecodeLocalHeaderFixed(std::span(fixed).subspan<4, kLocalHeaderFixedSize>());
    const std::size_t nameLength = fields.nameLength;
    const std::size_t extraLength = fields.extraLength;
    const std::int64_t variable = static_cast<std::int64_t>(nameLength + extraLength);
    if (limit - position - static_cast<std::int64_t>(kLocalHeaderSize) < variable) {
        return false;
    }
    std::vector<std::uint8_t> bytes(nameLength + extraLength);
    if (source.ReadAt(position + static_cast<std::int64_t>(kLocalHeaderSize), bytes.data(),
                      bytes.size()) != bytes.size()) {
        return false;
    }
    out.versionNeeded = fields.versionNeeded;
    out.flags = fields.flags;
    out.method = fields.method;
    out.dosDateTime = fields.dosDateTime;
    out.name.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(nameLength));
    out.extra.assign(bytes.begin() + static_cast<std::ptrdiff_t>(nameLength), bytes.end());
    out.zip64 = !FindExtraBlock(out.extra, kExtraZip64).empty();
    out.position = position;
    out.dataStart = position + static_cast<std::int64_t>(kLocalHeaderSize) + variable;
    return true;
}

} // namespace zipfmt
