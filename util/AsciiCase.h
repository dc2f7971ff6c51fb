#pragma once
// ASCII letters in one case, every other byte as it is: how names are compared where
// the file system ignores case (its folding of other letters is its own).

#include <string>
#include <string_view>

namespace util {

inline std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

} // namespace util
