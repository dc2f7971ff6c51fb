#include "platform/FileSearch.h"

#include <vector>
#include <windows.h>

#include "platform/win32/WidePath.h"

namespace platform {

std::optional<std::uint64_t> FindFirstFileSize(const std::string& name) {
    const std::wstring wide = WidenAnsi(name);
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::nullopt;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return std::nullopt;
    }
    full.resize(length);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(LongForm(full).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    ::FindClose(search);
    return (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

} // namespace platform
