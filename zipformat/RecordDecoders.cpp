#include "zipformat/RecordDecoders.h"

namespace zipfmt {

namespace {

bool HasSignature(ByteCursor& cursor, std::uint32_t signature) {
    return cursor.U32() == signature && !cursor.Failed();
}

} // namespace

std::optional<EndRecordFields> DecodeEndRecord(std::span<const std::uint8_t> bytes) {
    ByteCursor in(bytes);
    if (!HasSignature(in, kEndOfCentralSignature)) {
        return std::nullopt;
    }
    EndRecordFields end;
    end.thisDisk = in.U16();
    end.centralDisk = in.U16();
    in.Skip(2); // entries on this disk
    end.entryCount = in.U16();
    end.centralSize = in.U32();
    end.centralOffset = in.U32();
    end.commentLength = in.U16();
    return in.Failed() ? std::nullopt : std::optional(end);
}

std::optional<std::uint64_t> DecodeZip64Locator(std::span<const std::uint8_t> bytes) {
    ByteCursor in(bytes);
    if (!HasSignature(in, kZip64LocatorSignature)) {
        return std::nullopt;
    }
    in.Skip(4); // disk of the end record
    const std::uint64_t offset = in.U64();
    return in.Failed() ? std::nullopt : std::optional(offset);
}

std::optional<Zip64EndFields> DecodeZip64EndRecord(std::span<const std::uint8_t> bytes) {
    ByteCursor in(bytes);
    if (!HasSignature(in, kZip64EndOfCentralSignature)) {
        return std::nullopt;
    }
    in.Skip(8 + 2 + 2); // size, versions
    Zip64EndFields end;
    end.thisDisk = in.U32();
    end.centralDisk = in.U32();
    in.Skip(8); // entries on this disk
    end.entryCount = in.U64();
    end.centralSize = in.U64();
    end.centralOffset = in.U64();
    return in.Failed() ? std::nullopt : std::optional(end);
}

bool DecodeCentralHeader(ByteCursor& in, CentralEntry& e) {
    if (!HasSignature(in, kCentralHeaderSignature)) {
        return false;
    }
    e.versionMadeBy = in.U16();
    e.versionNeeded = in.U16();
    e.flags = in.U16();
    e.method = in.U16();
    e.dosDateTime = in.U32();
    e.crc32 = in.U32();
    e.compressedSize = in.U32();
    e.uncompressedSize = in.U32();
    const std::size_t nameLength = in.U16();
    const std::size_t extraLength = in.U16();
    const std::size_t commentLength = in.U16();
    e.diskStart = in.U16();
    e.internalAttributes = in.U16();
    e.externalAttributes = in.U32();
    e.localHeaderPosition = in.U32();
    e.name = in.Text(nameLength);
    const auto extra = in.Bytes(extraLength);
    e.extra.assign(extra.begin(), extra.end());
    e.comment = in.Text(commentLength);
    if (in.Failed()) {
        return false;
    }
    // The zip64 block holds, in this order, only the values marked in the header.
    const bool sizeMarked = e.uncompressedSize == kZip64Marker32;
    const bool compressedMarked = e.compressedSize == kZip64Marker32;
    const bool offsetMarked = e.localHeaderPosition == kZip64Marker32;
    const bool diskMarked = e.diskStart == kZip64Marker16;
    e.zip64 = false;
    if (!sizeMarked && !compressedMarked && !offsetMarked && !diskMarked) {
        return true;
    }
    ByteCursor block(FindExtraBlock(e.extra, kExtraZip64));
    if (sizeMarked) {
        e.uncompressedSize = block.U64();
    }
    if (compressedMarked) {
        e.compressedSize = block.U64();
    }
    if (offsetMarked) {
        e.localHeaderPosition = block.U64();
    }
    if (diskMarked) {
        e.diskStart = block.U32();
    }
    e.zip64 = true;
    return !block.Failed();
}

std::optional<Zip64Sizes> DecodeLocalZip64Sizes(std::span<const std::uint8_t> extra) {
    ByteCursor block(FindExtraBlock(extra, kExtraZip64));
    Zip64Sizes sizes;
    sizes.uncompressed = block.U64();
    sizes.compressed = block.U64();
    return block.Failed() ? std::nullopt : std::optional(sizes);
}

} // namespace zipfmt
