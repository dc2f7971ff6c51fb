#include "platform/Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/WidePath.h"
#include "util/Codepage.h"

namespace platform {

std::vector<std::string> ArgumentsUtf8(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.push_back(NarrowToUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return args;
}

std::string ProgramText(const std::string& utf8) {
    return util::Utf8ToCp1252Lossy(utf8);
}

void UseBinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string ConsoleText(const std::string& utf8) {
    const std::wstring wide = WidenUtf8(utf8);
    if (wide.empty()) {
        return {};
    }
    // No console (output to a pipe or file): read as a console's text would be.
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = ::GetOEMCP();
    }
    const int size = static_cast<int>(wide.size());
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int n =
        ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, fallback, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), n, fallback, nullptr);
    return text;
}

void WriteErrorText(const std::string& text) {
    const std::string shown =
        ConsoleText(util::IsValidUtf8(text) ? text : util::Cp1252ToUtf8(text));
    std::fwrite(shown.data(), 1, shown.size(), stderr);
}

void WriteErrorLine(const std::string& text) {
    WriteErrorText(text + "\n");
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

bool StandardInputIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

std::optional<std::string> ReadHiddenLine(const std::string& prompt) {
    WriteErrorText(prompt);
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD before = 0;
    if (!::GetConsoleMode(input, &before)) {
        return std::nullopt;
    }
    ::SetConsoleMode(input, (before & ~ENABLE_ECHO_INPUT) | ENABLE_LINE_INPUT);
    std::wstring line;
    wchar_t buffer[256];
    DWORD read = 0;
    bool ended = false;
    while (!ended && ::ReadConsoleW(input, buffer, 256, &read, nullptr) && read > 0) {
        for (DWORD i = 0; i < read && !ended; ++i) {
            if (buffer[i] == L'\r' || buffer[i] == L'\n') {
                ended = true;
            } else {
                line += buffer[i];
            }
        }
    }
    ::SetConsoleMode(input, before);
    WriteErrorText("\n"); // the Enter that was not shown
    if (!ended && line.empty()) {
        return std::nullopt;
    }
    return ProgramText(NarrowToUtf8(line));
}

} // namespace platform
