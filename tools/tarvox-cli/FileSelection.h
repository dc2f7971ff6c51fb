#pragma once
// What an add hands the engine when some files are to be left out.

#include <string>
#include <vector>

// The paths to add (UTF-8) without those whose path, as typed below its argument, or
// own name matches one of the patterns ("*" and "?"; "*" crosses folders). A folder
// with nothing left out goes whole, for the library to walk; one with something left
// out goes by its items.
std::vector<std::string> SelectFiles(const std::vector<std::string>& paths,
                                     const std::vector<std::string>& excluded);
