#include "zipformat/AppendJournal.h"

#include <algorithm>
#include <cstring>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "zipformat/ArchiveWriter.h"
#include "zipformat/Buffer.h"
#include "zipformat/ByteSource.h"
#include "zipformat/Crc32.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {

// "TVXUNDO" and a state byte: '1' a journal to honour, '0' one whose append finished.
constexpr char kMagic[7] = {'T', 'V', 'X', 'U', 'N', 'D', 'O'};
constexpr char kLive = '1';
constexpr char kSpent = '0';
constexpr std::size_t kHeaderSize = 40;
constexpr std::size_t kChunk = 256 * 1024;
// The bytes just before the tail, which an append never touches: if they changed, the
// archive was rewritten by someone else since and the journal no longer fits it.
constexpr std::int64_t kGuardLength = 4096;

struct Header {
    std::uint64_t oldLength = 0;
    std::uint64_t tailStart = 0;
    std::uint32_t tailCrc = 0;
    std::uint32_t guardCrc = 0;
};

std::string EncodeHeader(const Header& h) {
    std::string out(kMagic, sizeof kMagic);
    out += kLive;
    PutLe64(out, h.oldLength);
    PutLe64(out, h.tailStart);
    PutLe32(out, h.tailCrc);
    PutLe32(out, h.guardCrc);
    PutLe32(out, 0);
    PutLe32(out, UpdateCrc32(0, out.data(), out.size()));
    return out;
}

enum class Parsed { NotOurs, Stale, Live };

Parsed DecodeHeader(const std::uint8_t* p, std::size_t got, Header& h) {
    // A process killed right after creating the journal leaves it empty or cut within
    // the magic: ours, and incomplete.
    if (std::memcmp(p, kMagic, std::min(got, sizeof kMagic)) != 0) {
        return Parsed::NotOurs;
    }
    if (got < kHeaderSize || p[7] != kLive || Le32(p + 36) != UpdateCrc32(0, p, 36)) {
        return Parsed::Stale;
    }
    h.oldLength = Le64(p + 8);
    h.tailStart = Le64(p + 16);
    h.tailCrc = Le32(p + 24);
    h.guardCrc = Le32(p + 28);
    return h.tailStart <= h.oldLength && h.oldLength <= static_cast<std::uint64_t>(INT64_MAX / 2)
               ? Parsed::Live
               : Parsed::Stale;
}

// CRC-32 of count bytes at from; nothing when they cannot all be read.
std::optional<std::uint32_t> CrcOf(const ByteSource& file, std::int64_t from, std::int64_t count,
                                   Buffer& buffer) {
    std::uint32_t crc = 0;
    for (std::int64_t done = 0; done < count;) {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(count - done, static_cast<std::int64_t>(buffer.size())));
        if (file.ReadAt(from + done, buffer.data(), n) != n) {
            return std::nullopt;
        }
        crc = UpdateCrc32(crc, buffer.data(), n);
        done += static_cast<std::int64_t>(n);
    }
    return crc;
}

std::uint32_t GuardCrc(const ByteSource& archive, std::int64_t tailStart, Buffer& buffer,
                       bool& ok) {
    const std::int64_t from = std::max<std::int64_t>(0, tailStart - kGuardLength);
    const auto crc = CrcOf(archive, from, tailStart - from, buffer);
    ok = crc.has_value();
    return crc.value_or(0);
}

// Writes the saved tail back over whatever the append left and cuts the archive to its
// old length, durably.
bool PutTailBack(const ByteSource& journal, platform::WritableFile& archive, std::int64_t tailStart,
                 std::int64_t oldLength, Buffer& buffer) {
    const std::int64_t length = oldLength - tailStart;
    for (std::int64_t done = 0; done < length;) {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(length - done, static_cast<std::int64_t>(buffer.size())));
        if (journal.ReadAt(static_cast<std::int64_t>(kHeaderSize) + done, buffer.data(), n) != n ||
            !archive.WriteAt(tailStart + done, buffer.data(), n)) {
            return false;
        }
        done += static_cast<std::int64_t>(n);
    }
    return archive.SetSize(oldLength) && archive.Flush();
}

} // namespace

std::string JournalPathOf(const std::string& archive) {
    return archive + ".tvxundo";
}

AppendJournal::AppendJournal(std::string path, platform::WritableFile file, std::int64_t tailStart,
                             std::int64_t oldLength)
    : path_(std::move(path)), file_(std::move(file)), tailStart_(tailStart), oldLength_(oldLength) {
}

AppendJournal::~AppendJournal() = default;

AppendJournal::Start AppendJournal::Begin(const std::string& archivePath,
                                          platform::WritableFile& archive, std::int64_t tailStart,
                                          std::unique_ptr<AppendJournal>& out) {
    const std::string path = JournalPathOf(archivePath);
    auto file = platform::WritableFile::CreateNew(path);
    if (!file) {
        return Start::Unavailable;
    }
    Header header;
    header.oldLength = static_cast<std::uint64_t>(archive.Size());
    header.tailStart = static_cast<std::uint64_t>(tailStart);
    Buffer buffer(kChunk);
    const ByteSourceOf<platform::WritableFile> source(archive);
    // The magic first: a journal cut short by a crash is known as ours and incomplete.
    bool ok = tailStart <= archive.Size() && file->WriteAt(0, kMagic, sizeof kMagic);
    for (std::int64_t at = tailStart; ok && at < archive.Size();) {
        const auto n =
            static_cast<std::size_t>(std::min<std::int64_t>(archive.Size() - at, kChunk));
        ok = archive.ReadAt(at, buffer.data(), n) == n &&
             file->WriteAt(static_cast<std::int64_t>(kHeaderSize) + (at - tailStart), buffer.data(),
                           n);
        header.tailCrc = UpdateCrc32(header.tailCrc, buffer.data(), n);
        at += static_cast<std::int64_t>(n);
    }
    if (ok) {
        header.guardCrc = GuardCrc(source, tailStart, buffer, ok);
    }
    const std::string bytes = EncodeHeader(header);
    // Written through to the system, not synced: a process that dies from here on
    // leaves a whole journal. A sync of the journal and of the grown archive would
    // also cover a power cut, at several milliseconds an add, more than the add.
    if (!ok || !file->WriteAt(0, bytes.data(), bytes.size())) {
        file.reset();
        platform::RemoveFile(path);
        return Start::WriteFailed;
    }
    out.reset(new AppendJournal(path, std::move(*file), tailStart,
                                static_cast<std::int64_t>(header.oldLength)));
    return Start::Ready;
}

