#include "tools/tarvox-cli/StoredNames.h"

#include <algorithm>

#include "platform/Console.h"

std::vector<std::string> StoredNameSpecs(const TZipEngine& zip,
                                         const std::vector<std::string>& names) {
    std::vector<std::string> specs;
    for (const std::string& name : names) {
        const std::size_t before = specs.size();
        for (const ZipDirEntry& entry : zip.Entries()) {
            if (entry.ShownName() == name &&
                std::find(specs.begin() + static_cast<std::ptrdiff_t>(before), specs.end(),
                          entry.FileName) == specs.end()) {
                specs.push_back(entry.FileName);
            }
        }
        if (specs.size() == before) {
            specs.push_back(platform::ProgramText(name));
        }
    }
    return specs;
}
