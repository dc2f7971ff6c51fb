#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/DosTimeWin32.h"
#include "platform/win32/WidePath.h"
#include "util/AsciiCase.h"

namespace platform {

std::optional<PathInfo> QueryPath(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() ||
        !::GetFileAttributesExW(WideFilePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    PathInfo info;
    const DWORD a = data.dwFileAttributes;
    info.isDirectory = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.hidden = (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    info.readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    info.size = static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    info.dosTime = ToDosTime(data.ftLastWriteTime);
    info.times = {.modified = TicksOf(data.ftLastWriteTime),
                  .accessed = TicksOf(data.ftLastAccessTime),
                  .created = TicksOf(data.ftCreationTime)};
    info.dosAttributes = static_cast<std::uint8_t>(a & 0x37);
    return info;
}

std::optional<std::vector<DirectoryItem>> ListDirectory(const std::string& path) {
    WIN32_FIND_DATAW found{};
    const std::string pattern = (path.empty() ? std::string(".") : path) + "\\*";
    HANDLE search = ::FindFirstFileW(WideFilePath(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND
                   ? std::optional<std::vector<DirectoryItem>>(std::vector<DirectoryItem>{})
                   : std::nullopt;
    }
    std::vector<DirectoryItem> items;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        DirectoryItem item;
        item.name = NarrowToUtf8(name);
        item.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        item.isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        items.push_back(std::move(item));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return items;
}

std::string CurrentDirectoryUtf8() {
    const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring buffer(n, L'\0');
    const DWORD got = ::GetCurrentDirectoryW(n, buffer.data());
    buffer.resize(got);
    return NarrowToUtf8(buffer);
}

std::string LongPath(const std::string& path) {
    const std::wstring wide = WidenUtf8(path);
    const DWORD n = ::GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (n == 0) {
        return path;
    }
    std::wstring buffer(n, L'\0');
    const DWORD got = ::GetLongPathNameW(wide.c_str(), buffer.data(), n);
    if (got == 0 || got >= n) {
        return path;
    }
    buffer.resize(got);
    return NarrowToUtf8(buffer);
}

bool IsAbsolutePath(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') ||
           (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

char PathSeparator() {
    return '\\';
}

bool NamesIgnoreCase() {
    return true;
}

std::string FileNameKey(std::string_view name) {
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
        return util::AsciiUpper(name); // most names, without two conversions
    }
    const std::wstring wide = WidenUtf8(std::string(name));
    const int count = static_cast<int>(wide.size());
    std::wstring upper(wide.size(), L'\0');
    // The invariant upper case, one unit for one, is how the file system folds names:
    // no locale's rules (no Turkish dotted I), no letter growing into two.
    if (count == 0 || ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(), count,
                                      upper.data(), count, nullptr, nullptr, 0) != count) {
        return util::AsciiUpper(name);
    }
    return NarrowToUtf8(upper);
}

bool RemoveFile(const std::string& path) {
    const std::wstring wide = WideFilePath(path);
    // A moved file that is read-only is still the user's wish to move.
    const DWORD a = ::GetFileAttributesW(wide.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(wide.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
    }
    return ::DeleteFileW(wide.c_str()) != 0;
}

bool RemoveEmptyDirectory(const std::string& path) {
    return ::RemoveDirectoryW(WideFilePath(path).c_str()) != 0;
}

FolderState MakeDirectory(const std::string& path) {
    const std::wstring wide = WideFilePath(path);
    if (::CreateDirectoryW(wide.c_str(), nullptr)) {
        return FolderState::Made;
    }
    // The attributes of a link itself, not of what it names.
    const DWORD a = ::GetFileAttributesW(wide.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        return FolderState::Failed;
    }
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
        return FolderState::Link;
    }
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? FolderState::Ready : FolderState::Failed;
}

bool NameFitsFileSystem(const std::string& part) {
    constexpr std::size_t kLongestName = 255; // NTFS, FAT32 and exFAT alike
    return WidenUtf8(part).size() <= kLongestName;
}

bool SetPathDosTime(const std::string& path, std::uint32_t dosTime) {
    FILETIME when{};
    if (!FromDosTime(dosTime, when)) {
        return false;
    }
    HANDLE h = ::CreateFileW(WideFilePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool done = ::SetFileTime(h, nullptr, nullptr, &when) != 0;
    ::CloseHandle(h);
    return done;
}

} // namespace platform
