#pragma once
// "*" (any run of characters) and "?" (one character) in names.

#include <string_view>

namespace zipfmt {

bool HasWildcards(std::string_view pattern);

// Whole-text match; ignoreCase folds ASCII letters only.
bool WildcardMatch(std::string_view pattern, std::string_view text, bool ignoreCase);

} // namespace zipfmt
