#pragma once
// Standard streams of the command-line tool.

#include <string>

namespace platform {

// Standard output carries bytes as written: no CR is added before LF on Windows.
void UseBinaryStandardOutput();

// Writes text to standard error in the encoding the platform's terminals expect:
// the program's own texts are Windows-1252, file names are the system's.
void WriteErrorText(const std::string& text);
void WriteErrorLine(const std::string& text);

bool StandardErrorIsTerminal();

} // namespace platform
