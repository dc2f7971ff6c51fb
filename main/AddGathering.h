#pragma once
// The shell starts the "add" verb once for each selected item, each in a program of its
// own: the first of those started for one folder takes in the items of the others, so
// that a selection makes one archive.

#include <string>
#include <vector>

// What this program is to add: its own paths and those that the others started for the
// same folder within a moment handed over, or nothing when this program handed its
// paths to another. Paths are whole, as the shell gives them.
std::vector<std::string> GatherAddedPaths(const std::vector<std::string>& mine);
