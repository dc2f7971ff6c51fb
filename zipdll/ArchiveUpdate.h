#pragma once
// A change to an archive: the old archive read through its central directory, the
// new one written to a temporary file beside it, entries kept from the old one
// copied as they are, and the old archive replaced only when the new one is whole.
// A change that only adds entries to a plain archive writes them in place instead,
// over the old central directory, with an undo journal guarding the old tail.

#include <memory>
#include <string>

#include "engineapi/EngineReporter.h"
#include "platform/ArchiveLock.h"
#include "platform/FileHandle.h"
#include "platform/TempFile.h"
#include "platform/WritableFile.h"
#include "zipformat/AppendJournal.h"
#include "zipformat/ArchiveWriter.h"
#include "zipformat/Buffer.h"
#include "zipformat/CentralDirectory.h"

namespace zipdll {

class ArchiveUpdate {
public:
    ArchiveUpdate(std::string archive, engineapi::EngineReporter& reporter);
    ~ArchiveUpdate();

    // Reads the existing archive; a missing or empty file counts as an archive with
    // no entries when mayCreate. Reports and returns false when it cannot go on.
    bool Open(bool mayCreate);
    const zipfmt::ArchiveDirectory& Directory() const { return directory_; }
    // The name the contents list shows for an entry of Directory().
    const std::string& NameOf(const zipfmt::CentralEntry& entry);
    bool Exists() const { return source_.has_value() || inPlace_.has_value(); }

    // Starts the new archive with whatever stood before the old one's first entry.
    // appendOnly: every old entry stays as it is and only new ones follow; the
    // archive then grows in place when its layout allows.
    bool Begin(bool appendOnly = false);
    // Copies an old entry without recompressing it (in place it stays where it is).
    // Reports and returns false when the old archive is damaged there or the copy
    // cannot be written.
    bool CopyEntry(const zipfmt::CentralEntry& entry);
    zipfmt::ArchiveWriter& Writer() { return *writer_; }

    // Central directory, end records, and the old archive replaced by the new one.
    bool Commit();
    // After Commit: the archive's time becomes that of its newest entry.
    void StampNewestTime();

private:
    bool WriteFailed();
    // Writes the central directory and end records; reports why it could not.
    bool Finished();
    // Nothing after the central directory but its end records, no bytes before the
    // first entry, every entry before the directory: what growing in place keeps whole.
    bool CanGrowInPlace() const;
    bool CommitInPlace();
    // How a writer waits for the readers of the archive.
    zipfmt::Waiting ReadersWait();
    // Copies bytes of the old archive as they are, with progress reports.
    bool CopyRange(std::int64_t from, std::int64_t to);

    std::string archive_;
    engineapi::EngineReporter& reporter_;
    // First, so that it is let go last: after the archive's new version is in place.
    std::optional<platform::ArchiveLock> lock_;
    // Readers kept off while the archive grows in place; let go after any roll-back.
    std::optional<platform::ArchiveLock> gate_;
    std::optional<platform::FileHandle> source_;
    std::optional<platform::WritableFile> inPlace_;  // the archive itself, when writable
    std::unique_ptr<zipfmt::AppendJournal> journal_; // while it grows in place
    bool grewInPlace_ = false;
    std::unique_ptr<zipfmt::ByteSource> sourceView_;
    zipfmt::ArchiveDirectory directory_;
    std::vector<std::string> names_; // of directory_, made on first need
    std::unique_ptr<platform::TempFile> temp_;
    std::unique_ptr<zipfmt::ByteSink> sink_;
    std::unique_ptr<zipfmt::ArchiveWriter> writer_;
    zipfmt::Buffer copyBuffer_;
};

} // namespace zipdll
