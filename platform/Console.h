#pragma once
// Standard streams of the command-line tool.

#include <string>

namespace platform {

// Standard output carries bytes as written: no CR is added before LF on Windows.
void UseBinaryStandardOutput();

// Writes a line of the program's own text (Windows-1252) to standard error, in the
// encoding the platform's terminals expect.
void WriteErrorLine(const std::string& text);

} // namespace platform
