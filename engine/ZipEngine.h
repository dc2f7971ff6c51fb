#pragma once
// The engine component: the current archive's name and its contents list.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/ZipDirEntry.h"

class TZipEngine;

using TNotifyEvent = std::function<void(TZipEngine& Sender)>;

class TZipEngine {
public:
    // ownerWindow is the owning form's window handle, handed to the engine libraries.
    explicit TZipEngine(std::uintptr_t ownerWindow = 0);
    virtual ~TZipEngine();
    TZipEngine(const TZipEngine&) = delete;
    TZipEngine& operator=(const TZipEngine&) = delete;

    std::uintptr_t OwnerWindow() const { return ownerWindow_; }

    // The archive's path. Assigning it always re-reads the contents list, also when
    // the name is unchanged or empty; OnDirUpdate has run when the assignment returns.
    const std::string& ZipFilename() const { return zipFilename_; }
    void SetZipFilename(const std::string& name);

    // The contents list, in the order of the entries in the file. A record stays
    // valid until the next ReadDirectory.
    const std::vector<ZipDirEntry>& Entries() const { return entries_; }
    // 0 whenever ZipFilename is empty.
    int EntryCount() const;
    void ClearEntries();

    // Empties the list and fills it from the archive named by ZipFilename. Raises
    // util::FileOpenError when the file cannot be opened (no OnDirUpdate then) and
    // DirectoryWalkError when the archive is damaged (after OnDirUpdate).
    void ReadDirectory();

    TNotifyEvent OnDirUpdate;

private:
    void FireDirUpdate();

    std::uintptr_t ownerWindow_;
    std::vector<ZipDirEntry> entries_;
    std::string zipFilename_;
};

// A self-extracting archive's first local header lies after its program; the search
// for it starts here in a file named *.exe.
inline constexpr std::int64_t kExeSearchStart = 14000;

// True when the file name's extension, from its last dot, is ".exe" in any case.
bool HasExeExtension(const std::string& fileName);
