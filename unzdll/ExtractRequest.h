#pragma once
// What an UnzDllExec call asks for, taken out of its call block.

#include <string>
#include <vector>

#include "engineapi/CallBlocks.h"

namespace unzdll {

struct ExtractRequest {
    std::string archive;            // UTF-8
    std::vector<std::string> specs; // Windows-1252, as given: matched against stored names
    std::string password;
    bool verbose = false;
    bool test = false;
    bool update = false;
    bool freshen = false;
    bool keepFolders = false;
    bool overwrite = false;
    unsigned namesCodePage = 0; // 0: detected from the names
};

ExtractRequest ReadExtractRequest(const UnzCallBlock& block);

} // namespace unzdll
