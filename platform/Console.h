#pragma once
// Standard streams and the command line of the command-line tool.

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The arguments after the program's name in UTF-8; on Windows read wide, so that no
// character is lost to the ANSI code page.
std::vector<std::string> ArgumentsUtf8(int argc, char** argv);

// UTF-8 text in the program's own code page: itself on POSIX; Windows-1252 on Windows,
// "?" for what it lacks.
std::string ProgramText(const std::string& utf8);

// Standard output carries bytes as written: no CR is added before LF on Windows.
void UseBinaryStandardOutput();

// UTF-8 text in the encoding standard output is read in: itself on POSIX; on Windows
// the console's code page (the OEM one without a console), "?" for what it lacks.
std::string ConsoleText(const std::string& utf8);

// Writes text to standard error in the encoding the platform's terminals expect. The
// text is UTF-8, or else the program's own Windows-1252.
void WriteErrorText(const std::string& text);
void WriteErrorLine(const std::string& text);

bool StandardErrorIsTerminal();
bool StandardInputIsTerminal();

// Asks on standard error and reads one line from the terminal without showing it; the
// line in the program's own code page, or nothing at the end of input.
std::optional<std::string> ReadHiddenLine(const std::string& prompt);

} // namespace platform
