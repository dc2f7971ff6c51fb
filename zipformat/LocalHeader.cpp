#include "zipformat/LocalHeader.h"

#include "zipformat/Records.h"

namespace zipfmt {

bool ReadLocalHeader(const ByteSource& source, std::int64_t position, std::int64_t limit,
                     LocalHeader& out) {
    std::uint8_t fixed[kLocalHeaderSize];
    if (position < 0 || limit - position < static_cast<std::int64_t>(kLocalHeaderSize) ||
        source.ReadAt(position, fixed, sizeof fixed) != sizeof fixed ||
        Le32(fixed) != kLocalHeaderSignature) {
        return false;
    }
    const std::size_t nameLength = Le16(fixed + 26);
    const std::size_t extraLength = Le16(fixed + 28);
    const std::int64_t variable = static_cast<std::int64_t>(nameLength + extraLength);
    if (limit - position - static_cast<std::int64_t>(kLocalHeaderSize) < variable) {
        return false;
    }
    std::vector<std::uint8_t> bytes(nameLength + extraLength);
    if (source.ReadAt(position + static_cast<std::int64_t>(kLocalHeaderSize), bytes.data(),
                      bytes.size()) != bytes.size()) {
        return false;
    }
    out.versionNeeded = Le16(fixed + 4);
    out.flags = Le16(fixed + 6);
    out.method = Le16(fixed + 8);
    out.dosDateTime = Le32(fixed + 10);
    out.name.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(nameLength));
    out.extra.assign(bytes.begin() + static_cast<std::ptrdiff_t>(nameLength), bytes.end());
    out.zip64 = !FindExtraBlock(out.extra, kExtraZip64).empty();
    out.position = position;
    out.dataStart = position + static_cast<std::int64_t>(kLocalHeaderSize) + variable;
    return true;
}

} // namespace zipfmt
