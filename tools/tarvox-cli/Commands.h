#pragma once
// The commands of tarvox-cli. Each takes the arguments after its name and returns
// the process exit code: 0 done, 1 failed, 2 bad usage or no such archive.

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunList(const Arguments& args);
int RunAdd(const Arguments& args);
int RunExtract(const Arguments& args);
int RunDelete(const Arguments& args);
int RunTest(const Arguments& args);

// Counts the message boxes shown so far (they go to standard error here).
int MessagesShown();
