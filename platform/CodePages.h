#pragma once
// Text in a Windows code page read into UTF-8 through the system's own tables.

#include <string>
#include <string_view>

namespace platform {

class CodePageReader {
public:
    explicit CodePageReader(unsigned codePage);
    ~CodePageReader();
    CodePageReader(const CodePageReader&) = delete;
    CodePageReader& operator=(const CodePageReader&) = delete;

    // False when the system lacks the code page; every text then reads as U+FFFD.
    bool Known() const;

    // The UTF-8 form of bytes in the code page; a byte that starts no character of it
    // becomes U+FFFD.
    std::string ToUtf8(std::string_view bytes);

private:
    [[maybe_unused]] unsigned codePage_; // the Windows side's; iconv keeps its own
    void* converter_ = nullptr;          // the POSIX side's iconv descriptor
};

} // namespace platform
