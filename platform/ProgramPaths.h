#pragma once
// Paths in the program's own code page (Windows-1252 under Windows, UTF-8 natively):
// what the windows, the engine component and tarvox-cli's arguments hold. The engine
// libraries name files in UTF-8 instead, through FileSystem.h; the two meet only
// through the conversions at the end of this file.

#include <string>

namespace platform {

// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);

// True when path names an existing folder.
bool DirectoryExists(const std::string& path);

// The process's current directory; changing it returns false when refused.
std::string CurrentDirectory();
bool ChangeCurrentDirectory(const std::string& path);

// A UTF-8 path as the functions above take it: itself on POSIX; on Windows in the
// program's code page, by its short name where the code page lacks a character.
std::string ProgramPath(const std::string& utf8);

// A path of the program as the engine libraries' call blocks take it, in Windows-1252:
// itself on Windows; on POSIX, where the system's names are UTF-8, converted when the
// code page can spell it.
std::string CallBlockPath(const std::string& path);

} // namespace platform
