#pragma once
// The folders an extraction writes into below its base folder. Each is made, or found
// to be a real folder, once per call: most entries share their folders, and asking the
// file system again for every file costs more than writing small files. A link found
// on the way is never followed, so nothing lands outside the base folder through one.

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/FileSystem.h"

namespace unzdll {

class OutputFolders {
public:
    // Makes parts (outermost first) below the base folder; made gets each folder this
    // call created. path is the folder reached, or, when not Ready, the one that is a
    // link or could not be made.
    platform::FolderState Make(const std::vector<std::string>& parts, std::string& path,
                               std::vector<std::string>& made);
    // True when every folder of parts is known to be there.
    bool Known(const std::vector<std::string>& parts) const;

private:
    std::unordered_set<std::string> ready_; // every folder above one here is in it too
};

} // namespace unzdll
