#pragma once
// UTF-8 paths of the engine libraries as the wide strings Win32 takes, and back.

#include <string>

namespace platform {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

// Windows-1252 text, as the program's windows take it, and back.
std::wstring WidenAnsi(const std::string& cp1252);
// A path in Windows-1252; one with a character the code page lacks is given through
// the file's short name, which every program can open ("?" in its place when the file
// has none).
std::string AnsiPath(const std::wstring& path);

} // namespace platform
