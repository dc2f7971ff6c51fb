#include "platform/Console.h"

#include <cstdio>

#include "util/Codepage.h"

namespace platform {

void UseBinaryStandardOutput() {}

void WriteErrorLine(const std::string& text) {
    const std::string line = util::Cp1252ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace platform
