#pragma once
// ASCII letters in one case, every other byte as it is: how names are compared where
// the file system ignores case (its folding of other letters is its own).

#include <string>
#include <string_view>

namespace util {

inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = AsciiUpper(c);
    }
    return out;
}

} // namespace util
