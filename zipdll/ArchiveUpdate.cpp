#include "zipdll/ArchiveUpdate.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "zipformat/EntryNames.h"
#include "zipformat/LocalHeader.h"
#include "zipformat/Records.h"

namespace zipdll {

namespace {

constexpr std::size_t kCopyChunk = 256 * 1024;
constexpr std::int64_t kProgressEvery = 1 << 20;
constexpr std::chrono::seconds kWriterWait{30};

// Where the archive's bytes go: a temporary file, or the archive itself in place.
template <typename File> class SinkOf final : public zipfmt::ByteSink {
public:
    explicit SinkOf(File& file) : file_(file) {}
    bool WriteAt(std::int64_t offset, const void* data, std::size_t count) override {
        return file_.WriteAt(offset, data, count);
    }
    bool SetSize(std::int64_t size) override { return file_.SetSize(size); }

private:
    File& file_;
};

} // namespace

ArchiveUpdate::ArchiveUpdate(std::string archive, engineapi::EngineReporter& reporter)
    : archive_(std::move(archive)), reporter_(reporter), copyBuffer_(kCopyChunk) {}

ArchiveUpdate::~ArchiveUpdate() {
    // Grown in place but never committed (a failure, a cancel): the old tail goes
    // back now; should that fail too, the journal stays for the next call.
    if (journal_ && inPlace_) {
        writer_.reset();
        try {
            if (journal_->RollBack(*inPlace_)) {
                inPlace_->RestoreTime();
            }
        } catch (...) {
        }
    }
}

bool ArchiveUpdate::Open(bool mayCreate) {
    // Another writer of ours finishes first; this one then works on what it left.
    auto lock = platform::ArchiveLock::Acquire(
        archive_, platform::ArchiveAccess::Writing, kWriterWait,
        [this] { reporter_.Notice("waiting for another program writing " + archive_); },
        [this] { return reporter_.Cancelled(); });
    if (!lock) {
        reporter_.Error(kErrArchiveOpen,
                        "Another program kept writing " + archive_ + "; it is unchanged");
        return false;
    }
    lock_.emplace(std::move(*lock));
    if (zipfmt::RecoverArchive(archive_, ReadersWait()) == zipfmt::Recovery::Failed) {
        reporter_.Error(kErrArchiveOpen, "An interrupted add to " + archive_ +
                                             " cannot be undone now (the archive is in use)");
        return false;
    }
    const auto info = platform::QueryPath(archive_);
    if (!info) {
        if (mayCreate) {
            return true;
        }
        reporter_.Error(kErrArchiveOpen, "Archive not found: " + archive_);
        return false;
    }
    if (info->isDirectory) {
        reporter_.Error(kErrArchiveOpen, "The archive name is a folder: " + archive_);
        return false;
    }
    if (info->readOnly) {
        reporter_.Error(kErrArchiveReadOnly, "The archive is read-only: " + archive_);
        return false;
    }
    // Open for writing when it can be, so that an add may grow it in place; held by
    // a reader that denies writing, it is still read and rewritten beside.
    inPlace_ = platform::WritableFile::OpenExisting(archive_);
    if (inPlace_) {
        sourceView_ = std::make_unique<zipfmt::ByteSourceOf<platform::WritableFile>>(*inPlace_);
    } else {
        source_ =
            platform::FileHandle::OpenUtf8(archive_, platform::FileHandle::Sharing::DenyWrite);
        if (!source_) {
            reporter_.Error(kErrArchiveOpen, "Cannot open the archive " + archive_);
            return false;
        }
        sourceView_ = std::make_unique<zipfmt::ByteSourceOf<platform::FileHandle>>(*source_);
    }
    if (sourceView_->Size() == 0 && mayCreate) {
        return true; // an empty file becomes the archive
    }
    const zipfmt::DirectoryError error = zipfmt::ReadArchiveDirectory(*sourceView_, directory_);
    if (error != zipfmt::DirectoryError::None) {
        reporter_.Error(error == zipfmt::DirectoryError::SplitArchive ? kErrSplitArchive
                                                                      : kErrArchiveDamaged,
                        archive_ + " " + zipfmt::DescribeDirectoryError(error));
        return false;
    }
    for (const auto& entry : directory_.entries) {
        if (entry.diskStart != 0) {
            reporter_.Error(kErrUnsupported, "Archives split over several disks are not supported");
            return false;
        }
    }
    return true;
}

bool ArchiveUpdate::WriteFailed() {
    reporter_.Error(kErrArchiveWrite, "Cannot write the new archive beside " + archive_ +
                                          " (disk full or no access)");
    return false;
}

bool ArchiveUpdate::Finished() {
    using Result = zipfmt::ArchiveWriter::FinishResult;
    switch (writer_->Finish(directory_.comment)) {
    case Result::Done:
        return true;
    case Result::WriteFailed:
        return WriteFailed();
    case Result::FieldTooLong:
        break;
    }
    const std::string& name = writer_->OverlongName();
    reporter_.Error(kErrArchiveWrite,
                    (name.empty() ? "The comment of " + archive_
                                  : "An extra field or comment of " + name + " in " + archive_) +
                        " would pass the format's 65,535 bytes; the archive is unchanged");
    return false;
}

bool ArchiveUpdate::CanGrowInPlace() const {
    if (!inPlace_ || directory_.prefixBias != 0) {
        return false;
    }
    const std::int64_t endRecords =
        static_cast<std::int64_t>(zipfmt::kEndOfCentralSize + directory_.comment.size()) +
        (directory_.zip64
             ? static_cast<std::int64_t>(zipfmt::kZip64EndOfCentralSize + zipfmt::kZip64LocatorSize)
             : 0);
    if (directory_.centralStart + directory_.centralSize + endRecords != inPlace_->Size()) {
        return false;
    }
    const auto limit = static_cast<std::uint64_t>(directory_.centralStart);
    for (const auto& entry : directory_.entries) {
        if (entry.localHeaderPosition > limit ||
            entry.compressedSize > limit - entry.localHeaderPosition) {
            return false; // damaged: the rewrite reports it
        }
    }
    return true;
}

zipfmt::Waiting ArchiveUpdate::ReadersWait() {
    return {kWriterWait,
            [this] { reporter_.Notice("waiting for another program reading " + archive_); },
            [this] { return reporter_.Cancelled(); }};
}

bool ArchiveUpdate::Begin(bool appendOnly) {
    // Growing in place keeps readers off for the whole add; when they are at it, the
    // rewrite beside waits for them only at its replace.
    auto gate = appendOnly && CanGrowInPlace()
                    ? platform::ArchiveLock::Acquire(archive_, platform::ArchiveAccess::Replacing,
                                                     std::chrono::milliseconds(0), {}, {})
                    : std::nullopt;
    if (gate) {
        gate_.emplace(std::move(*gate));
        switch (
            zipfmt::AppendJournal::Begin(archive_, *inPlace_, directory_.centralStart, journal_)) {
        case zipfmt::AppendJournal::Start::Ready:
            sink_ = std::make_unique<SinkOf<platform::WritableFile>>(*inPlace_);
            writer_ = std::make_unique<zipfmt::ArchiveWriter>(*sink_, kCopyChunk,
                                                              directory_.centralStart);
            return true;
        case zipfmt::AppendJournal::Start::WriteFailed:
            reporter_.Error(kErrArchiveWrite, "Cannot write the undo journal beside " + archive_ +
                                                  " (disk full or no access); it is unchanged");
            return false;
        case zipfmt::AppendJournal::Start::Unavailable:
            gate_.reset();
            break; // the journal's name is taken: the rewrite needs none
        }
    }
    temp_ = platform::TempFile::CreateBeside(archive_);
    if (!temp_) {
        reporter_.Error(kErrArchiveWrite, "Cannot create a temporary file in the folder of " +
                                              archive_ + " (missing folder, read-only or full)");
        return false;
    }
    sink_ = std::make_unique<SinkOf<platform::TempFile>>(*temp_);
    writer_ = std::make_unique<zipfmt::ArchiveWriter>(*sink_);
    // The old entries are copied in their order: read ahead, not one call per header.
    sourceView_ = std::make_unique<zipfmt::ReadAheadSource>(std::move(sourceView_), kCopyChunk * 4);
    // A self-extractor's stub, or anything else before the first entry, stays.
    std::int64_t preamble = directory_.entries.empty() ? 0 : directory_.centralStart;
    for (const auto& entry : directory_.entries) {
        preamble = std::min(preamble, static_cast<std::int64_t>(entry.localHeaderPosition));
    }
    return CopyRange(0, preamble);
}

bool ArchiveUpdate::CopyRange(std::int64_t from, std::int64_t to) {
    std::int64_t sinceProgress = 0;
    for (std::int64_t at = from; at < to;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(to - at, kCopyChunk));
        if (sourceView_->ReadAt(at, copyBuffer_.data(), n) != n) {
            reporter_.Error(kErrArchiveOpen, "Cannot read the archive " + archive_);
            return false;
        }
        if (!writer_->Write(copyBuffer_.data(), n)) {
            return WriteFailed();
        }
        at += static_cast<std::int64_t>(n);
        sinceProgress += static_cast<std::int64_t>(n);
        if (sinceProgress >= kProgressEvery) {
            sinceProgress = 0;
            reporter_.Progress(engineapi::PercentOf(static_cast<std::uint64_t>(at - from),
                                                    static_cast<std::uint64_t>(to - from)));
        }
    }
    return true;
}

