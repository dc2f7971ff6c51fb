#pragma once
// What the engine libraries need of the file system, by UTF-8 path: facts about a
// path, folder listings, creating and removing, file times as DOS date-times.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileTime.h"

namespace platform {

// DOS attribute bits, as a zip entry's external attributes carry them.
inline constexpr std::uint8_t kDosReadOnly = 0x01;
inline constexpr std::uint8_t kDosHidden = 0x02;
inline constexpr std::uint8_t kDosSystem = 0x04;
inline constexpr std::uint8_t kDosDirectory = 0x10;
inline constexpr std::uint8_t kDosArchive = 0x20;

struct PathInfo {
    bool isDirectory = false;
    // Hidden or system (on POSIX: a name starting with a dot).
    bool hidden = false;
    bool readOnly = false;
    std::int64_t size = 0;
    std::uint32_t dosTime = 0; // local time; 1980-01-01 for anything earlier
    FileTimes times;
    std::uint8_t dosAttributes = 0;
};

// Nothing when the path does not exist. Symbolic links are followed.
std::optional<PathInfo> QueryPath(const std::string& path);

struct DirectoryItem {
    std::string name;
    bool isDirectory = false;
    bool isLink = false; // a link to a folder is not walked into
};

// The items of a folder without "." and ".."; nothing when it cannot be read.
std::optional<std::vector<DirectoryItem>> ListDirectory(const std::string& path);

// The current folder in UTF-8 (wide on Windows, whatever the ANSI code page).
std::string CurrentDirectoryUtf8();
bool IsAbsolutePath(const std::string& path);
// The path with every part by its long name: a program that cannot spell a name in its
// code page hands over the short one. The path as given when it cannot be resolved.
std::string LongPath(const std::string& path);
// The platform's preferred separator.
char PathSeparator();

// name inside folder, with one separator between them; name alone when folder is empty.
inline std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + PathSeparator() + name;
}

// Whether names that differ only in the case of ASCII letters name the same file.
bool NamesIgnoreCase();
// A name or path as the file system tells them apart: equal keys, one file. Where case
// does not count, letters of every script fold as the file system folds them.
std::string FileNameKey(std::string_view name);

bool RemoveFile(const std::string& path);
// Only an empty folder is removed.
bool RemoveEmptyDirectory(const std::string& path);
enum class FolderState { Made, Ready, Link, Failed };
// Creates one folder (Made), or finds a real one there (Ready). A symbolic link,
// junction or other reparse point at path is never followed: Link.
FolderState MakeDirectory(const std::string& path);
// Whether one part of a path is short enough for the file system to name (255
// UTF-16 units on Windows, 255 bytes elsewhere).
bool NameFitsFileSystem(const std::string& part);
bool SetPathDosTime(const std::string& path, std::uint32_t dosTime);

} // namespace platform
