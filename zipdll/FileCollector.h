#pragma once
// The files a list of specifications names: a file, a folder (with its contents
// when recursing), or a wildcard pattern in the last part of a path.

#include <functional>
#include <string>
#include <vector>

#include "engineapi/CallBlocks.h"
#include "platform/FileSystem.h"

namespace zipdll {

struct FoundFile {
    std::string path;       // UTF-8, as the file system takes it
    std::string storedName; // UTF-8, "/" between folders; folders end in "/"
    platform::PathInfo info;
};

struct CollectOptions {
    bool recurse = false;
    bool keepFolders = true;
    bool hiddenFiles = false;
    bool dosNames = false;
    std::string cwd;
    std::string exclude; // the archive itself, never added to itself
};

// Hears of what could not be collected: an error code and a text.
using Reporter = std::function<void(std::int32_t, const std::string&)>;

// Every file found, in the order of the specifications; report hears of each
// specification that named nothing and of each folder that could not be read.
std::vector<FoundFile> CollectFiles(const std::vector<std::string>& specs,
                                    const CollectOptions& options, const Reporter& report);

// A key that is equal for two spellings of one path (absolute, "." and ".." resolved,
// case folded where the file system folds it).
std::string PathKey(const std::string& path, const std::string& cwd);

} // namespace zipdll
