#include "platform/FileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/posix/PositionalIo.h"
#include "util/Codepage.h"

namespace platform {

std::optional<FileHandle> FileHandle::OpenForReading(const std::string& path) {
    return OpenUtf8(path, Sharing::DenyWrite);
}

std::optional<FileHandle> FileHandle::OpenUtf8(const std::string& path, Sharing) {
    // Non-blocking, so that a FIFO is refused at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    ::fcntl(fd, F_SETFL, 0); // blocking again for the reads
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return FileHandle(fd, static_cast<std::int64_t>(info.st_size));
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), size_(other.size_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, -1);
        size_ = other.size_;
    }
    return *this;
}

FileHandle::~FileHandle() {
    Close();
}

void FileHandle::Close() noexcept {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

std::size_t FileHandle::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    return ReadAllAt(static_cast<int>(handle_), offset, buffer, count);
}

std::int64_t FileHandle::Read(void* buffer, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, count);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got;
    }
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string CurrentDirectory() {
    char path[4096];
    return ::getcwd(path, sizeof path) != nullptr ? std::string(path) : std::string();
}

bool ChangeCurrentDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string ProgramPath(const std::string& utf8) {
    return utf8;
}

std::string CallBlockPath(const std::string& path) {
    return util::Utf8ToCp1252(path).value_or(path);
}

} // namespace platform
