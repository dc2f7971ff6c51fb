#include "platform/TempFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/DosTimePosix.h"
#include "platform/posix/PositionalIo.h"

namespace platform {

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A fresh name beside target for the moment between linking and renaming, or for
// file systems without unnamed files.
std::string SiblingName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto slash = target.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    return prefix + ".tvx" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(random() % 1000000) + ".tmp";
}

class PosixTempFile final : public TempFile {
public:
    PosixTempFile(int fd, std::string namedPath) : fd_(fd), namedPath_(std::move(namedPath)) {}
    ~PosixTempFile() override { Discard(); }

    bool WriteAt(std::int64_t offset, const void* data, std::size_t count) override {
        return fd_ >= 0 && WriteAllAt(fd_, offset, data, count);
    }

    bool SetSize(std::int64_t size) override {
        return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
    }

    bool SetModifiedTime(const ModifiedTime& time) override {
        const timespec times[2] = {{0, UTIME_NOW}, ToTimespec(time)};
        return fd_ >= 0 && ::futimens(fd_, times) == 0;
    }

    void CopyAttributesFrom(const std::string& path) override {
        struct stat st {};
        if (fd_ >= 0 && ::stat(path.c_str(), &st) == 0) {
            ::fchmod(fd_, st.st_mode & 07777);
        }
    }

    bool Commit(const std::string& target, bool durable) override {
        // The data reaches the disk before the name does, so that a crash leaves the
        // old archive or the whole new one, never a name on missing data.
        if (fd_ < 0 || (durable && ::fdatasync(fd_) != 0)) {
            Discard();
            return false;
        }
        std::string named = namedPath_;
        if (named.empty()) {
            // An unnamed file gets a name only now, for the rename that follows.
            named = SiblingName(target);
            const std::string self = "/proc/self/fd/" + std::to_string(fd_);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
                ::linkat(fd_, "", AT_FDCWD, named.c_str(), AT_EMPTY_PATH) != 0) {
                Discard();
                return false;
            }
        }
        ::close(fd_);
        fd_ = -1;
        namedPath_.clear();
        if (::rename(named.c_str(), target.c_str()) != 0) {
            ::unlink(named.c_str());
            return false;
        }
        return true;
    }

private:
    void Discard() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        if (!namedPath_.empty()) {
            ::unlink(namedPath_.c_str());
            namedPath_.clear();
        }
    }

    int fd_;
    std::string namedPath_; // empty for an unnamed file
};

} // namespace

std::unique_ptr<TempFile> TempFile::CreateBeside(const std::string& target) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = 0666 & ~mask;
#ifdef O_TMPFILE
    const int unnamed = ::open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (unnamed >= 0) {
        ::fchmod(unnamed, mode);
        return std::make_unique<PosixTempFile>(unnamed, std::string());
    }
#endif
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::string name = SiblingName(target);
        const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0) {
            return std::make_unique<PosixTempFile>(fd, name);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return nullptr;
}

} // namespace platform
