#pragma once
// Keeps the program's other writers off one archive for a whole change, from its first
// read to the final replace of the file by its new version. Share modes and the file's
// own lock end with the handle that is replaced; this lock is named for the archive's
// path, so it holds across the replace. A process that dies releases it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/OwnedHandle.h"

namespace platform {

class ArchiveLock {
public:
    // Takes the lock of the archive at a UTF-8 path (it need not exist yet), waiting
    // up to wait while another holds it. onWait runs once, when the wait begins;
    // stop, asked between tries, gives up early. Empty when the lock was not had.
    static std::optional<ArchiveLock> Acquire(const std::string& path,
                                              std::chrono::milliseconds wait,
                                              const std::function<void()>& onWait,
                                              const std::function<bool()>& stop);

    ArchiveLock(ArchiveLock&& other) noexcept = default;
    ArchiveLock& operator=(ArchiveLock&&) = delete;
    ArchiveLock(const ArchiveLock&) = delete;
    ~ArchiveLock();

private:
    explicit ArchiveLock(std::intptr_t handle) : handle_(handle) {}
    OwnedHandle handle_;
};

// One name for every spelling of a path: the lock's key, in hexadecimal.
std::string ArchiveLockKey(const std::string& canonicalPath);

} // namespace platform
