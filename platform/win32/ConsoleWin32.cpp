#include "platform/Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace platform {

void UseBinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
}

void WriteErrorText(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void WriteErrorLine(const std::string& text) {
    WriteErrorText(text + "\n");
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace platform
