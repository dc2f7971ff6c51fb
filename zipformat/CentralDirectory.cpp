#include "zipformat/CentralDirectory.h"

#include <algorithm>
#include <limits>
#include <span>

#include "zipformat/Records.h"

namespace zipfmt {

namespace {

struct EndRecord {
    std::int64_t position = 0; // of the record that the central directory ends at
    std::uint64_t entryCount = 0;
    std::uint64_t centralSize = 0;
    std::uint64_t centralOffset = 0;
    bool zip64 = false;
    std::string comment;
};

bool ReadExact(const ByteSource& file, std::int64_t at, void* buffer, std::size_t n) {
    return at >= 0 && file.ReadAt(at, buffer, n) == n;
}

// Fills the zip64 fields of end from the zip64 record the locator before eocdPosition
// names. False when a locator is there but its record is not.
bool ReadZip64End(const ByteSource& file, std::int64_t eocdPosition, EndRecord& end) {
    std::uint8_t locator[kZip64LocatorSize];
    const std::int64_t locatorAt = eocdPosition - static_cast<std::int64_t>(kZip64LocatorSize);
    if (!ReadExact(file, locatorAt, locator, sizeof locator) ||
        Le32(locator) != kZip64LocatorSignature) {
        return true; // no zip64 records: the 32-bit values stand
    }
    // The record normally sits right before its locator; with a stub in front the
    // stored offset is off by the stub's size, so try the adjacent place first.
    std::uint8_t record[kZip64EndOfCentralSize];
    const std::int64_t adjacent = locatorAt - static_cast<std::int64_t>(kZip64EndOfCentralSize);
    const std::uint64_t stored = Le64(locator + 8);
    std::int64_t at = adjacent;
    if (!ReadExact(file, at, record, sizeof record) ||
        Le32(record) != kZip64EndOfCentralSignature) {
        if (stored > static_cast<std::uint64_t>(locatorAt)) {
            return false;
        }
        at = static_cast<std::int64_t>(stored);
        if (!ReadExact(file, at, record, sizeof record) ||
            Le32(record) != kZip64EndOfCentralSignature) {
            return false;
        }
    }
    end.position = at;
    end.entryCount = Le64(record + 32);
    end.centralSize = Le64(record + 40);
    end.centralOffset = Le64(record + 48);
    end.zip64 = true;
    return true;
}

// Finds the last end-of-central-directory record whose numbers fit the file.
bool FindEndRecord(const ByteSource& file, EndRecord& end) {
    const std::int64_t size = file.Size();
    const std::int64_t tailLength =
        std::min<std::int64_t>(size, static_cast<std::int64_t>(kEndOfCentralSize) + 0xFFFF);
    if (tailLength < static_cast<std::int64_t>(kEndOfCentralSize)) {
        return false;
    }
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(tailLength));
    const std::int64_t tailStart = size - tailLength;
    if (!ReadExact(file, tailStart, tail.data(), tail.size())) {
        return false;
    }
    for (std::size_t i = tail.size() - kEndOfCentralSize + 1; i-- > 0;) {
        const std::uint8_t* p = tail.data() + i;
        if (Le32(p) != kEndOfCentralSignature) {
            continue;
        }
        const std::size_t commentLength = Le16(p + 20);
        const std::int64_t position = tailStart + static_cast<std::int64_t>(i);
        const std::uint64_t centralSize = Le32(p + 12);
        if (commentLength > tail.size() - i - kEndOfCentralSize ||
            centralSize > static_cast<std::uint64_t>(position)) {
            continue; // a stray signature inside a comment or data
        }
        end.position = position;
        end.entryCount = Le16(p + 10);
        end.centralSize = centralSize;
        end.centralOffset = Le32(p + 16);
        end.comment.assign(reinterpret_cast<const char*>(p + kEndOfCentralSize), commentLength);
        return true;
    }
    return false;
}

// Takes the values a central header marks as 0xFFFF... from its zip64 extra block.
bool ApplyZip64Extra(CentralEntry& entry, bool sizeMarked, bool compressedMarked, bool offsetMarked,
                     bool diskMarked) {
    if (!sizeMarked && !compressedMarked && !offsetMarked && !diskMarked) {
        return true;
    }
    const auto block = FindExtraBlock(entry.extra, kExtraZip64);
    std::size_t at = 0;
    auto take64 = [&](std::uint64_t& field) {
        if (block.size() - at < 8) {
            return false;
        }
        field = Le64(block.data() + at);
        at += 8;
        return true;
    };
    if ((sizeMarked && !take64(entry.uncompressedSize)) ||
        (compressedMarked && !take64(entry.compressedSize)) ||
        (offsetMarked && !take64(entry.localHeaderPosition))) {
        return false;
    }
    if (diskMarked) {
        if (block.size() - at < 4) {
            return false;
        }
        entry.diskStart = Le32(block.data() + at);
    }
    entry.zip64 = true;
    return true;
}

bool ParseCentralHeaders(std::span<const std::uint8_t> bytes, std::int64_t bias,
                         std::vector<CentralEntry>& entries) {
    std::size_t at = 0;
    while (bytes.size() - at >= kCentralHeaderSize &&
           Le32(bytes.data() + at) == kCentralHeaderSignature) {
        const std::uint8_t* p = bytes.data() + at;
        const std::size_t nameLength = Le16(p + 28);
        const std::size_t extraLength = Le16(p + 30);
        const std::size_t commentLength = Le16(p + 32);
        const std::size_t total = kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (total > bytes.size() - at) {
            return false;
        }
        CentralEntry e;
        e.versionMadeBy = Le16(p + 4);
        e.versionNeeded = Le16(p + 6);
        e.flags = Le16(p + 8);
        e.method = Le16(p + 10);
        e.dosDateTime = Le32(p + 12);
        e.crc32 = Le32(p + 16);
        e.compressedSize = Le32(p + 20);
        e.uncompressedSize = Le32(p + 24);
        e.diskStart = Le16(p + 34);
        e.internalAttributes = Le16(p + 36);
        e.externalAttributes = Le32(p + 38);
        e.localHeaderPosition = Le32(p + 42);
        const std::uint8_t* variable = p + kCentralHeaderSize;
        e.name.assign(reinterpret_cast<const char*>(variable), nameLength);
        e.extra.assign(variable + nameLength, variable + nameLength + extraLength);
        e.comment.assign(reinterpret_cast<const char*>(variable + nameLength + extraLength),
                         commentLength);
        if (!ApplyZip64Extra(
                e, e.uncompressedSize == kZip64Marker32, e.compressedSize == kZip64Marker32,
                e.localHeaderPosition == kZip64Marker32, e.diskStart == kZip64Marker16)) {
            return false;
        }
        if (e.localHeaderPosition > static_cast<std::uint64_t>(INT64_MAX - bias)) {
            return false;
        }
        e.localHeaderPosition += static_cast<std::uint64_t>(bias);
        entries.push_back(std::move(e));
        at += total;
    }
    return true;
}

} // namespace