const std::string& ArchiveUpdate::NameOf(const zipfmt::CentralEntry& entry) {
    if (names_.size() != directory_.entries.size()) {
        names_ = zipfmt::DirectoryNames(directory_.entries);
    }
    return names_[static_cast<std::size_t>(&entry - directory_.entries.data())];
}

bool ArchiveUpdate::CopyEntry(const zipfmt::CentralEntry& entry) {
    if (journal_) {
        return true; // growing in place: the entry stays where it is
    }
    zipfmt::LocalHeader local;
    const std::int64_t limit = directory_.centralStart;
    const std::int64_t position = static_cast<std::int64_t>(entry.localHeaderPosition);
    if (!zipfmt::ReadLocalHeader(*sourceView_, position, limit, local) ||
        entry.compressedSize > static_cast<std::uint64_t>(limit - local.dataStart)) {
        reporter_.Error(kErrArchiveDamaged, archive_ + " is damaged at the entry " + NameOf(entry));
        return false;
    }
    zipfmt::CentralRecord record;
    static_cast<zipfmt::EntryFields&>(record) = entry;
    record.localHeaderOffset = static_cast<std::uint64_t>(writer_->Position());
    record.name = entry.name;
    record.extra = zipfmt::WithoutZip64(std::string(entry.extra.begin(), entry.extra.end()));
    record.comment = entry.comment;

    // The local header and the data as they are; a descriptor written afresh from
    // the central directory's values, in the width the local header implies.
    const std::int64_t end = local.dataStart + static_cast<std::int64_t>(entry.compressedSize);
    if (!CopyRange(position, end)) {
        return false;
    }
    if (local.flags & zipfmt::kFlagDataDescriptor) {
        std::string descriptor;
        zipfmt::PutLe32(descriptor, zipfmt::kDataDescriptorSignature);
        zipfmt::PutLe32(descriptor, entry.crc32);
        if (local.zip64 || entry.compressedSize >= zipfmt::kZip64Marker32 ||
            entry.uncompressedSize >= zipfmt::kZip64Marker32) {
            zipfmt::PutLe64(descriptor, entry.compressedSize);
            zipfmt::PutLe64(descriptor, entry.uncompressedSize);
        } else {
            zipfmt::PutLe32(descriptor, entry.compressedSize);
            zipfmt::PutLe32(descriptor, entry.uncompressedSize);
        }
        if (!writer_->Write(descriptor)) {
            return WriteFailed();
        }
    }
    writer_->AddCentral(std::move(record));
    return true;
}

