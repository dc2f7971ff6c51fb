#include "engine/ZipEngine.h"

#include <algorithm>
#include <cctype>

#include "engine/DirectoryWalk.h"
#include "platform/ArchiveLock.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "util/Codepage.h"
#include "util/Errors.h"
#include "zipformat/AppendJournal.h"
#include "zipformat/CentralDirectory.h"

namespace {
constexpr std::size_t kMaxPasswordLength = 255;
constexpr std::chrono::seconds kWritersWait{30};
} // namespace

TZipEngine::TZipEngine(std::uintptr_t ownerWindow) : ownerWindow_(ownerWindow) {}

TZipEngine::~TZipEngine() {
    ClearEntries();
}

void TZipEngine::SetZipFilename(const std::string& name) {
    zipFilename_ = name;
    ReadDirectory();
}

void TZipEngine::SetPassword(const std::string& password) {
    password_ = password.substr(0, kMaxPasswordLength);
}

int TZipEngine::EntryCount() const {
    return zipFilename_.empty() ? 0 : static_cast<int>(entries_.size());
}

void TZipEngine::ClearEntries() {
    entries_.clear();
}

void TZipEngine::FireDirUpdate() {
    if (OnDirUpdate) {
        OnDirUpdate(*this);
    }
}

void TZipEngine::ReadDirectory() {
    ClearEntries();
    isArchive_ = false;
    // What is read is whole: a writer's replace or growth in place ends first, an add a
    // dead process left half done is undone, and no replace starts meanwhile.
    const auto saysItWaits = [this] {
        if (OnMessage) {
            OnMessage(*this, 0, "waiting for another program writing " + zipFilename_);
        }
    };
    zipfmt::Recovery recovery = zipfmt::Recovery::Nothing;
    auto held = zipFilename_.empty()
                    ? std::nullopt
                    : zipfmt::HoldForReading(util::Cp1252ToUtf8(zipFilename_),
                                             {kWritersWait, saysItWaits, {}}, recovery);
    if (!platform::FileExists(zipFilename_)) {
        FireDirUpdate();
        return;
    }
    auto file = platform::FileHandle::OpenForReading(zipFilename_,
                                                     platform::FileHandle::Sharing::AllowWrite);
    if (!file) {
        throw util::FileOpenError(zipFilename_);
    }
    const std::int64_t start = HasExeExtension(zipFilename_) ? kExeSearchStart : 0;
    // A part of a split archive would list the few entries that begin in it.
    const zipfmt::EndRecordsSay records = zipfmt::ReadEndRecords(*file);
    if (records.split) {
        file.reset();
        held.reset();
        if (OnMessage) {
            OnMessage(*this, kErrSplitArchive,
                      zipFilename_ + " " +
                          zipfmt::DescribeDirectoryError(zipfmt::DirectoryError::SplitArchive));
        }
        FireDirUpdate();
        return;
    }
    WalkEnd end;
    try {
        end = WalkLocalHeaders(*file, start, kEngineWalkRules, entries_, NamesCodePage);
    } catch (...) {
        file.reset();
        FireDirUpdate();
        throw;
    }
    file.reset();
    held.reset(); // a writer may replace it while the user reads the box below
    // An archive whose every entry was deleted is one all the same.
    if (end == WalkEnd::NothingFound && !records.empty) {
        platform::ShowMessage("Fichero vacío o no válido");
    }
    isArchive_ = end == WalkEnd::Listed || records.empty;
    FireDirUpdate();
}

bool HasExeExtension(const std::string& fileName) {
    const auto dot = fileName.find_last_of('.');
    const auto separator = fileName.find_last_of("\\/:");
    if (dot == std::string::npos || (separator != std::string::npos && separator > dot)) {
        return false;
    }
    std::string extension = fileName.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".EXE";
}
