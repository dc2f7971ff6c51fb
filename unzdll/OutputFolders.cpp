#include "unzdll/OutputFolders.h"

namespace unzdll {

platform::FolderState OutputFolders::Make(const std::vector<std::string>& parts,
                                          std::string& path) {
    std::vector<std::size_t> ends; // where each folder on the way ends in the whole path
    path.clear();
    for (const std::string& part : parts) {
        if (!path.empty()) {
            path += platform::PathSeparator();
        }
        path += part;
        ends.push_back(path.size());
    }
    if (path.empty() || ready_.contains(path)) {
        return platform::FolderState::Ready;
    }
    const std::string whole = path;
    for (const std::size_t end : ends) {
        path = whole.substr(0, end);
        if (ready_.contains(path)) {
            continue;
        }
        const platform::FolderState state = platform::MakeDirectory(path);
        if (state != platform::FolderState::Ready) {
            return state;
        }
        ready_.insert(path);
    }
    return platform::FolderState::Ready;
}

} // namespace unzdll
