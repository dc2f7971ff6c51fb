#include "zipformat/CentralDirectory.h"

#include <algorithm>
#include <limits>
#include <span>

#include "zipformat/RecordDecoders.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {

struct EndRecord {
    std::int64_t position = 0; // of the record that the central directory ends at
    std::uint64_t entryCount = 0;
    std::uint64_t centralSize = 0;
    std::uint64_t centralOffset = 0;
    std::uint32_t thisDisk = 0;
    std::uint32_t centralDisk = 0;
    bool zip64 = false;
    std::string comment;

    bool Split() const { return thisDisk != 0 || centralDisk != 0; }
};

bool ReadExact(const ByteSource& file, std::int64_t at, void* buffer, std::size_t n) {
    return at >= 0 && file.ReadAt(at, buffer, n) == n;
}

// Fills the zip64 fields of end from the zip64 record the locator before eocdPosition
// names. False when a locator is there but its record is not.
bool ReadZip64End(const ByteSource& file, std::int64_t eocdPosition, EndRecord& end) {
    std::uint8_t locator[kZip64LocatorSize];
    const std::int64_t locatorAt = eocdPosition - static_cast<std::int64_t>(kZip64LocatorSize);
    const auto stored = ReadExact(file, locatorAt, locator, sizeof locator)
                            ? DecodeZip64Locator(locator)
                            : std::nullopt;
    if (!stored) {
        return true; // no zip64 records: the 32-bit values stand
    }
    // The record normally sits right before its locator; with a stub in front the
    // stored offset is off by the stub's size, so try the adjacent place first.
    std::uint8_t record[kZip64EndOfCentralSize];
    auto recordAt = [&](std::int64_t at) {
        return ReadExact(file, at, record, sizeof record) ? DecodeZip64EndRecord(record)
                                                          : std::nullopt;
    };
    std::int64_t at = locatorAt - static_cast<std::int64_t>(kZip64EndOfCentralSize);
    auto fields = recordAt(at);
    if (!fields) {
        if (*stored > static_cast<std::uint64_t>(locatorAt)) {
            return false;
        }
        at = static_cast<std::int64_t>(*stored);
        fields = recordAt(at);
        if (!fields) {
            return false;
        }
    }
    end.position = at;
    end.entryCount = fields->entryCount;
    end.centralSize = fields->centralSize;
    end.centralOffset = fields->centralOffset;
    end.thisDisk = fields->thisDisk;
    end.centralDisk = fields->centralDisk;
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
    const std::span<const std::uint8_t> bytes(tail);
    for (std::size_t i = tail.size() - kEndOfCentralSize + 1; i-- > 0;) {
        const auto fields = DecodeEndRecord(bytes.subspan(i, kEndOfCentralSize));
        if (!fields) {
            continue;
        }
        const std::int64_t position = tailStart + static_cast<std::int64_t>(i);
        if (fields->commentLength > tail.size() - i - kEndOfCentralSize ||
            fields->centralSize > static_cast<std::uint64_t>(position)) {
            continue; // a stray signature inside a comment or data
        }
        end.position = position;
        end.entryCount = fields->entryCount;
        end.centralSize = fields->centralSize;
        end.centralOffset = fields->centralOffset;
        end.thisDisk = fields->thisDisk;
        end.centralDisk = fields->centralDisk;
        end.comment.assign(reinterpret_cast<const char*>(bytes.data() + i + kEndOfCentralSize),
                           fields->commentLength);
        return true;
    }
    return false;
}

// A split archive's first part begins with the split marker and a local header, and
// has no end records.
bool BeginsAsSplitPart(const ByteSource& file) {
    std::uint8_t head[8];
    return ReadExact(file, 0, head, sizeof head) && Le32(head) == kDataDescriptorSignature &&
           Le32(head + 4) == kLocalHeaderSignature;
}

bool ParseCentralHeaders(std::span<const std::uint8_t> bytes, std::int64_t bias,
                         std::vector<CentralEntry>& entries) {
    ByteCursor in(bytes);
    while (in.Remaining() >= kCentralHeaderSize &&
           Le32(bytes.data() + in.Position()) == kCentralHeaderSignature) {
        CentralEntry e;
        if (!DecodeCentralHeader(in, e) ||
            e.localHeaderPosition > static_cast<std::uint64_t>(INT64_MAX - bias)) {
            return false;
        }
        e.localHeaderPosition += static_cast<std::uint64_t>(bias);
        entries.push_back(std::move(e));
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
    case DirectoryError::SplitArchive:
        return "is one part of an archive split into several (.z01, .z02...): join them into "
               "one first";
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
        return BeginsAsSplitPart(file) ? DirectoryError::SplitArchive : DirectoryError::NoEndRecord;
    }
    out.comment = end.comment;
    if (!ReadZip64End(file, end.position, end)) {
        return DirectoryError::BadZip64Record;
    }
    // Its offsets count from the start of parts this file does not hold.
    if (end.Split()) {
        return DirectoryError::SplitArchive;
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

std::uint64_t StatedEntryCount(const platform::FileHandle& file) {
    const ByteSourceOf<platform::FileHandle> source(file);
    EndRecord end;
    if (!FindEndRecord(source, end) || !ReadZip64End(source, end.position, end)) {
        return 0;
    }
    const std::uint64_t most = end.centralSize / kCentralHeaderSize;
    if (end.zip64 || end.entryCount > most) {
        return std::min(end.entryCount, most);
    }
    // Without zip64 the count keeps its low 16 bits: the most of the counts it may
    // stand for that the directory has room for.
    return end.entryCount + (most - end.entryCount) / 0x10000 * 0x10000;
}

EndRecordsSay ReadEndRecords(const platform::FileHandle& file) {
    const ByteSourceOf<platform::FileHandle> source(file);
    EndRecordsSay say;
    EndRecord end;
    if (!FindEndRecord(source, end)) {
        say.split = BeginsAsSplitPart(source);
        return say;
    }
    say.found = ReadZip64End(source, end.position, end);
    say.split = say.found && end.Split();
    say.empty = say.found && !say.split && end.entryCount == 0 && end.centralSize == 0;
    return say;
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
