#include "zipformat/EntryPaths.h"

#include <algorithm>
#include <cstring>

#include "platform/FileSystem.h"
#include "util/AsciiCase.h"
#include "zipformat/Wildcard.h"

namespace zipfmt {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 (also with an extension, also CONIN$ and
// CONOUT$): names Windows opens as devices in every folder.
bool IsDeviceName(std::string_view part) {
    std::string base = util::AsciiUpper(part.substr(0, part.find('.')));
    while (!base.empty() && (base.back() == ' ')) {
        base.pop_back();
    }
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$") {
        return true;
    }
    if (!base.starts_with("COM") && !base.starts_with("LPT")) {
        return false;
    }
    const std::string_view digit = std::string_view(base).substr(3);
    // Windows also takes the superscript digits 1, 2 and 3 (UTF-8 here) for devices.
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool OnlyDotsAndBlanks(std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c == '.' || c == ' '; });
}

// Windows drops trailing dots and blanks from the last part of a path it creates but
// not from the folders on the way, which then cannot be found: drop them everywhere.
std::string CleanPart(std::string_view part) {
    std::string out(part.substr(0, part.find_last_not_of(". ") + 1));
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"|?*", c)) {
            c = '_';
        }
    }
    return out;
}

bool SamePathPart(std::string_view a, std::string_view b) {
    return platform::FileNameKey(a) == platform::FileNameKey(b);
}

} // namespace

std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start) {
                parts.emplace_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

std::optional<OutputPath> SafeOutputPath(std::string_view name, bool keepFolders) {
    if (name.empty() || IsSeparator(name[0]) || name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    OutputPath out;
    out.isDirectory = IsSeparator(name.back());
    std::vector<std::string> parts = SplitPath(name);
    for (const std::string& part : parts) {
        // A colon is a drive or, on Windows, a stream of another file.
        if (part.find(':') != std::string::npos || OnlyDotsAndBlanks(part) || IsDeviceName(part)) {
            return std::nullopt;
        }
    }
    if (parts.empty()) {
        return std::nullopt;
    }
    for (std::string& part : parts) {
        part = CleanPart(part);
    }
    if (!keepFolders) {
        if (out.isDirectory) {
            return out; // nothing to write for a folder
        }
        out.leaf = parts.back();
        return out;
    }
    out.leaf = parts.back();
    parts.pop_back();
    out.folders = std::move(parts);
    return out;
}

bool SpecMatchesEntry(std::string_view spec, std::string_view storedName) {
    if (spec.empty()) {
        return false;
    }
    if (WildcardMatch(spec, storedName, false)) {
        return true;
    }
    const auto cut = storedName.find_last_of("\\:");
    return cut != std::string_view::npos && WildcardMatch(spec, storedName.substr(cut + 1), false);
}

std::string StoredPathFor(std::string_view path, std::string_view cwd, bool keepFolders) {
    std::vector<std::string> parts = SplitPath(path);
    if (!keepFolders) {
        return parts.empty() ? std::string() : parts.back();
    }
    const std::vector<std::string> base = SplitPath(cwd);
    // Inside the current folder: the rest after it.
    bool inside = parts.size() > base.size() && !base.empty() &&
                  (path.size() >= 2 && (path[1] == ':' || IsSeparator(path[0])));
    for (std::size_t i = 0; inside && i < base.size(); ++i) {
        inside = SamePathPart(parts[i], base[i]);
    }
    if (inside) {
        parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(base.size()));
    }
    // "." steps vanish and ".." steps take back the step before them; those that
    // would climb above the start are dropped, as are a drive and a root.
    std::vector<std::string> kept;
    for (const std::string& part : parts) {
        if (part == "." || (kept.empty() && part.size() == 2 && part[1] == ':')) {
            continue;
        }
        if (part == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    std::string out;
    for (const std::string& part : kept) {
        if (!out.empty()) {
            out += '/';
        }
        out += part;
    }
    return out;
}

} // namespace zipfmt
