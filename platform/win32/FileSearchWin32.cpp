#include "platform/FileSearch.h"

#include <vector>
#include <windows.h>

namespace platform {

std::optional<std::uint64_t> FindFirstFileSize(const std::string& name) {
    const DWORD needed = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::nullopt;
    }
    std::vector<char> full(needed + 1);
    const DWORD length = ::GetFullPathNameA(name.c_str(), needed + 1, full.data(), nullptr);
    if (length == 0 || length > needed) {
        return std::nullopt;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(full.data(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    ::FindClose(search);
    return (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

} // namespace platform
