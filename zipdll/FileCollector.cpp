#include "zipdll/FileCollector.h"

#include "platform/FileSystem.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntryPaths.h"
#include "zipformat/Wildcard.h"

namespace zipdll {

namespace {

class Collector {
public:
    Collector(const CollectOptions& options, std::vector<FoundFile>& out, const Reporter& report)
        : options_(options), out_(out), report_(report),
          excludeKey_(options.exclude.empty() ? std::string()
                                              : PathKey(options.exclude, options.cwd)) {}

    // What a specification names. A folder keeps its tree below itself even when
    // folder names are dropped: its entries are named from the folder's parent, so
    // that two files of one name in different subfolders never clash.
    std::size_t AddNamed(const std::string& path, const platform::PathInfo& info) {
        if (!info.isDirectory || options_.keepFolders) {
            return AddPath(path, info);
        }
        const std::string absolute =
            platform::IsAbsolutePath(path) ? path : platform::JoinPath(options_.cwd, path);
        const auto cut = absolute.find_last_of("/\\");
        treeBase_ = cut == std::string::npos ? std::string() : absolute.substr(0, cut + 1);
        inTree_ = true;
        const std::size_t added = AddPath(absolute, info);
        inTree_ = false;
        return added;
    }

    // A file, or a folder: its files, and with recursion its folders too (links to
    // folders are not followed). Returns how many entries the path added.
    std::size_t AddPath(const std::string& path, const platform::PathInfo& info) {
        if (info.hidden && !options_.hiddenFiles) {
            return 0;
        }
        if (!info.isDirectory) {
            if (!excludeKey_.empty() && PathKey(path, options_.cwd) == excludeKey_) {
                return 0;
            }
            return Push(path, info, false);
        }
        std::size_t added = 0;
        if (options_.recurse && (options_.keepFolders || inTree_)) {
            added += Push(path, info, true);
        }
        const auto items = platform::ListDirectory(path);
        if (!items) {
            report_(kErrFileRead, "Cannot read the folder " + path);
            return added;
        }
        for (const auto& item : *items) {
            if (item.isDirectory && (!options_.recurse || item.isLink)) {
                continue;
            }
            const std::string child = platform::JoinPath(path, item.name);
            if (const auto childInfo = platform::QueryPath(child)) {
                added += AddPath(child, *childInfo);
            }
        }
        return added;
    }

    std::size_t AddPattern(const std::string& folder, const std::string& pattern) {
        const auto items = platform::ListDirectory(folder);
        std::size_t added = 0;
        if (!items) {
            return 0;
        }
        for (const auto& item : *items) {
            if (!zipfmt::WildcardMatch(pattern, item.name, platform::NamesIgnoreCase())) {
                continue;
            }
            if (item.isDirectory && (!options_.recurse || item.isLink)) {
                continue;
            }
            const std::string child = platform::JoinPath(folder, item.name);
            if (const auto info = platform::QueryPath(child)) {
                added += AddNamed(child, *info);
            }
        }
        return added;
    }

private:
    std::size_t Push(const std::string& path, const platform::PathInfo& info, bool folder) {
        std::string stored = inTree_
                                 ? zipfmt::StoredPathFor(path, treeBase_, true)
                                 : zipfmt::StoredPathFor(path, options_.cwd, options_.keepFolders);
        if (stored.empty()) {
            return 0; // the current folder itself, or a root
        }
        if (options_.dosNames) {
            stored = zipfmt::DosStyleName(stored);
        }
        out_.push_back({path, folder ? stored + "/" : stored, info});
        return 1;
    }

    const CollectOptions& options_;
    std::vector<FoundFile>& out_;
    const Reporter& report_;
    std::string excludeKey_;
    bool inTree_ = false;
    std::string treeBase_; // the parent of the folder whose tree is being added
};

} // namespace

std::string PathKey(const std::string& path, const std::string& cwd) {
    const std::string absolute =
        platform::IsAbsolutePath(path) ? path : platform::JoinPath(cwd, path);
    std::vector<std::string> parts;
    for (std::string& part : zipfmt::SplitPath(absolute)) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(platform::FileNameKey(part));
    }
    std::string key;
    for (const std::string& part : parts) {
        key += '/' + part;
    }
    return key;
}

std::vector<FoundFile> CollectFiles(const std::vector<std::string>& specs,
                                    const CollectOptions& options, const Reporter& report) {
    std::vector<FoundFile> found;
    Collector collector(options, found, report);
    for (const std::string& spec : specs) {
        std::size_t added = 0;
        const auto cut = spec.find_last_of("/\\");
        const std::string last = cut == std::string::npos ? spec : spec.substr(cut + 1);
        if (zipfmt::HasWildcards(last)) {
            const std::string folder =
                cut == std::string::npos ? std::string() : spec.substr(0, cut + 1);
            added = collector.AddPattern(folder, last);
        } else if (const std::string path = platform::LongPath(spec);
                   const auto info = platform::QueryPath(path)) {
            // A file named by its short name is stored by its own.
            added = collector.AddNamed(path, *info);
        }
        if (added == 0) {
            report(kErrNothingMatched, "No file matches " + spec);
        }
    }
    return found;
}

} // namespace zipdll
