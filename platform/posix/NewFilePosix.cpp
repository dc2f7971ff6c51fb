#include "platform/NewFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/DosTimePosix.h"
#include "platform/posix/PositionalIo.h"

namespace platform {

namespace {

class PosixNewFile final : public NewFile {
public:
    PosixNewFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixNewFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(path_.c_str());
        }
    }

    bool Write(const void* data, std::size_t count) override {
        if (!WriteAllAt(fd_, written_, data, count)) {
            return false;
        }
        written_ += static_cast<std::int64_t>(count);
        return true;
    }

    bool SetModifiedTime(const ModifiedTime& time) override {
        const timespec times[2] = {{0, UTIME_NOW}, ToTimespec(time)};
        return ::futimens(fd_, times) == 0;
    }

    bool Keep() override {
        // A file system that writes late may report its failure only here.
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (!closed) {
            ::unlink(path_.c_str());
        }
        return closed;
    }

private:
    int fd_;
    std::string path_;
    std::int64_t written_ = 0;
};

} // namespace

std::unique_ptr<NewFile> NewFile::Create(const std::string& path) {
    // O_EXCL fails on any link at path too, so nothing is ever written through one.
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixNewFile>(fd, path);
}

} // namespace platform