bool ArchiveUpdate::CommitInPlace() {
    // The old central headers, as they were, then the new ones.
    writer_->BeginCentral(directory_.entries.size());
    for (std::int64_t at = 0; at < directory_.centralSize;) {
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::int64_t>(directory_.centralSize - at, kCopyChunk));
        if (journal_->ReadTail(at, copyBuffer_.data(), n) != n) {
            reporter_.Error(kErrArchiveWrite, "Cannot read the undo journal beside " + archive_);
            return false;
        }
        if (!writer_->Write(copyBuffer_.data(), n)) {
            return WriteFailed();
        }
        at += static_cast<std::int64_t>(n);
    }
    if (!Finished()) {
        return false;
    }
    journal_->Discard();
    journal_.reset();
    inPlace_.reset();
    gate_.reset();
    grewInPlace_ = true;
    return true;
}

bool ArchiveUpdate::Commit() {
    if (journal_) {
        return CommitInPlace();
    }
    if (!Finished()) {
        return false;
    }
    const zipfmt::Waiting readers = ReadersWait();
    const auto alone = platform::ArchiveLock::Acquire(archive_, platform::ArchiveAccess::Replacing,
                                                      readers.wait, readers.onWait, readers.stop);
    if (!alone) {
        reporter_.Error(kErrArchiveWrite,
                        "Other programs kept reading " + archive_ + "; it is unchanged");
        return false;
    }
    // The old archive must be closed before anything can take its place.
    sourceView_.reset();
    if (source_ || inPlace_) {
        temp_->CopyAttributesFrom(archive_);
    }
    source_.reset();
    inPlace_.reset();
    if (!temp_->Commit(archive_, true)) {
        reporter_.Error(kErrArchiveWrite,
                        "Cannot replace the archive " + archive_ + "; it is unchanged");
        return false;
    }
    return true;
}

} // namespace zipdll

namespace zipdll {

void ArchiveUpdate::StampNewestTime() {
    std::uint32_t newest = 0;
    if (grewInPlace_) { // the old entries are not among the writer's
        for (const auto& e : directory_.entries) {
            newest = std::max(newest, e.dosDateTime);
        }
    }
    for (const auto& r : writer_->Central()) {
        newest = std::max(newest, r.dosDateTime);
    }
    if (newest != 0) {
        platform::SetPathDosTime(archive_, newest);
    }
}

} // namespace zipdll
