#pragma once
// A file changed where it stands: an archive that grows in place, the undo journal
// beside it. Others may read it meanwhile but not write it (Windows share modes;
// POSIX has none).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/OwnedHandle.h"

namespace platform {

class WritableFile {
public:
    // An existing regular file, by UTF-8 path; empty when it cannot be opened for
    // writing (read-only, held by another process, not a regular file).
    static std::optional<WritableFile> OpenExisting(const std::string& path);
    // A new file; empty when the name is taken or the folder refuses it.
    static std::optional<WritableFile> CreateNew(const std::string& path);

    // The size as this handle has made it.
    std::int64_t Size() const { return size_; }
    // Up to count bytes at offset; fewer only at the end of the file or on an error.
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;
    bool WriteAt(std::int64_t offset, const void* data, std::size_t count);
    bool SetSize(std::int64_t size);
    // Makes what was written durable: the data and the size (a new file's name goes
    // with them in the same commit of the file systems' own journals).
    bool Flush();
    // The modification time goes back to what it was when the file was opened.
    void RestoreTime();
    void Close() noexcept { handle_.Close(); }

private:
    WritableFile(std::intptr_t handle, std::int64_t size) : handle_(handle), size_(size) {}

    OwnedHandle handle_;
    std::int64_t size_;
    std::int64_t openedTime_ = 0; // the platform's own units; 0 for a new file
};

} // namespace platform
