#include "platform/FileSearch.h"

#include <sys/stat.h>

namespace platform {

// POSIX has no search by pattern here: the name is looked up as it stands.
std::optional<std::uint64_t> FindFirstFileSize(const std::string& name) {
    struct stat status {};
    if (name.empty() || ::stat(name.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

} // namespace platform
