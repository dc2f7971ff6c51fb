#pragma once
// Anything an archive can be read from at explicit offsets.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace zipfmt {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::int64_t Size() const = 0;
    // Up to count bytes at offset; fewer only at the end or on an error.
    virtual std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const = 0;
};

// A ByteSource over any object with Size() and ReadAt() of the same shape.
template <typename File> class ByteSourceOf final : public ByteSource {
public:
    explicit ByteSourceOf(const File& file) : file_(file) {}
    std::int64_t Size() const override { return file_.Size(); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const override {
        return file_.ReadAt(offset, buffer, count);
    }

private:
    const File& file_;
};

// Reads another source through a window of it, so that a walk through the entries in
// their order, many small reads, costs one system call per window.
class ReadAheadSource final : public ByteSource {
public:
    ReadAheadSource(std::unique_ptr<ByteSource> source, std::size_t window)
        : source_(std::move(source)), window_(window) {}
    std::int64_t Size() const override { return source_->Size(); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const override {
        if (count >= window_ || offset < 0) {
            return source_->ReadAt(offset, buffer, count);
        }
        const auto end = [this] { return start_ + static_cast<std::int64_t>(filled_); };
        if (offset < start_ || offset + static_cast<std::int64_t>(count) > end()) {
            bytes_.resize(window_);
            start_ = offset;
            filled_ = source_->ReadAt(offset, bytes_.data(), window_);
        }
        const std::size_t n =
            std::min(count, static_cast<std::size_t>(std::max<std::int64_t>(end() - offset, 0)));
        std::memcpy(buffer, bytes_.data() + (offset - start_), n);
        return n;
    }

private:
    std::unique_ptr<ByteSource> source_;
    std::size_t window_;
    mutable std::vector<unsigned char> bytes_;
    mutable std::int64_t start_ = 0;
    mutable std::size_t filled_ = 0;
};

} // namespace zipfmt
