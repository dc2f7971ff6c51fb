#include "platform/FileSystem.h"

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/DosTimePosix.h"

namespace platform {

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::optional<PathInfo> QueryPath(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    PathInfo info;
    info.isDirectory = S_ISDIR(st.st_mode);
    const std::string name = BaseName(path);
    info.hidden = name.size() > 1 && name[0] == '.' && name != "..";
    // As on Windows, a file without its owner's write bit is read-only, also for root.
    info.readOnly = (st.st_mode & S_IWUSR) == 0;
    info.size = static_cast<std::int64_t>(st.st_size);
    info.dosTime = ToDosTime(st.st_mtime);
    info.times = {.modified = TicksOf(st.st_mtim),
                  .accessed = TicksOf(st.st_atim),
                  .created = TicksOf(st.st_mtim)}; // POSIX keeps no creation time
    info.dosAttributes = static_cast<std::uint8_t>(
        (info.isDirectory ? kDosDirectory : kDosArchive) | (info.readOnly ? kDosReadOnly : 0) |
        (info.hidden ? kDosHidden : 0));
    return info;
}

std::optional<std::vector<DirectoryItem>> ListDirectory(const std::string& path) {
    DIR* dir = ::opendir(path.empty() ? "." : path.c_str());
    if (!dir) {
        return std::nullopt;
    }
    std::vector<DirectoryItem> items;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        DirectoryItem item;
        item.name = name;
        const std::string full = path.empty() ? name : path + "/" + name;
        struct stat st {};
        if (::lstat(full.c_str(), &st) != 0) {
            continue;
        }
        if (S_ISLNK(st.st_mode)) {
            item.isLink = true;
            if (::stat(full.c_str(), &st) != 0) {
                continue; // a dangling link names nothing to add
            }
        }
        item.isDirectory = S_ISDIR(st.st_mode);
        if (!item.isDirectory && !S_ISREG(st.st_mode)) {
            continue; // devices, sockets and pipes have no content to store
        }
        items.push_back(std::move(item));
    }
    ::closedir(dir);
    return items;
}

std::string CurrentDirectoryUtf8() {
    std::string buffer(4096, '\0');
    if (!::getcwd(buffer.data(), buffer.size())) {
        return ".";
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

std::string LongPath(const std::string& path) {
    return path; // no short names here
}

bool IsAbsolutePath(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

char PathSeparator() {
    return '/';
}

bool NamesIgnoreCase() {
    return false;
}

std::string FileNameKey(std::string_view name) {
    return std::string(name);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool RemoveEmptyDirectory(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

FolderState MakeDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        return FolderState::Made;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return FolderState::Failed;
    }
    if (S_ISLNK(st.st_mode)) {
        return FolderState::Link;
    }
    return S_ISDIR(st.st_mode) ? FolderState::Ready : FolderState::Failed;
}

bool NameFitsFileSystem(const std::string& part) {
    return part.size() <= NAME_MAX;
}

bool SetPathDosTime(const std::string& path, std::uint32_t dosTime) {
    const timespec times[2] = {{0, UTIME_NOW}, {FromDosTime(dosTime), 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

} // namespace platform
