#pragma once
// A file opened for reading, read at explicit offsets. On Windows others may read
// the file while it is open but not write it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class FileHandle {
public:
    // Empty when the file cannot be opened.
    static std::optional<FileHandle> OpenForReading(const std::string& path);

    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    // The size when the file was opened.
    std::int64_t Size() const { return size_; }

    // Reads up to count bytes at offset; fewer only at the end of the file or on an error.
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;

private:
    FileHandle(std::intptr_t handle, std::int64_t size) : handle_(handle), size_(size) {}
    void Close() noexcept;

    std::intptr_t handle_;
    std::int64_t size_;
};

// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);

// True when path names an existing folder.
bool DirectoryExists(const std::string& path);

// The process's current directory; changing it returns false when refused.
std::string CurrentDirectory();
bool ChangeCurrentDirectory(const std::string& path);

} // namespace platform
