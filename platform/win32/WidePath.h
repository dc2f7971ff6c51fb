#pragma once
// Paths as the wide strings Win32 takes, and back: UTF-8 paths (the engine libraries') and
// Windows-1252 ones (the program's windows') each by functions of their own, so that the
// two encodings are never mixed by an overload.

#include <string>

namespace platform {

std::wstring WidenUtf8(const std::string& utf8);

// A path as the file functions take it: one that is long once made absolute gets the
// "\\?\" form, through which Windows reaches past MAX_PATH characters; others stay
// as they are.
std::wstring LongForm(std::wstring path);
// A UTF-8 path for the file functions (LongForm).
inline std::wstring WideFilePath(const std::string& utf8) {
    return LongForm(WidenUtf8(utf8));
}
std::string NarrowToUtf8(const std::wstring& wide);

// Windows-1252 text, as the program's windows take it, and back.
std::wstring WidenAnsi(const std::string& cp1252);
// A path in Windows-1252; one with a character the code page lacks is given through
// the file's short name, which every program can open ("?" in its place when the file
// has none).
std::string AnsiPath(const std::wstring& path);

} // namespace platform
