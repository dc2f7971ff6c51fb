#include "zipformat/Wildcard.h"

#include "util/AsciiCase.h"

namespace zipfmt {

namespace {

char Fold(char c, bool ignoreCase) {
    return ignoreCase ? util::AsciiUpper(c) : c;
}

} // namespace

bool HasWildcards(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

bool WildcardMatch(std::string_view pattern, std::string_view text, bool ignoreCase) {
    // Greedy with one backtrack point: linear in practice, never exponential.
    std::size_t p = 0, t = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || Fold(pattern[p], ignoreCase) == Fold(text[t], ignoreCase))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace zipfmt
