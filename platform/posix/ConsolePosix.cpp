#include "platform/Console.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

#include "util/Codepage.h"

namespace platform {

std::vector<std::string> ArgumentsUtf8(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::string ProgramText(const std::string& utf8) {
    return utf8;
}

void UseBinaryStandardOutput() {}

std::string ConsoleText(const std::string& utf8) {
    return utf8;
}

// Names from the file system are UTF-8 already; the program's own texts are not.
void WriteErrorText(const std::string& text) {
    const std::string utf8 = util::IsValidUtf8(text) ? text : util::Cp1252ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

void WriteErrorLine(const std::string& text) {
    WriteErrorText(text + "\n");
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

bool StandardInputIsTerminal() {
    return ::isatty(STDIN_FILENO) != 0;
}

std::optional<std::string> ReadHiddenLine(const std::string& prompt) {
    WriteErrorText(prompt);
    termios before{};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &before) == 0;
    if (terminal) {
        termios quiet = before;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    }
    WriteErrorText("\n"); // the Enter that was not shown
    if (!got) {
        return std::nullopt;
    }
    return line;
}

} // namespace platform
