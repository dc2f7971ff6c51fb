#pragma once
// UTF-8 paths of the engine libraries as the wide strings Win32 takes, and back.

#include <string>

namespace platform {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

} // namespace platform
