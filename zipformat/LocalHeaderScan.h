#pragma once
// An archive's entries found from their local headers, for when its central directory
// is missing or cut (a download that stopped early): each entry whose data ends
// within the file is described as the directory would have described it, those
// whose end cannot be found are named.

#include <string>
#include <vector>

#include "zipformat/ByteSource.h"
#include "zipformat/CentralDirectory.h"

namespace zipfmt {

struct LostEntry {
    CentralEntry entry; // as far as its local header tells
    const char* why;
};

struct ScannedArchive {
    std::vector<CentralEntry> entries; // in the order of the file
    std::vector<LostEntry> lost;
};

// Bounded: the bytes looked at to find where entries end are a small multiple of the
// file's size, whatever the file holds.
ScannedArchive ScanLocalHeaders(const ByteSource& source);

} // namespace zipfmt
