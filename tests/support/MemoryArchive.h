#pragma once
// An archive held in memory, to be written by ArchiveWriter and read back through
// ByteSource, and a file's content held in a string as an entry's source.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "zipformat/ArchiveWriter.h"
#include "zipformat/ByteSource.h"
#include "zipformat/EntryEncoder.h"

namespace testzip {

class MemoryArchive final : public zipfmt::ByteSink, public zipfmt::ByteSource {
public:
    // Writes fail once the archive would grow past failAt bytes.
    explicit MemoryArchive(std::int64_t failAt = INT64_MAX) : failAt_(failAt) {}

    bool WriteAt(std::int64_t offset, const void* data, std::size_t count) override {
        const std::size_t end = static_cast<std::size_t>(offset) + count;
        if (static_cast<std::int64_t>(end) > failAt_) {
            return false;
        }
        bytes.resize(std::max(bytes.size(), end));
        if (count > 0) {
            std::memcpy(bytes.data() + offset, data, count);
        }
        return true;
    }
    bool SetSize(std::int64_t size) override {
        bytes.resize(static_cast<std::size_t>(size));
        return true;
    }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes.size()); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const override {
        if (count == 0 || offset < 0 || offset >= Size()) {
            return 0;
        }
        const std::size_t n = std::min(count, bytes.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, bytes.data() + offset, n);
        return n;
    }

    std::string bytes;

private:
    std::int64_t failAt_;
};

class StringSource final : public zipfmt::EntrySource {
public:
    explicit StringSource(std::string data) : data_(std::move(data)) {}
    std::int64_t Read(void* buffer, std::size_t count) override {
        const std::size_t n = std::min(count, data_.size() - at_);
        if (n > 0) {
            std::memcpy(buffer, data_.data() + at_, n);
        }
        at_ += n;
        return static_cast<std::int64_t>(n);
    }
    bool Restart() override {
        at_ = 0;
        return true;
    }

private:
    std::string data_;
    std::size_t at_ = 0;
};

} // namespace testzip
