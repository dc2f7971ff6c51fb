#include "platform/NewFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/DosTimePosix.h"

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
        const auto* in = static_cast<const char*>(data);
        while (count > 0) {
            const ssize_t put = ::write(fd_, in, count);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return false;
            }
            in += put;
            count -= static_cast<std::size_t>(put);
        }
        return true;
    }

    bool SetDosTime(std::uint32_t dosTime) override {
        const timespec times[2] = {{0, UTIME_NOW}, {FromDosTime(dosTime), 0}};
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
