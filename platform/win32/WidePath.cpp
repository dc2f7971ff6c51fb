#include "platform/win32/WidePath.h"

#include <optional>
#include <windows.h>

namespace platform {

std::wstring WidenUtf8(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

namespace {
// Every file function takes a path this long as it is; CreateDirectory's limit, MAX_PATH
// less room for an 8.3 name, is the lowest.
constexpr std::size_t kPlainLongest = MAX_PATH - 12 - 1;
} // namespace

std::wstring LongForm(std::wstring path) {
    const bool absolute = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    if ((absolute && path.size() <= kPlainLongest) || path.starts_with(L"\\\\?\\") ||
        path.starts_with(L"\\\\.\\")) {
        return path;
    }
    // The long form is taken as it stands: ".", ".." and "/" must be resolved first.
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        return path;
    }
    std::wstring full(n, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) {
        return path;
    }
    full.resize(got);
    if (full.size() <= kPlainLongest) {
        return path;
    }
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2); // \\server\share\...
    }
    return L"\\\\?\\" + full;
}

std::string NarrowToUtf8(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                          nullptr, nullptr);
    return utf8;
}

namespace {
constexpr UINT kWindows1252 = 1252;

// Nothing when a character has no place in the code page.
std::optional<std::string> ToCp1252(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    BOOL lost = FALSE;
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                        nullptr, 0, nullptr, &lost);
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide.data(), size, text.data(), n,
                          nullptr, &lost);
    if (lost) {
        return std::nullopt;
    }
    return text;
}
} // namespace

std::wstring WidenAnsi(const std::string& cp1252) {
    if (cp1252.empty()) {
        return {};
    }
    const int size = static_cast<int>(cp1252.size());
    const int n = ::MultiByteToWideChar(kWindows1252, 0, cp1252.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(kWindows1252, 0, cp1252.data(), size, wide.data(), n);
    return wide;
}

std::string AnsiPath(const std::wstring& path) {
    if (auto text = ToCp1252(path)) {
        return *text;
    }
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        if (auto text = ToCp1252(shortPath)) {
            return *text;
        }
    }
    BOOL lost = FALSE;
    const int size = static_cast<int>(path.size());
    const int n = ::WideCharToMultiByte(kWindows1252, 0, path.data(), size, nullptr, 0, "?", &lost);
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(kWindows1252, 0, path.data(), size, text.data(), n, "?", &lost);
    return text;
}

} // namespace platform
