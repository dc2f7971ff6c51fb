#pragma once
// The code pages that entry names written without a UTF-8 marker come in, and the
// guess of which one a sample of such names is in.

#include <array>
#include <string_view>

namespace util {

inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageOemUs = 437;

// The OEM and ANSI code pages of the systems that write zips, then UTF-8: what the
// user may choose names to be read in.
inline constexpr std::array<unsigned, 11> kNameCodePages = {
    437, 850, 866, 932, 936, 949, 950, 1250, 1251, 1252, kCodePageUtf8};

// The code page of kNameCodePages that the detector takes the sample to be in, or 0
// when it finds none of them more likely than another.
unsigned GuessNameCodePage(std::string_view sample);

// "932 (Shift-JIS)", "UTF-8": a code page as the user picks it.
std::string_view NameCodePageCaption(unsigned codePage);

} // namespace util
