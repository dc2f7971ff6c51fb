#include "platform/WritableFile.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/posix/PositionalIo.h"

namespace platform {

namespace {

std::optional<struct stat> RegularFile(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return info;
}

} // namespace

std::optional<WritableFile> WritableFile::OpenExisting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    const auto info = RegularFile(fd);
    // The lock stands in for Windows' share modes between our own processes: one
    // that grows the archive is never undone under it by another.
    if (!info || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    ::fcntl(fd, F_SETFL, 0);
    WritableFile file(fd, static_cast<std::int64_t>(info->st_size));
    file.openedTime_ =
        static_cast<std::int64_t>(info->st_mtim.tv_sec) * 1000000000 + info->st_mtim.tv_nsec;
    return file;
}

std::optional<WritableFile> WritableFile::CreateNew(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    return WritableFile(fd, 0);
}

std::size_t WritableFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    return handle_.Valid() ? ReadAllAt(static_cast<int>(handle_.Get()), offset, buffer, count) : 0;
}

bool WritableFile::WriteAt(std::int64_t offset, const void* data, std::size_t count) {
    if (!handle_.Valid() || !WriteAllAt(static_cast<int>(handle_.Get()), offset, data, count)) {
        return false;
    }
    size_ = std::max(size_, offset + static_cast<std::int64_t>(count));
    return true;
}

bool WritableFile::SetSize(std::int64_t size) {
    if (!handle_.Valid() ||
        ::ftruncate(static_cast<int>(handle_.Get()), static_cast<off_t>(size)) != 0) {
        return false;
    }
    size_ = size;
    return true;
}

bool WritableFile::Flush() {
    return handle_.Valid() && ::fdatasync(static_cast<int>(handle_.Get())) == 0;
}

void WritableFile::RestoreTime() {
    if (!handle_.Valid() || openedTime_ == 0) {
        return;
    }
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(openedTime_ / 1000000000),
                                static_cast<long>(openedTime_ % 1000000000)}};
    ::futimens(static_cast<int>(handle_.Get()), times);
}

} // namespace platform
