#pragma once
// The hidden text lists of the windows (settings, recent archives, temporary files,
// the text table): the lines of a text, with the rules of a multi-line edit control.
//
// The text is held as the segments between its line breaks, so there is always at
// least one. The last segment is empty when the text ends in a line break (or is
// empty); that segment is no line of the list, but it can be written, which turns it
// into one. Reading past the last line gives "", writing past it is ignored.

#include <string>
#include <string_view>
#include <vector>

namespace util {

class TextLines {
public:
    TextLines() = default;
    TextLines(std::initializer_list<std::string_view> lines);

    int Count() const;
    // Line index, or "" when there is no such line.
    std::string Get(int index) const;
    // Replaces line index; ignored when there is no such line. A text with line
    // breaks becomes several lines.
    void Set(int index, std::string_view text);
    // Appends a line after the last.
    void Add(std::string_view text);
    // Inserts before line index; index Count() appends. Ignored past that.
    void Insert(int index, std::string_view text);
    // Removes line index; removing the last line leaves the text ending in a break.
    void Delete(int index);
    void Clear();

    // Every line followed by CR LF.
    std::string Text() const;
    // Replaces the lines: CR LF, a lone CR and a lone LF each end a line, and a final
    // line break adds no line.
    void SetText(std::string_view text);

private:
    void Normalize();

    std::vector<std::string> segments_{std::string()};
};

} // namespace util
