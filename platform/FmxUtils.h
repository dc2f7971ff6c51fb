#pragma once
// Shared file helpers of the windows: a file's size by name, and handing a file to the
// shell.

#include <cstdint>
#include <string>

namespace platform {

// The size of the first file a search for the name finds (the name expanded against
// the current directory, every attribute accepted), as the low 32 bits read signed;
// -1 when nothing is found.
std::int32_t FileSizeByName(const std::string& name);

// The same search, giving the whole size; -1 when nothing is found.
std::int64_t FileSize64ByName(const std::string& name);

// Hands a file, program or address to the shell's default action, owned by the
// application's main window. Empty texts go as empty strings; every text goes whole,
// however long. Returns the shell's result (greater than 32 on success).
std::intptr_t LaunchFile(const std::string& file, const std::string& parameters,
                         const std::string& directory, int showCommand);

} // namespace platform
