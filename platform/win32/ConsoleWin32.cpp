#include "platform/Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace platform {

void UseBinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
}

void WriteErrorLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

} // namespace platform
