#pragma once
// Programs the tests run for real, in a process of their own.

#include <string>
#include <vector>

// The path of a program built beside the running test program.
std::string ProgramBesideTests(const std::string& fileName);

// Runs the command line and returns the exit code, or -1 when it could not run or did
// not end within a minute (it is stopped then).
int RunAndWait(std::string commandLine);

// Starts every command line at once, then waits for all of them, as above.
std::vector<int> RunTogether(std::vector<std::string> commandLines);
