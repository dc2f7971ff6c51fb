#include "platform/FileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/posix/PositionalIo.h"

namespace platform {

void OwnedHandle::CloseNative(std::intptr_t native) noexcept {
    ::close(static_cast<int>(native));
}

std::optional<FileHandle> FileHandle::OpenForReading(const std::string& path, Sharing sharing) {
    return OpenUtf8(path, sharing);
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

std::size_t FileHandle::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    return ReadAllAt(static_cast<int>(handle_.Get()), offset, buffer, count);
}

std::int64_t FileHandle::Read(void* buffer, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_.Get()), buffer, count);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got;
    }
}

} // namespace platform
