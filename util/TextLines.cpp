#include "util/TextLines.h"

namespace util {

namespace {

// Splits at CR LF, lone CR and lone LF; n breaks give n + 1 segments.
std::vector<std::string> SplitSegments(std::string_view text) {
    std::vector<std::string> segments(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            segments.emplace_back();
        } else {
            segments.back() += c;
        }
    }
    return segments;
}

} // namespace

TextLines::TextLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) {
        Add(line);
    }
}

int TextLines::Count() const {
    const auto n = static_cast<int>(segments_.size());
    return segments_.back().empty() ? n - 1 : n;
}

std::string TextLines::Get(int index) const {
    return index >= 0 && index < Count() ? segments_[static_cast<std::size_t>(index)]
                                         : std::string();
}

void TextLines::Set(int index, std::string_view text) {
    if (index < 0 || index >= static_cast<int>(segments_.size())) {
        return;
    }
    segments_[static_cast<std::size_t>(index)] = text;
    Normalize();
}

void TextLines::Add(std::string_view text) {
    Insert(Count(), text);
}

void TextLines::Insert(int index, std::string_view text) {
    if (index < 0 || index > Count()) {
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    if (at < segments_.size()) {
        // Before an existing segment: the new line brings its own break.
        segments_.insert(segments_.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
    } else {
        // After a last line without a final break: a break goes before it.
        segments_.emplace_back(text);
    }
    Normalize();
}

void TextLines::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(segments_.size())) {
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    if (at + 1 < segments_.size()) {
        segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(at));
    } else {
        segments_[at].clear();
    }
}

void TextLines::Clear() {
    segments_.assign(1, std::string());
}

std::string TextLines::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += segments_[static_cast<std::size_t>(i)];
        text += "\r\n";
    }
    return text;
}

void TextLines::SetText(std::string_view text) {
    segments_ = SplitSegments(text);
}

void TextLines::Normalize() {
    for (const std::string& segment : segments_) {
        if (segment.find_first_of("\r\n") != std::string::npos) {
            std::string joined;
            for (std::size_t i = 0; i < segments_.size(); ++i) {
                joined += (i == 0 ? "" : "\r\n") + segments_[i];
            }
            segments_ = SplitSegments(joined);
            return;
        }
    }
}

} // namespace util
