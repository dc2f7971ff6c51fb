#include "tools/tarvox-cli/FileSelection.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "zipformat/Wildcard.h"

namespace {

// Patterns and paths are compared with "/" between folders.
std::string Slashed(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    while (text.size() > 2 && text.starts_with("./")) {
        text.erase(0, 2);
    }
    return text;
}

class Selection {
public:
    explicit Selection(const std::vector<std::string>& excluded) {
        for (const std::string& pattern : excluded) {
            patterns_.push_back(Slashed(pattern));
        }
    }

    bool Excluded(const std::string& shown) const {
        const auto cut = shown.find_last_of('/');
        const std::string_view name = cut == std::string::npos
                                          ? std::string_view(shown)
                                          : std::string_view(shown).substr(cut + 1);
        return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string& p) {
            return zipfmt::WildcardMatch(p, shown, platform::NamesIgnoreCase()) ||
                   zipfmt::WildcardMatch(p, name, platform::NamesIgnoreCase());
        });
    }

    // Appends what to hand over for path; true when nothing in it was left out.
    bool Walk(const std::string& path, const std::string& shown, std::vector<std::string>& out) {
        const auto info = platform::QueryPath(path);
        auto items = info && info->isDirectory ? platform::ListDirectory(path) : std::nullopt;
        if (!items) {
            out.push_back(path); // a file, or what the library will report
            return true;
        }
        std::sort(items->begin(), items->end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        std::vector<std::string> inside;
        bool whole = true;
        for (const platform::DirectoryItem& item : *items) {
            if (item.isDirectory && item.isLink) {
                continue; // the library never walks into one either
            }
            const std::string childShown =
                shown.ends_with('/') ? shown + item.name : shown + "/" + item.name;
            if (Excluded(childShown)) {
                whole = false;
                continue;
            }
            whole = Walk(platform::JoinPath(path, item.name), childShown, inside) && whole;
        }
        if (whole) {
            out.push_back(path);
        } else {
            out.insert(out.end(), inside.begin(), inside.end());
        }
        return whole;
    }

private:
    std::vector<std::string> patterns_;
};

} // namespace

std::vector<std::string> SelectFiles(const std::vector<std::string>& paths,
                                     const std::vector<std::string>& excluded) {
    Selection selection(excluded);
    std::vector<std::string> selected;
    for (const std::string& path : paths) {
        const std::string shown = Slashed(path);
        if (!selection.Excluded(shown)) {
            selection.Walk(path, shown, selected);
        }
    }
    return selected;
}
