#include "engine/ZipDir.h"

#include "engine/DirectoryWalk.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "util/Codepage.h"
#include "util/Errors.h"
#include "zipformat/AppendJournal.h"

TZipDir::~TZipDir() {
    ClearEntries();
}

void TZipDir::SetZipFileName(const std::string& name) {
    ClearEntries();
    zipFileName_ = name;
    if (platform::FileExists(zipFileName_)) {
        ReadDirectory();
    }
}

void TZipDir::ClearEntries() {
    entries_.clear();
}

void TZipDir::ReadDirectory() {
    ClearEntries();
    // What is read is whole: a writer's replace or growth in place ends first, an add a
    // dead process left half done is undone, and no replace starts meanwhile.
    zipfmt::Recovery recovery = zipfmt::Recovery::Nothing;
    auto held = zipfmt::HoldForReading(util::Cp1252ToUtf8(zipFileName_),
                                       {std::chrono::seconds(30), {}, {}}, recovery);
    if (!platform::FileExists(zipFileName_)) {
        held.reset(); // never held while a box waits for the user
        platform::ShowMessage("Error opening file: " + zipFileName_);
        return;
    }
    const auto file = platform::FileHandle::OpenForReading(
        zipFileName_, platform::FileHandle::Sharing::AllowWrite);
    if (!file) {
        throw util::FileOpenError(zipFileName_);
    }
    try {
        WalkLocalHeaders(*file, 0, kStandaloneWalkRules, entries_);
    } catch (const DirectoryWalkError& error) {
        if (error.Failure() == WalkFailure::AttemptsExceeded) {
            zipFileName_.clear();
        }
        throw;
    }
}
