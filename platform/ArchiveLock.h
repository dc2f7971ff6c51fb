#pragma once
// Keeps the program's writers and readers of one archive out of each other's way.
// Writers take Writing for a whole change, from the first read to the final replace,
// so that a second writer works on what the first left. The archive itself changes
// only at the replace, or while it grows in place: a writer takes Replacing just
// around that, and readers hold Reading while they read, so a reader never sees a
// half-written archive and never waits for more than that window. Share modes and
// the file's own locks end with the handle that is replaced; these locks are named
// for the archive's path, so they hold across the replace. A process that dies
// releases its locks.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/OwnedHandle.h"

namespace platform {

enum class ArchiveAccess {
    Writing,   // one writer at a time
    Reading,   // shared among readers
    Replacing, // one at a time, and no reader meanwhile
};

class ArchiveLock {
public:
    // Takes the lock of the archive at a UTF-8 path (it need not exist yet), waiting
    // up to wait while another holds it. onWait runs once, when the wait begins;
    // stop, asked between tries, gives up early. Empty when the lock was not had.
    static std::optional<ArchiveLock> Acquire(const std::string& path, ArchiveAccess access,
                                              std::chrono::milliseconds wait,
                                              const std::function<void()>& onWait,
                                              const std::function<bool()>& stop);

    ArchiveLock(ArchiveLock&& other) noexcept = default;
    ArchiveLock& operator=(ArchiveLock&&) = delete;
    ArchiveLock(const ArchiveLock&) = delete;
    ~ArchiveLock();

private:
    enum class Try { Taken, Busy, Failed };
    // Per platform: the lock's object for an archive's key, and one try at it.
    static std::intptr_t OpenNative(const std::string& path, ArchiveAccess access);
    static Try TryNative(std::intptr_t native, ArchiveAccess access);

    ArchiveLock(std::intptr_t native, ArchiveAccess access) : handle_(native), access_(access) {}
    OwnedHandle handle_;
    ArchiveAccess access_;
    bool held_ = false;
};

// One name for every spelling of a path: the lock's key, in hexadecimal.
std::string ArchiveLockKey(const std::string& canonicalPath);

} // namespace platform
