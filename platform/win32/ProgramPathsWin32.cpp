#include "platform/ProgramPaths.h"

#include <windows.h>

#include "platform/win32/WidePath.h"

namespace platform {

bool FileExists(const std::string& path) {
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentDirectory() {
    char path[MAX_PATH + 1];
    const DWORD length = ::GetCurrentDirectoryA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

bool ChangeCurrentDirectory(const std::string& path) {
    return ::SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string ProgramPath(const std::string& utf8) {
    return AnsiPath(WidenUtf8(utf8));
}

std::string CallBlockPath(const std::string& path) {
    return path;
}

} // namespace platform
