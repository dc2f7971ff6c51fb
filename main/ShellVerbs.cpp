#include "main/ShellVerbs.h"

#include "util/AsciiCase.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// A path without separators at its end, unless it is a root ("C:\", "\").
std::string Trimmed(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back()) && !(path.size() == 3 && path[1] == ':')) {
        path.pop_back();
    }
    return path;
}

// The folder part, with its separator; empty for a bare name.
std::string FolderOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The name less its last extension; a name that is all extension (".zip") keeps it.
std::string StemOf(const std::string& name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

constexpr int kMostCopies = 10000;

// The nearest folder that holds every path, with its separator, spelled as in the first;
// the first's own folder when they share none (two drives, two servers).
std::string CommonFolder(const std::vector<std::string>& paths) {
    const std::string& first = paths.front();
    std::string common = FolderOf(first);
    for (const std::string& path : paths) {
        const std::string folder = util::AsciiUpper(FolderOf(path));
        // Shorten to the longest prefix ending in a separator that both share.
        std::size_t same = 0;
        const std::string key = util::AsciiUpper(common);
        for (std::size_t i = 0; i < key.size() && i < folder.size(); ++i) {
            const bool separators = IsSeparator(key[i]) && IsSeparator(folder[i]);
            if (key[i] != folder[i] && !separators) {
                break;
            }
            if (separators || key[i] == ':') {
                same = i + 1;
            }
        }
        common.resize(same);
    }
    const bool named = common.find_first_not_of("\\/") != std::string::npos;
    return named ? common : FolderOf(first);
}

} // namespace

std::string LeafOf(const std::string& path) {
    return path.substr(FolderOf(path).size());
}

std::optional<ShellRequest> ShellRequestFrom(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2) {
        return std::nullopt;
    }
    struct Switch {
        const char* name;
        ShellJob job;
    };
    static constexpr Switch kSwitches[] = {{"/EXTRACTHERE", ShellJob::ExtractHere},
                                           {"/EXTRACTTO", ShellJob::ExtractTo},
                                           {"/TEST", ShellJob::Test},
                                           {"/ADD", ShellJob::Add}};
    const std::string first = util::AsciiUpper(arguments[0]);
    for (const Switch& s : kSwitches) {
        if (first != s.name) {
            continue;
        }
        if (s.job != ShellJob::Add && arguments.size() != 2) {
            return std::nullopt;
        }
        ShellRequest request{s.job, {}};
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            request.paths.push_back(Trimmed(arguments[i]));
        }
        return request;
    }
    return std::nullopt;
}

std::string FreePath(const std::string& path, const PathTest& exists,
                     const std::string& extension) {
    if (!exists(path + extension)) {
        return path + extension;
    }
    for (int n = 2; n <= kMostCopies; ++n) {
        std::string candidate = path + " (" + std::to_string(n) + ")" + extension;
        if (!exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::optional<std::string> SingleTopFolder(const std::vector<std::string>& entryNames) {
    std::optional<std::string> top;
    for (const std::string& name : entryNames) {
        std::size_t start = 0;
        while (start < name.size() && IsSeparator(name[start])) {
            ++start;
        }
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        // A file at the top, or a name that is no folder one can make.
        if (end == name.size() || end == start) {
            return std::nullopt;
        }
        const std::string folder = name.substr(start, end - start);
        if (folder == "." || folder == ".." || folder.find(':') != std::string::npos) {
            return std::nullopt;
        }
        if (top && *top != folder) {
            return std::nullopt;
        }
        top = folder;
    }
    return top;
}

ExtractionTarget ExtractionFolder(const std::string& archive,
                                  const std::vector<std::string>& entryNames, bool smart,
                                  const PathTest& exists) {
    const std::string beside = FolderOf(archive);
    const auto top = smart ? SingleTopFolder(entryNames) : std::nullopt;
    if (top && !exists(beside + *top)) {
        return {beside, {}};
    }
    // A folder of that name already there is never mixed into.
    const std::string folder = FreePath(beside + (top ? *top : StemOf(LeafOf(archive))), exists);
    return {folder.empty() ? folder : folder + "\\", top.value_or("")};
}

std::string ArchiveForAdding(const std::vector<std::string>& paths, const PathTest& isFolder,
                             const PathTest& exists) {
    if (paths.empty()) {
        return {};
    }
    const std::string& first = paths.front();
    std::string folder = paths.size() == 1 ? FolderOf(first) : CommonFolder(paths);
    std::string name;
    if (paths.size() == 1) {
        name = isFolder(first) ? LeafOf(first) : StemOf(LeafOf(first));
    } else {
        name = LeafOf(Trimmed(folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder));
    }
    // A drive's root has no name of its own: the first file lends its.
    if (name.empty() || name.back() == ':') {
        name = StemOf(LeafOf(first));
    }
    const std::string base = folder + name;
    std::string archive = base + ".zip";
    const std::string key = util::AsciiUpper(archive);
    for (const std::string& path : paths) {
        if (util::AsciiUpper(path) == key) {
            // Never added to itself: the next free name instead.
            return FreePath(
                base,
                [&](const std::string& candidate) {
                    return util::AsciiUpper(candidate) == key || exists(candidate);
                },
                ".zip");
        }
    }
    return archive;
}
