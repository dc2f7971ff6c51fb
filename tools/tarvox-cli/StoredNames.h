#pragma once
// Names of entries given on the command line, as the engine takes them.

#include <string>
#include <vector>

#include "engine/ZipEngine.h"

// A name as list prints it becomes the stored names of its entries, so that every
// entry can be named whatever code page its name is in; any other name (a stored name,
// a pattern) goes as typed.
std::vector<std::string> StoredNameSpecs(const TZipEngine& zip,
                                         const std::vector<std::string>& names);
