#pragma once
// A regular file opened for reading: read at explicit offsets, or on from where the
// last sequential read stopped (one way or the other for a given file, not both).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/OwnedHandle.h"

namespace platform {

class FileHandle {
public:
    // What others may do with the file while it is open (Windows only; POSIX has no
    // share modes): an archive is not to change under us, a file being added may.
    enum class Sharing { DenyWrite, AllowWrite };

    // A file named in the program's own code page, others denied writing unless
    // sharing allows it. Empty when the path names no regular file that can be opened.
    static std::optional<FileHandle> OpenForReading(const std::string& path,
                                                    Sharing sharing = Sharing::DenyWrite);
    // A file named in UTF-8, as the engine libraries name them.
    static std::optional<FileHandle> OpenUtf8(const std::string& path, Sharing sharing);

    // The size when the file was opened.
    std::int64_t Size() const { return size_; }

    // Reads up to count bytes at offset; fewer only at the end of the file or on an error.
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;
    // Reads on sequentially; the bytes read, 0 at the end, -1 on an error.
    std::int64_t Read(void* buffer, std::size_t count);

private:
    FileHandle(std::intptr_t handle, std::int64_t size) : handle_(handle), size_(size) {}
    // Takes an open native handle; Windows only.
    static std::optional<FileHandle> FromNative(void* native);

    OwnedHandle handle_;
    std::int64_t size_;
};

} // namespace platform
