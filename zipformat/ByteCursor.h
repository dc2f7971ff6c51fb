#pragma once
// Little-endian fields read off a span of bytes. A read past the end fails the cursor
// for good: it and every later read yield zeros or nothing, so a decoder reads a whole
// record and checks once.

#include <cstdint>
#include <span>
#include <string_view>

#include "zipformat/Records.h"

namespace zipfmt {

class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Failed() const { return failed_; }
    std::size_t Position() const { return at_; }
    std::size_t Remaining() const { return bytes_.size() - at_; }

    std::span<const std::uint8_t> Bytes(std::size_t count) {
        if (failed_ || count > Remaining()) {
            failed_ = true;
            return {};
        }
        const auto bytes = bytes_.subspan(at_, count);
        at_ += count;
        return bytes;
    }
    std::string_view Text(std::size_t count) {
        const auto bytes = Bytes(count);
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }
    void Skip(std::size_t count) { Bytes(count); }

    std::uint16_t U16() {
        const auto b = Bytes(2);
        return b.empty() ? 0 : Le16(b.data());
    }
    std::uint32_t U32() {
        const auto b = Bytes(4);
        return b.empty() ? 0 : Le32(b.data());
    }
    std::uint64_t U64() {
        const auto b = Bytes(8);
        return b.empty() ? 0 : Le64(b.data());
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

} // namespace zipfmt
