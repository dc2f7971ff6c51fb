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

// When an entry joins the list, and what a damaged header before the first entry is.
enum class WalkPolicy {
    // An entry joins once its data is passed over; a damaged or overrunning header
    // before any entry is dropped and the search for a local header goes on.
    SearchPastFalseStarts,
    // An entry joins as soon as its name is read; every damaged header is an error.
    ListAsRead,
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
    WalkPolicy policy = WalkPolicy::SearchPastFalseStarts;
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

// Walks file from start, appending entries; raises DirectoryWalkError. Names that do
// not describe themselves are read in namesCodePage, or in the one detected from them.
WalkEnd WalkLocalHeaders(const platform::FileHandle& file, std::int64_t start,
                         const DirectoryWalkRules& rules, std::vector<ZipDirEntry>& entries,
                         unsigned namesCodePage = 0);
