#pragma once
// Conversions between the single-byte code pages the program meets and UTF-8.

#include <string>
#include <string_view>

namespace util {

// Windows-1252 (the program's own texts) to UTF-8. Bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);

// True when text is well-formed UTF-8 (plain ASCII included).
bool IsValidUtf8(std::string_view text);

} // namespace util
