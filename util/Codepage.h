#pragma once
// The code pages met in this program against UTF-8: Windows-1252 for the program's
// own texts and names, 437 for old entry names in archives; the engine libraries use
// UTF-8 for paths inside.

#include <optional>
#include <string>
#include <string_view>

namespace util {

// Windows-1252 to UTF-8. Bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);

// OEM code page 437, in which names without a Unicode marker are read.
std::string Cp437ToUtf8(std::string_view text);

// Windows-1252 bytes for a UTF-8 text, or nothing when a character has no place in
// the code page or the text is not UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// The same with "?" for every character the code page lacks (and every bad byte).
std::string Utf8ToCp1252Lossy(std::string_view text);

// True when text is well-formed UTF-8 (plain ASCII included): no overlong forms,
// surrogates or values past U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t c);

} // namespace util
