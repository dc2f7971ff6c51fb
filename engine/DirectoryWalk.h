#pragma once
// The walk over an archive's local file headers that fills a contents list. Both
// directory readers use it, each with its own rules for what goes wrong.

#include <cstdint>
#include <vector>

#include "engine/ZipDirEntry.h"
#include "platform/FileHandle.h"
#include "util/Errors.h"

enum class WalkFailure {
    SearchEnded,      // the file ended while searching for the first local header
    AttemptsExceeded, // no local header within the search's bound
    WalkEnded,        // the file ended between headers
    DamagedHeader,    // a header or its name is cut short
    EntryOverruns,    // an entry's data would run into the end record
    ExtraMoveFailed,  // the extra field could not be passed over
    DataMoveFailed,   // the entry's data could not be passed over
};

struct DirectoryWalkRules {
    // The text raised for each failure; nullptr makes the failure a quiet end of a
    // search that found no archive. searchEnded is indexed by the byte expected
    // when the file ended: 0 for "P", 1 for "K", 2 for 3, 3 for 4.
    const char* searchEnded[4] = {};
    const char* attemptsExceeded = nullptr;
    const char* walkEnded = nullptr;
    const char* damagedHeader = nullptr;
    const char* entryOverruns = nullptr;
    const char* extraMoveFailed = nullptr;
    const char* dataMoveFailed = nullptr;
    // A damaged or overrunning header before any entry is dropped and the search goes on.
    bool searchOnWhileEmpty = false;
    // An entry joins the list as soon as its name is read, before its sizes are checked.
    bool listBeforeChecks = false;
};

// The engine component's reader, and the stand-alone reader's.
extern const DirectoryWalkRules kEngineWalkRules;
extern const DirectoryWalkRules kStandaloneWalkRules;

// Raised with the rule's text; failure says which rule.
class DirectoryWalkError : public util::StreamReadError {
public:
    DirectoryWalkError(WalkFailure failure, const char* text)
        : util::StreamReadError(text), failure_(failure) {}
    WalkFailure Failure() const { return failure_; }

private:
    WalkFailure failure_;
};

enum class WalkEnd {
    Listed,       // a central directory or end record ended the walk
    NothingFound, // the search gave up quietly (a rule without text)
};

// The most search attempts one walk makes.
inline constexpr int kMaxSearchAttempts = 60000;

// Walks file from start, appending entries; raises DirectoryWalkError.
WalkEnd WalkLocalHeaders(const platform::FileHandle& file, std::int64_t start,
                         const DirectoryWalkRules& rules, std::vector<ZipDirEntry>& entries);
