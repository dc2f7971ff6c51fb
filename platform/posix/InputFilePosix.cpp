#include "platform/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

class PosixInputFile final : public InputFile {
public:
    PosixInputFile(int fd, std::int64_t size) : fd_(fd), size_(size) {}
    ~PosixInputFile() override { ::close(fd_); }

    std::int64_t Size() const override { return size_; }

    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got =
                ::pread(fd_, out + done, count - done,
                        static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

    std::int64_t Read(void* buffer, std::size_t count) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, count);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            return got;
        }
    }

private:
    int fd_;
    std::int64_t size_;
};

} // namespace

std::unique_ptr<InputFile> InputFile::Open(const std::string& path, Sharing sharing) {
    (void)sharing; // POSIX has no share modes
    // Non-blocking, so that a FIFO is refused at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, 0);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<PosixInputFile>(fd, static_cast<std::int64_t>(st.st_size));
}

} // namespace platform
