#pragma once
// Text to number as the windows' settings need it, with the framework's error text.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace util {

// "'<text>' is not a valid integer value".
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const std::string& text)
        : std::runtime_error("'" + text + "' is not a valid integer value") {}
};

// A whole number in 32 bits: leading blanks, an optional sign, then decimal digits or
// hexadecimal ones after "$" or "0x". Anything else, an empty text included, raises
// ConvertError.
std::int32_t StrToInt(const std::string& text);

} // namespace util
