#pragma once
// A fixed-size working buffer whose bytes start undefined: memory the streaming code
// never reads before writing costs no clearing, and untouched pages cost nothing.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zipfmt {

class Buffer {
public:
    explicit Buffer(std::size_t size)
        : data_(std::make_unique_for_overwrite<std::uint8_t[]>(size)), size_(size) {}

    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_;
};

} // namespace zipfmt
