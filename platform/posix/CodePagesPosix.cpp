#include <cerrno>
#include <iconv.h>

#include "platform/CodePages.h"

namespace platform {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD"; // U+FFFD
const auto kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t AsConverter(void* converter) {
    return converter == nullptr ? kNoConverter : static_cast<iconv_t>(converter);
}

} // namespace

CodePageReader::CodePageReader(unsigned codePage) : codePage_(codePage) {
    const std::string name = codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
    const iconv_t converter = ::iconv_open("UTF-8", name.c_str());
    converter_ = converter == kNoConverter ? nullptr : converter;
}

CodePageReader::~CodePageReader() {
    if (converter_ != nullptr) {
        ::iconv_close(AsConverter(converter_));
    }
}

bool CodePageReader::Known() const {
    return converter_ != nullptr;
}

std::string CodePageReader::ToUtf8(std::string_view bytes) {
    std::string out;
    if (converter_ == nullptr) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out += kReplacement;
        }
        return out;
    }
    const iconv_t converter = AsConverter(converter_);
    ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    // A double-byte code page needs at most three UTF-8 bytes for each byte it takes.
    out.resize(bytes.size() * 3 + 4);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* to = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = ::iconv(converter, &in, &inLeft, &to, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // A byte that starts no character, or a character cut by the end: one U+FFFD.
        if (out.size() - written < sizeof kReplacement) {
            out.resize(out.size() * 2);
        }
        out.replace(written, sizeof kReplacement - 1, kReplacement);
        written += sizeof kReplacement - 1;
        ++in;
        --inLeft;
        ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(written);
    return out;
}

} // namespace platform
