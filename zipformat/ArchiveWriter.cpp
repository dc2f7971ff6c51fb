#include "zipformat/ArchiveWriter.h"

#include <algorithm>
#include <cstring>

#include "zipformat/Records.h"

namespace zipfmt {

void PutLe16(std::string& out, std::uint64_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutLe32(std::string& out, std::uint64_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, (value >> 16) & 0xFFFF);
}

void PutLe64(std::string& out, std::uint64_t value) {
    PutLe32(out, value & 0xFFFFFFFF);
    PutLe32(out, value >> 32);
}

std::string WithoutZip64(const std::string& extra) {
    std::string out;
    std::size_t at = 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(extra.data());
    while (extra.size() - at >= 4) {
        const std::size_t length = Le16(p + at + 2);
        if (length > extra.size() - at - 4) {
            break; // a broken tail is dropped with the zip64 block it may hide
        }
        if (Le16(p + at) != kExtraZip64) {
            out.append(extra, at, 4 + length);
        }
        at += 4 + length;
    }
    return out;
}

ArchiveWriter::ArchiveWriter(ByteSink& sink, std::size_t bufferSize, std::int64_t start)
    : sink_(sink), capacity_(bufferSize), bufferStart_(start), written_(start) {
    buffer_.reserve(capacity_);
}

bool ArchiveWriter::Flush() {
    if (failed_) {
        return false;
    }
    if (!buffer_.empty()) {
        if (!sink_.WriteAt(bufferStart_, buffer_.data(), buffer_.size())) {
            failed_ = true;
            return false;
        }
        bufferStart_ += static_cast<std::int64_t>(buffer_.size());
        written_ = std::max(written_, bufferStart_);
        buffer_.clear();
    }
    return true;
}

bool ArchiveWriter::Write(const void* data, std::size_t count) {
    if (failed_) {
        return false;
    }
    if (buffer_.size() + count > capacity_) {
        if (!Flush()) {
            return false;
        }
        if (count >= capacity_) {
            if (!sink_.WriteAt(bufferStart_, data, count)) {
                failed_ = true;
                return false;
            }
            bufferStart_ += static_cast<std::int64_t>(count);
            written_ = std::max(written_, bufferStart_);
            return true;
        }
    }
    buffer_.append(static_cast<const char*>(data), count);
    return true;
}

bool ArchiveWriter::Patch(std::int64_t at, const void* data, std::size_t count) {
    if (failed_) {
        return false;
    }
    if (at >= bufferStart_) {
        std::memcpy(buffer_.data() + (at - bufferStart_), data, count);
        return true;
    }
    if (!Flush() || !sink_.WriteAt(at, data, count)) {
        failed_ = true;
        return false;
    }
    return true;
}

bool ArchiveWriter::Truncate(std::int64_t position) {
    if (failed_) {
        return false;
    }
    if (position >= bufferStart_) {
        buffer_.resize(static_cast<std::size_t>(position - bufferStart_));
        return true;
    }
    buffer_.clear();
    bufferStart_ = position;
    return true; // the sink's extra bytes are overwritten or cut off by Finish
}

bool ArchiveWriter::Finish(const std::string& comment) {
    const std::uint64_t centralStart =
        static_cast<std::uint64_t>(centralStart_ >= 0 ? centralStart_ : Position());
    for (const CentralRecord& r : central_) {
        const bool bigUncompressed = r.uncompressedSize >= kZip64Marker32;
        const bool bigCompressed = r.compressedSize >= kZip64Marker32;
        const bool bigOffset = r.localHeaderOffset >= kZip64Marker32;
        std::string zip64;
        if (bigUncompressed || bigCompressed || bigOffset) {
            std::string values;
            if (bigUncompressed) {
                PutLe64(values, r.uncompressedSize);
            }
            if (bigCompressed) {
                PutLe64(values, r.compressedSize);
            }
            if (bigOffset) {
                PutLe64(values, r.localHeaderOffset);
            }
            PutLe16(zip64, kExtraZip64);
            PutLe16(zip64, values.size());
            zip64 += values;
        }
        const std::string extra = zip64 + r.extra;
        std::string h;
        PutLe32(h, kCentralHeaderSignature);
        PutLe16(h, zip64.empty() ? r.versionMadeBy
                                 : std::max<std::uint16_t>(r.versionMadeBy & 0xFF, 45) |
                                       (r.versionMadeBy & 0xFF00));
        PutLe16(h, zip64.empty() ? r.versionNeeded : std::max<std::uint16_t>(r.versionNeeded, 45));
        PutLe16(h, r.flags);
        PutLe16(h, r.method);
        PutLe32(h, r.dosDateTime);
        PutLe32(h, r.crc32);
        PutLe32(h, bigCompressed ? kZip64Marker32 : r.compressedSize);
        PutLe32(h, bigUncompressed ? kZip64Marker32 : r.uncompressedSize);
        PutLe16(h, r.name.size());
        PutLe16(h, std::min<std::size_t>(extra.size(), 0xFFFF));
        PutLe16(h, std::min<std::size_t>(r.comment.size(), 0xFFFF));
        PutLe16(h, 0); // disk
        PutLe16(h, r.internalAttributes);
        PutLe32(h, r.externalAttributes);
        PutLe32(h, bigOffset ? kZip64Marker32 : r.localHeaderOffset);
        h += r.name;
        h.append(extra, 0, std::min<std::size_t>(extra.size(), 0xFFFF));
        h.append(r.comment, 0, std::min<std::size_t>(r.comment.size(), 0xFFFF));
        if (!Write(h)) {
            return false;
        }
    }
    const std::uint64_t centralEnd = static_cast<std::uint64_t>(Position());
    const std::uint64_t centralSize = centralEnd - centralStart;
    const std::uint64_t count = keptHeaders_ + central_.size();
    const bool zip64 =
        count >= kZip64Marker16 || centralSize >= kZip64Marker32 || centralStart >= kZip64Marker32;
    std::string end;
    if (zip64) {
        PutLe32(end, kZip64EndOfCentralSignature);
        PutLe64(end, kZip64EndOfCentralSize - 12);
        PutLe16(end, 45);
        PutLe16(end, 45);
        PutLe32(end, 0);
        PutLe32(end, 0);
        PutLe64(end, count);
        PutLe64(end, count);
        PutLe64(end, centralSize);
        PutLe64(end, centralStart);
        PutLe32(end, kZip64LocatorSignature);
        PutLe32(end, 0);
        PutLe64(end, centralEnd);
        PutLe32(end, 1);
    }
    const std::size_t commentLength = std::min<std::size_t>(comment.size(), 0xFFFF);
    PutLe32(end, kEndOfCentralSignature);
    PutLe16(end, 0);
    PutLe16(end, 0);
    PutLe16(end, std::min<std::uint64_t>(count, kZip64Marker16));
    PutLe16(end, std::min<std::uint64_t>(count, kZip64Marker16));
    PutLe32(end, std::min<std::uint64_t>(centralSize, kZip64Marker32));
    PutLe32(end, std::min<std::uint64_t>(centralStart, kZip64Marker32));
    PutLe16(end, commentLength);
    end.append(comment, 0, commentLength);
    if (!Write(end) || !Flush() || !sink_.SetSize(Position())) {
        failed_ = true;
        return false;
    }
    return true;
}

} // namespace zipfmt
