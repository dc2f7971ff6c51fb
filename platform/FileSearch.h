#pragma once
// Looking a name up in the file system as a directory search does.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Expands the name against the current directory and returns the size of the first
// entry that a search for it finds, whatever its attributes (folders, hidden and
// system files included); nothing when none is found. On Windows the name may hold
// wildcards.
std::optional<std::uint64_t> FindFirstFileSize(const std::string& name);

} // namespace platform
