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

namespace {

// The zip64 extra block a record needs (64-bit values for the fields that overflow),
// or nothing.
std::string Zip64Block(const CentralRecord& r) {
    std::string values;
    for (const std::uint64_t value : {r.uncompressedSize, r.compressedSize, r.localHeaderOffset}) {
        if (value >= kZip64Marker32) {
            PutLe64(values, value);
        }
    }
    if (values.empty()) {
        return values;
    }
    std::string block;
    PutLe16(block, kExtraZip64);
    PutLe16(block, values.size());
    return block + values;
}

std::uint32_t Field32(std::uint64_t value) {
    return value >= kZip64Marker32 ? kZip64Marker32 : static_cast<std::uint32_t>(value);
}

// The record's central header; empty when its name, extra field or comment is too
// long for the 16-bit lengths.
std::string CentralHeader(const CentralRecord& r) {
    const std::string zip64 = Zip64Block(r);
    const std::string extra = zip64 + r.extra;
    std::string h;
    if (r.name.size() > kMaxFieldLength || extra.size() > kMaxFieldLength ||
        r.comment.size() > kMaxFieldLength) {
        return h;
    }
    // Readers that meet zip64 values expect the version that brought them.
    const std::uint16_t madeByVersion = r.versionMadeBy & 0xFF;
    const std::uint16_t madeBy =
        zip64.empty() ? r.versionMadeBy
                      : (r.versionMadeBy & 0xFF00) | std::max(madeByVersion, kVersionZip64);
    PutLe32(h, kCentralHeaderSignature);
    PutLe16(h, madeBy);
    PutLe16(h, zip64.empty() ? r.versionNeeded : std::max(r.versionNeeded, kVersionZip64));
    PutLe16(h, r.flags);
    PutLe16(h, r.method);
    PutLe32(h, r.dosDateTime);
    PutLe32(h, r.crc32);
    PutLe32(h, Field32(r.compressedSize));
    PutLe32(h, Field32(r.uncompressedSize));
    PutLe16(h, r.name.size());
    PutLe16(h, extra.size());
    PutLe16(h, r.comment.size());
    PutLe16(h, 0); // disk
    PutLe16(h, r.internalAttributes);
    PutLe32(h, r.externalAttributes);
    PutLe32(h, Field32(r.localHeaderOffset));
    return h + r.name + extra + r.comment;
}

// The end records of a central directory of count headers, size bytes long, from
// start on (ending at start + size): zip64 ones first where a value overflows.
std::string EndRecords(std::uint64_t count, std::uint64_t start, std::uint64_t size,
                       const std::string& comment) {
    std::string end;
    if (count >= kZip64Marker16 || size >= kZip64Marker32 || start >= kZip64Marker32) {
        PutLe32(end, kZip64EndOfCentralSignature);
        PutLe64(end, kZip64EndOfCentralSize - kZip64EndOfCentralLead);
        PutLe16(end, kVersionZip64); // made by
        PutLe16(end, kVersionZip64); // needed
        PutLe32(end, 0);             // this disk
        PutLe32(end, 0);             // the directory's disk
        PutLe64(end, count);         // on this disk
        PutLe64(end, count);
        PutLe64(end, size);
        PutLe64(end, start);
        PutLe32(end, kZip64LocatorSignature);
        PutLe32(end, 0); // the zip64 end record's disk
        PutLe64(end, start + size);
        PutLe32(end, 1); // disks in all
    }
    PutLe32(end, kEndOfCentralSignature);
    PutLe16(end, 0);
    PutLe16(end, 0);
    PutLe16(end, std::min<std::uint64_t>(count, kZip64Marker16));
    PutLe16(end, std::min<std::uint64_t>(count, kZip64Marker16));
    PutLe32(end, Field32(size));
    PutLe32(end, Field32(start));
    PutLe16(end, comment.size());
    return end + comment;
}

} // namespace

ArchiveWriter::FinishResult ArchiveWriter::Finish(const std::string& comment) {
    const std::uint64_t centralStart =
        static_cast<std::uint64_t>(centralStart_ >= 0 ? centralStart_ : Position());
    for (const CentralRecord& r : central_) {
        const std::string header = CentralHeader(r);
        if (header.empty()) {
            overlongName_ = r.name;
            return FinishResult::FieldTooLong;
        }
        if (!Write(header)) {
            return FinishResult::WriteFailed;
        }
    }
    if (comment.size() > kMaxFieldLength) {
        overlongName_.clear();
        return FinishResult::FieldTooLong;
    }
    const std::uint64_t centralSize = static_cast<std::uint64_t>(Position()) - centralStart;
    const std::string end =
        EndRecords(keptHeaders_ + central_.size(), centralStart, centralSize, comment);
    if (!Write(end) || !Flush() || !sink_.SetSize(Position())) {
        failed_ = true;
        return FinishResult::WriteFailed;
    }
    return FinishResult::Done;
}

} // namespace zipfmt
