#include "platform/BufferedReader.h"

#include <algorithm>
#include <cstring>

namespace platform {

BufferedReader::BufferedReader(const FileHandle& file, std::size_t capacity)
    : file_(file), buffer_(std::max<std::size_t>(capacity, 64)) {}

void BufferedReader::Seek(std::int64_t offset) {
    position_ = std::max<std::int64_t>(offset, 0);
}

std::size_t BufferedReader::Fill() {
    bufferStart_ = position_;
    bufferLength_ =
        position_ < Size() ? file_.ReadAt(position_, buffer_.data(), buffer_.size()) : 0;
    return bufferLength_;
}

int BufferedReader::ReadByteSlow() {
    if (Fill() == 0) {
        return -1;
    }
    return buffer_[static_cast<std::size_t>(position_++ - bufferStart_)];
}

std::size_t BufferedReader::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const bool inBuffer = position_ >= bufferStart_ && position_ < BufferEnd();
        if (!inBuffer) {
            // Large reads bypass the buffer.
            if (count - done >= buffer_.size()) {
                const std::size_t got =
                    position_ < Size() ? file_.ReadAt(position_, out + done, count - done) : 0;
                position_ += static_cast<std::int64_t>(got);
                return done + got;
            }
            if (Fill() == 0) {
                break;
            }
        }
        const auto offset = static_cast<std::size_t>(position_ - bufferStart_);
        const std::size_t n = std::min(count - done, bufferLength_ - offset);
        std::memcpy(out + done, buffer_.data() + offset, n);
        done += n;
        position_ += static_cast<std::int64_t>(n);
    }
    return done;
}

std::int64_t BufferedReader::Skip(std::int64_t count) {
    if (count > 0) {
        const std::int64_t end = std::max(position_, Size());
        position_ = count > end - position_ ? end : position_ + count;
    }
    return position_;
}

std::span<const std::uint8_t> BufferedReader::Peek(std::size_t count) {
    count = std::min(count, buffer_.size());
    const bool covered =
        position_ >= bufferStart_ && position_ + static_cast<std::int64_t>(count) <= BufferEnd();
    if (!covered) {
        Fill();
    }
    const auto offset = static_cast<std::size_t>(position_ - bufferStart_);
    const std::size_t available = offset < bufferLength_ ? bufferLength_ - offset : 0;
    return {buffer_.data() + offset, std::min(count, available)};
}

} // namespace platform
