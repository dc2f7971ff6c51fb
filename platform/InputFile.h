#pragma once
// A file read by the engine libraries, by UTF-8 path: a source being added (others
// may go on writing it) or an archive (others may read it, not change it).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class InputFile {
public:
    enum class Sharing { Source, Archive };

    // Nothing when the path cannot be opened as a regular file.
    static std::unique_ptr<InputFile> Open(const std::string& path, Sharing sharing);
    virtual ~InputFile() = default;

    // The size when it was opened.
    virtual std::int64_t Size() const = 0;
    // Up to count bytes at offset; fewer at the end or on an error.
    virtual std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const = 0;
    // Reads on from where the last Read stopped; -1 on an error.
    virtual std::int64_t Read(void* buffer, std::size_t count) = 0;
};

} // namespace platform
