#include <windows.h>

#include "platform/CodePages.h"
#include "platform/win32/WidePath.h"

namespace platform {

CodePageReader::CodePageReader(unsigned codePage) : codePage_(codePage) {}

CodePageReader::~CodePageReader() = default;

bool CodePageReader::Known() const {
    return ::IsValidCodePage(codePage_) != FALSE;
}

std::string CodePageReader::ToUtf8(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    // Bytes that start no character come back as the code page's default, U+FFFD
    // for the double-byte ones.
    const int wideLength = ::MultiByteToWideChar(codePage_, 0, bytes.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        std::string out;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out += "\xEF\xBF\xBD";
        }
        return out;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage_, 0, bytes.data(), length, wide.data(), wideLength);
    return NarrowToUtf8(wide);
}

} // namespace platform
