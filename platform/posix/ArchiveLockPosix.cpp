#include "platform/ArchiveLock.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

std::string CanonicalPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::absolute(path, error).string() : canonical.string();
}

} // namespace

// Each lock is a file's lock in the temporary folder, named for the archive: it holds
// while the archive's own file is replaced, and a new archive has one before it exists.
std::intptr_t ArchiveLock::OpenNative(const std::string& path, ArchiveAccess access) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::temp_directory_path(error) /
                                       ("tarvox-" + ArchiveLockKey(CanonicalPath(path)) +
                                        (access == ArchiveAccess::Writing ? ".lock" : ".gate"));
    if (error) {
        return OwnedHandle::kNone;
    }
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return fd < 0 ? OwnedHandle::kNone : fd;
}

ArchiveLock::Try ArchiveLock::TryNative(std::intptr_t native, ArchiveAccess access) {
    const int how = access == ArchiveAccess::Reading ? LOCK_SH : LOCK_EX;
    if (::flock(static_cast<int>(native), how | LOCK_NB) == 0) {
        return Try::Taken;
    }
    return errno == EWOULDBLOCK ? Try::Busy : Try::Failed;
}

ArchiveLock::~ArchiveLock() = default; // closing the descriptor releases the lock

} // namespace platform