std::size_t AppendJournal::ReadTail(std::int64_t offset, void* buffer, std::size_t count) const {
    return file_ ? file_->ReadAt(static_cast<std::int64_t>(kHeaderSize) + offset, buffer, count)
                 : 0;
}

bool AppendJournal::RollBack(platform::WritableFile& archive) {
    if (!file_) {
        return false;
    }
    Buffer buffer(kChunk);
    if (!PutTailBack(ByteSourceOf<platform::WritableFile>(*file_), archive, tailStart_, oldLength_,
                     buffer)) {
        return false; // the journal stays for the next call to try again
    }
    Discard();
    return true;
}

void AppendJournal::Discard() {
    if (!file_) {
        return;
    }
    // Marked spent before it goes: should the removal fail, no later call undoes the
    // finished append with it.
    file_->WriteAt(sizeof kMagic, &kSpent, 1);
    file_.reset();
    platform::RemoveFile(path_);
}

Recovery RecoverArchive(const std::string& archive) {
    const std::string path = JournalPathOf(archive);
    if (archive.empty() || !platform::QueryPath(path)) {
        return Recovery::Nothing;
    }
    // The archive first: while a live process grows it, it cannot be opened for
    // writing, and its journal is left alone.
    auto target = platform::WritableFile::OpenExisting(archive);
    if (!target) {
        return platform::QueryPath(archive) ? Recovery::Failed : Recovery::Nothing;
    }
    auto journal = platform::FileHandle::OpenUtf8(path, platform::FileHandle::Sharing::DenyWrite);
    if (!journal) {
        return Recovery::Failed;
    }
    std::uint8_t bytes[kHeaderSize];
    Header header;
    const std::size_t got = journal->ReadAt(0, bytes, sizeof bytes);
    const Parsed parsed = DecodeHeader(bytes, got, header);
    if (parsed == Parsed::NotOurs) {
        return Recovery::Nothing; // a file of the user's that happens to bear the name
    }
    auto stale = [&] {
        journal.reset();
        platform::RemoveFile(path);
        return Recovery::Nothing;
    };
    const auto tailStart = static_cast<std::int64_t>(header.tailStart);
    const auto oldLength = static_cast<std::int64_t>(header.oldLength);
    Buffer buffer(kChunk);
    const ByteSourceOf<platform::FileHandle> journalBytes(*journal);
    // Cut short or spent: the archive was not touched through it, or is whole.
    if (parsed == Parsed::Stale ||
        journal->Size() != static_cast<std::int64_t>(kHeaderSize) + oldLength - tailStart ||
        CrcOf(journalBytes, kHeaderSize, oldLength - tailStart, buffer) != header.tailCrc) {
        return stale();
    }
    bool guardRead = false;
    const std::uint32_t guard =
        target->Size() >= tailStart
            ? GuardCrc(ByteSourceOf<platform::WritableFile>(*target), tailStart, buffer, guardRead)
            : 0;
    if (!guardRead || guard != header.guardCrc) {
        return stale();
    }
    if (!PutTailBack(journalBytes, *target, tailStart, oldLength, buffer)) {
        return Recovery::Failed;
    }
    target.reset();
    journal.reset();
    platform::RemoveFile(path);
    return Recovery::RolledBack;
}

namespace {

bool HasJournal(const std::string& archive) {
    return !archive.empty() && platform::QueryPath(JournalPathOf(archive)).has_value();
}

} // namespace

Recovery RecoverArchive(const std::string& archive, const Waiting& waiting) {
    if (!HasJournal(archive)) {
        return Recovery::Nothing;
    }
    // A live writer growing the archive holds this lock too: its journal is then gone
    // by the time the lock is had.
    const auto alone = platform::ArchiveLock::Acquire(archive, platform::ArchiveAccess::Replacing,
                                                      waiting.wait, waiting.onWait, waiting.stop);
    return alone ? RecoverArchive(archive) : Recovery::Failed;
}

std::optional<platform::ArchiveLock> HoldForReading(const std::string& archive,
                                                    const Waiting& waiting, Recovery& recovery) {
    // Twice at most: a journal still there once the archive is held was left by a
    // writer that died since the first look, or is a file of the user's.
    for (int round = 0;; ++round) {
        recovery = RecoverArchive(archive, waiting);
        if (recovery == Recovery::Failed) {
            return std::nullopt;
        }
        auto hold = platform::ArchiveLock::Acquire(archive, platform::ArchiveAccess::Reading,
                                                   waiting.wait, waiting.onWait, waiting.stop);
        if (!hold || round == 1 || !HasJournal(archive)) {
            return hold;
        }
    }
}

} // namespace zipfmt
