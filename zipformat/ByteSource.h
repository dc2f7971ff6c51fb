#pragma once
// Anything an archive can be read from at explicit offsets.

#include <cstddef>
#include <cstdint>

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

} // namespace zipfmt
