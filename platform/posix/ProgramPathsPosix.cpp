#include "platform/ProgramPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include "util/Codepage.h"

namespace platform {

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string CurrentDirectory() {
    char path[4096];
    return ::getcwd(path, sizeof path) != nullptr ? std::string(path) : std::string();
}

bool ChangeCurrentDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string ProgramPath(const std::string& utf8) {
    return utf8;
}

std::string CallBlockPath(const std::string& path) {
    return util::Utf8ToCp1252(path).value_or(path);
}

} // namespace platform
