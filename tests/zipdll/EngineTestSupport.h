#pragma once
// Shared by the library tests: a scratch folder that is also the current folder,
// and reading back what the libraries wrote.

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/FileHandle.h"
#include "tests/support/TempDir.h"
#include "zipformat/CentralDirectory.h"

namespace enginetest {

// A scratch folder made current for the test's length.
class WorkDir {
public:
    WorkDir() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.Path());
    }
    ~WorkDir() { std::filesystem::current_path(previous_); }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    // A native path for a name relative to the folder, as the call blocks take it.
    std::string Path(const std::string& name) const { return dir_.File(name); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
        return dir_.Write(name, bytes);
    }
    std::string Read(const std::string& name) const { return ReadFileBytes(Path(name)); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }
    // Every file and folder under the folder, "/" between names.
    std::set<std::string> Tree() const {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_.Path())) {
            names.insert(std::filesystem::relative(e.path(), dir_.Path()).generic_string());
        }
        return names;
    }

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

inline zipfmt::ArchiveDirectory ReadBack(const std::string& archive) {
    zipfmt::ArchiveDirectory dir;
    auto file = platform::FileHandle::OpenForReading(archive);
    if (!file || zipfmt::ReadArchiveDirectory(*file, dir) != zipfmt::DirectoryError::None) {
        dir.entries.clear();
        dir.comment = "<unreadable>";
    }
    return dir;
}

inline std::vector<std::string> Names(const zipfmt::ArchiveDirectory& dir) {
    std::vector<std::string> names;
    for (const auto& e : dir.entries) {
        names.push_back(e.name);
    }
    return names;
}

} // namespace enginetest
