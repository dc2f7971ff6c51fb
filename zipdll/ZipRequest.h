#pragma once
// What a ZipDllExec call asks for, taken out of its call block: an add, or with the
// delete flag a delete of the entries named. Texts are read within their buffers and
// turned to UTF-8 paths, flags to booleans.

#include <string>
#include <vector>

#include "engineapi/CallBlocks.h"

namespace zipdll {

struct ZipRequest {
    std::string archive;               // UTF-8
    std::vector<std::string> specs;    // UTF-8, as given (empty ones dropped)
    std::vector<std::string> rawSpecs; // Windows-1252, as given: matched against stored names
    std::string password;              // bytes as given; empty: no encryption
    int level = 6;                     // clamped to 0..9
    bool remove = false;               // the delete flag
    bool verbose = false;
    bool encrypt = false;     // asked for; see password
    bool traditional = false; // the old encryption rather than AES-256
    bool hiddenFiles = false;
    bool keepFolders = true;
    bool recurse = false;
    bool dosNames = false;
    bool move = false;
    bool update = false;
    bool freshen = false;
    bool zipTime = false;
};

ZipRequest ReadZipRequest(const ZipCallBlock& block);

} // namespace zipdll
