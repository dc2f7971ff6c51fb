#pragma once
// Sequential reading of a FileHandle through a buffer, so that byte-by-byte scans
// and small header reads cost no system call each.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/FileHandle.h"

namespace platform {

class BufferedReader {
public:
    explicit BufferedReader(const FileHandle& file, std::size_t capacity = 128 * 1024);

    std::int64_t Position() const { return position_; }
    std::int64_t Size() const { return file_.Size(); }

    // Moves to an absolute offset; past the end nothing more can be read.
    void Seek(std::int64_t offset);

    // Reads up to count bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);

    // The next byte, or -1 at the end of the file.
    int ReadByte() {
        if (position_ >= bufferStart_ && position_ < BufferEnd()) {
            return buffer_[static_cast<std::size_t>(position_++ - bufferStart_)];
        }
        return ReadByteSlow();
    }

    // Moves forward by count bytes, never past the end of the file (nor backwards);
    // returns the new position.
    std::int64_t Skip(std::int64_t count);

    // Up to count bytes from the position without consuming them; count is capped at
    // the buffer's capacity, and fewer come back at the end of the file.
    std::span<const std::uint8_t> Peek(std::size_t count);

private:
    int ReadByteSlow();
    std::int64_t BufferEnd() const {
        return bufferStart_ + static_cast<std::int64_t>(bufferLength_);
    }
    // Makes the buffer start at the position; returns the bytes available.
    std::size_t Fill();

    const FileHandle& file_;
    std::vector<std::uint8_t> buffer_;
    std::int64_t bufferStart_ = 0;
    std::size_t bufferLength_ = 0;
    std::int64_t position_ = 0;
};

} // namespace platform
