#pragma once
// The stand-alone directory reader: an archive's entry list without any engine
// library or event, with stricter failure rules than the engine component's.

#include <string>
#include <vector>

#include "engine/ZipDirEntry.h"

class TZipDir {
public:
    TZipDir() = default;
    virtual ~TZipDir();
    TZipDir(const TZipDir&) = delete;
    TZipDir& operator=(const TZipDir&) = delete;

    // Assigning empties the list and reads the archive when the name is an existing
    // file; a missing or empty name only empties the list.
    const std::string& ZipFileName() const { return zipFileName_; }
    void SetZipFileName(const std::string& name);

    const std::vector<ZipDirEntry>& Entries() const { return entries_; }
    void ClearEntries();

    // Reads from offset 0. Raises DirectoryWalkError for every failure of the walk,
    // leaving the entries read so far in the list.
    void ReadDirectory();

private:
    std::vector<ZipDirEntry> entries_;
    std::string zipFileName_;
};