const char* DescribeDirectoryError(DirectoryError error) {
    switch (error) {
    case DirectoryError::None:
        return "is a zip archive";
    case DirectoryError::NoEndRecord:
        return "is not a zip archive or is truncated (no end of central directory)";
    case DirectoryError::BadZip64Record:
        return "is damaged (bad zip64 end record)";
    case DirectoryError::DirectoryOutside:
        return "is damaged (central directory outside the file)";
    case DirectoryError::BadCentralHeader:
        break;
    }
    return "is damaged (bad central directory)";
}

DirectoryError ReadArchiveDirectory(const platform::FileHandle& file, ArchiveDirectory& out) {
    return ReadArchiveDirectory(ByteSourceOf<platform::FileHandle>(file), out);
}

DirectoryError ReadArchiveDirectory(const ByteSource& file, ArchiveDirectory& out) {
    out = ArchiveDirectory{};
    EndRecord end;
    if (!FindEndRecord(file, end)) {
        return DirectoryError::NoEndRecord;
    }
    out.comment = end.comment;
    if (!ReadZip64End(file, end.position, end)) {
        return DirectoryError::BadZip64Record;
    }
    if (end.centralSize > static_cast<std::uint64_t>(end.position)) {
        return DirectoryError::DirectoryOutside;
    }
    // Where the directory really is tells how many bytes stand before the archive.
    const std::int64_t centralSize = static_cast<std::int64_t>(end.centralSize);
    std::int64_t start = end.position - centralSize;
    std::int64_t bias = end.centralOffset <= static_cast<std::uint64_t>(start)
                            ? start - static_cast<std::int64_t>(end.centralOffset)
                            : -1;
    if (bias < 0) {
        return DirectoryError::DirectoryOutside;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(centralSize));
    if (!ReadExact(file, start, bytes.data(), bytes.size())) {
        return DirectoryError::DirectoryOutside;
    }
    if (!ParseCentralHeaders(bytes, bias, out.entries)) {
        return DirectoryError::BadCentralHeader;
    }
    // A 16-bit count wraps past 65,535 entries in archives written without zip64.
    const std::uint64_t parsed = out.entries.size();
    const bool countMatches =
        end.zip64 ? parsed == end.entryCount : parsed % 0x10000 == end.entryCount % 0x10000;
    if (!countMatches) {
        return DirectoryError::BadCentralHeader;
    }
    out.centralStart = start;
    out.centralSize = centralSize;
    out.endRecordPosition = end.position;
    out.prefixBias = bias;
    out.zip64 = end.zip64;
    return DirectoryError::None;
}

bool EntriesOverlap(const ArchiveDirectory& directory) {
    constexpr std::uint64_t kFar = std::numeric_limits<std::uint64_t>::max();
    // Each entry's local header position and the least end of its data.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    spans.reserve(directory.entries.size());
    for (const CentralEntry& e : directory.entries) {
        const std::uint64_t start = e.localHeaderPosition;
        std::uint64_t end = kFar;
        if (start <= kFar - kLocalHeaderSize &&
            e.compressedSize <= kFar - kLocalHeaderSize - start) {
            end = start + kLocalHeaderSize + e.compressedSize;
        }
        spans.emplace_back(start, end);
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            return true;
        }
    }
    return false;
}

} // namespace zipfmt
