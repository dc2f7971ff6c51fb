#pragma once
// The code pages met in zip entry names (437 for old names, 1252 for the program's
// own texts) against UTF-8, which the engine libraries use for paths inside.

#include <optional>
#include <string>
#include <string_view>

namespace util {

// OEM code page 437, in which names without a Unicode marker are read.
std::string Cp437ToUtf8(std::string_view text);

// Windows-1252 bytes for a UTF-8 text, or nothing when a character has no place in
// the code page or the text is not UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// The same with "?" for every character the code page lacks (and every bad byte).
std::string Utf8ToCp1252Lossy(std::string_view text);

bool IsWellFormedUtf8(std::string_view text);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t c);

} // namespace util
