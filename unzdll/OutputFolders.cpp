#include "unzdll/OutputFolders.h"

namespace unzdll {

namespace {

// The path of parts, and where each folder on the way ends in it.
std::string JoinParts(const std::vector<std::string>& parts, std::vector<std::size_t>* ends) {
    std::string path;
    for (const std::string& part : parts) {
        if (!path.empty()) {
            path += platform::PathSeparator();
        }
        path += part;
        if (ends) {
            ends->push_back(path.size());
        }
    }
    return path;
}

} // namespace

platform::FolderState OutputFolders::Make(const std::vector<std::string>& parts, std::string& path,
                                          std::vector<std::string>& made) {
    std::vector<std::size_t> ends;
    path = JoinParts(parts, &ends);
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
        if (state == platform::FolderState::Made) {
            made.push_back(path);
        } else if (state != platform::FolderState::Ready) {
            return state;
        }
        ready_.insert(path);
    }
    return platform::FolderState::Ready;
}

bool OutputFolders::Known(const std::vector<std::string>& parts) const {
    const std::string path = JoinParts(parts, nullptr);
    return path.empty() || ready_.contains(path);
}

} // namespace unzdll
