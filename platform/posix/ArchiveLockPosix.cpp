#include "platform/ArchiveLock.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::chrono::milliseconds kTryEvery{50};

std::string CanonicalPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::absolute(path, error).string() : canonical.string();
}

} // namespace

// The lock is a file's lock in the temporary folder, named for the archive: it holds
// while the archive's own file is replaced, and a new archive has one before it exists.
std::optional<ArchiveLock> ArchiveLock::Acquire(const std::string& path,
                                                std::chrono::milliseconds wait,
                                                const std::function<void()>& onWait,
                                                const std::function<bool()>& stop) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::temp_directory_path(error) /
                                       ("tarvox-" + ArchiveLockKey(CanonicalPath(path)) + ".lock");
    if (error) {
        return std::nullopt;
    }
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::nullopt;
    }
    ArchiveLock lock(fd);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (bool first = true;; first = false) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return lock;
        }
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline ||
            (stop && stop())) {
            return std::nullopt;
        }
        if (first && onWait) {
            onWait();
        }
        std::this_thread::sleep_for(kTryEvery);
    }
}

ArchiveLock::~ArchiveLock() = default; // closing the descriptor releases the lock

} // namespace platform
