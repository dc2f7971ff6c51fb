#pragma once
// Reading an archive's central directory through its end-of-central-directory record
// (and the zip64 records when present).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileHandle.h"
#include "zipformat/ByteSource.h"
#include "zipformat/Records.h"

namespace zipfmt {

struct CentralEntry : EntryFields {
    std::uint32_t diskStart = 0;
    // File position of the entry's local header: the stored offset plus the bytes that
    // stand before the archive (a self-extractor's stub).
    std::uint64_t localHeaderPosition = 0;
    bool zip64 = false; // a size or the offset came from a zip64 extra block
    std::string name;   // stored bytes, no conversion
    std::vector<std::uint8_t> extra;
    std::string comment;
};

enum class DirectoryError {
    None,
    NoEndRecord,      // no end-of-central-directory record in the last 64 KiB
    BadZip64Record,   // a zip64 locator points at nothing usable
    DirectoryOutside, // the central directory does not fit before its end record
    BadCentralHeader, // a central header is missing, cut or inconsistent
    SplitArchive,     // one part of an archive split into several files
};

struct ArchiveDirectory {
    std::vector<CentralEntry> entries;
    std::int64_t centralStart = 0; // file position of the first central header
    std::int64_t centralSize = 0;
    std::int64_t endRecordPosition = 0; // the first end record (zip64 one when present)
    std::int64_t prefixBias = 0;        // bytes before the archive proper
    bool zip64 = false;
    std::string comment;
};

DirectoryError ReadArchiveDirectory(const platform::FileHandle& file, ArchiveDirectory& out);
// What is wrong, to follow the archive's name: "is damaged (...)".
const char* DescribeDirectoryError(DirectoryError error);
DirectoryError ReadArchiveDirectory(const ByteSource& file, ArchiveDirectory& out);

// About how many entries the central directory holds, from its end records alone, to
// size a list before a walk fills it: never more than its size allows, 0 without one.
std::uint64_t StatedEntryCount(const platform::FileHandle& file);

// What the end records alone tell: whether there are any, and whether they close an
// archive without entries or one part of an archive split into several files (a first
// part, which has none, is told by its split marker).
struct EndRecordsSay {
    bool found = false;
    bool empty = false;
    bool split = false;
};
EndRecordsSay ReadEndRecords(const platform::FileHandle& file);

// Whether two entries share a local header or one's data reaches into another's
// header: an archive made to expand far beyond its size, or a damaged one.
bool EntriesOverlap(const ArchiveDirectory& directory);

} // namespace zipfmt
