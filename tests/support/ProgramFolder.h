#pragma once

#include <string>

// The folder of the running test program, with a final separator.
std::string ProgramFolder();
