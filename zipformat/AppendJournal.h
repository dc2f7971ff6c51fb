#pragma once
// The undo journal of an archive that grows in place. Before the first byte of the
// old tail (the central directory and its end records) is overwritten, the tail and
// the old length are written beside the archive; the journal goes once the new tail
// is whole. Whoever next opens the archive finds the journal a dead
// process left and puts the old tail back before reading anything.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ArchiveLock.h"
#include "platform/WritableFile.h"

namespace zipfmt {

// Beside the archive, so on its volume; a name no archive tool gives a file.
std::string JournalPathOf(const std::string& archive);

class AppendJournal {
public:
    enum class Start {
        Ready,
        Unavailable, // the name is taken or the folder refuses a new file
        WriteFailed, // the journal could not be written whole (disk full); it is gone
    };
    // Saves archive's bytes from tailStart to its end.
    static Start Begin(const std::string& archivePath, platform::WritableFile& archive,
                       std::int64_t tailStart, std::unique_ptr<AppendJournal>& out);
    ~AppendJournal();

    // The saved tail's bytes from offset on.
    std::size_t ReadTail(std::int64_t offset, void* buffer, std::size_t count) const;
    std::int64_t TailLength() const { return oldLength_ - tailStart_; }

    // Puts the old tail back and the old length, durably; then the journal goes.
    bool RollBack(platform::WritableFile& archive);
    // The new tail is durable: the journal goes.
    void Discard();

private:
    AppendJournal(std::string path, platform::WritableFile file, std::int64_t tailStart,
                  std::int64_t oldLength);

    std::string path_;
    std::optional<platform::WritableFile> file_;
    std::int64_t tailStart_;
    std::int64_t oldLength_;
};

enum class Recovery { Nothing, RolledBack, Failed };
// Undoes an append that a dead process left half done. Failed when a journal is there
// but the archive cannot be written now (in use, read-only); the journal then stays.
Recovery RecoverArchive(const std::string& archive);

// How long readers and writers wait for each other, and what they say while they do.
struct Waiting {
    std::chrono::milliseconds wait;
    std::function<void()> onWait; // once, when the wait begins
    std::function<bool()> stop;   // gives up early
};

// RecoverArchive with readers kept off (ArchiveAccess::Replacing), when there is a
// journal to honour; Failed also when readers kept the archive past the wait.
Recovery RecoverArchive(const std::string& archive, const Waiting& waiting);

// The archive held for reading (ArchiveAccess::Reading), after an add a dead process
// left half done is undone. Empty when a writer's replace or growth in place lasted
// past the wait, or the add cannot be undone now (recovery then says Failed).
std::optional<platform::ArchiveLock> HoldForReading(const std::string& archive,
                                                    const Waiting& waiting, Recovery& recovery);

} // namespace zipfmt
