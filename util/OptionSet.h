#pragma once
// A set of enumeration values stored as bits: bit n for the value with ordinal n.

#include <cstdint>
#include <initializer_list>

namespace util {

template <typename Enum, typename Bits = std::uint16_t> class OptionSet {
public:
    constexpr OptionSet() = default;
    constexpr OptionSet(std::initializer_list<Enum> values) {
        for (const Enum value : values) {
            Include(value);
        }
    }

    constexpr bool Contains(Enum value) const { return (bits_ & Bit(value)) != 0; }
    constexpr OptionSet& Include(Enum value) {
        bits_ = static_cast<Bits>(bits_ | Bit(value));
        return *this;
    }
    constexpr OptionSet& Exclude(Enum value) {
        bits_ = static_cast<Bits>(bits_ & ~Bit(value));
        return *this;
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr Bits ToBits() const { return bits_; }

    friend constexpr bool operator==(OptionSet, OptionSet) = default;

private:
    static constexpr Bits Bit(Enum value) {
        return static_cast<Bits>(Bits{1} << static_cast<int>(value));
    }
    Bits bits_ = 0;
};

} // namespace util
