#pragma once
// The commands of tarvox-cli. Each takes its parsed arguments and returns the process
// exit code.

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

// Done: every file or entry worked on without an error.
inline constexpr int kExitDone = 0;
// Something failed: any file or entry (bad data, refused name, missing password, a
// file that could not be read), a name that matched nothing, a damaged archive.
inline constexpr int kExitFailed = 1;
// Bad usage, or no such archive.
inline constexpr int kExitUsage = 2;

struct CommandLine;

int RunList(const CommandLine& line);
int RunAdd(const CommandLine& line);
int RunExtract(const CommandLine& line);
int RunDelete(const CommandLine& line);
int RunTest(const CommandLine& line);

// Counts the message boxes shown so far (they go to standard error here).
int MessagesShown();
