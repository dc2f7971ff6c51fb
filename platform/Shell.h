#pragma once
// The shell-execute seam: hands a file, program or address to the Windows shell. The
// program calls ShellExecuteA; tests install a recorder; without a shell (the native
// build) every request fails as "no association".

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShow = 5;
// What ShellExecuteA returns when no program is associated with the file.
inline constexpr std::intptr_t kSeErrNoAssoc = 31;

struct ShellExecuteRequest {
    std::uintptr_t owner = 0;        // a window handle, 0 for none
    std::optional<std::string> verb; // none: the shell's default action
    std::string file;
    std::string parameters; // passed as "" when empty, never as a null pointer
    std::string directory;  // likewise
    int showCommand = kSwShow;
};

// ShellExecuteA's result: greater than 32 on success.
using ShellExecuteHandler = std::function<std::intptr_t(const ShellExecuteRequest&)>;

std::intptr_t ExecuteThroughShell(const ShellExecuteRequest& request);

// Installs a handler (an empty one restores the platform's own) and returns the previous.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);

// The application's main window, owner of what the shell starts for it; 0 until set.
void SetApplicationWindow(std::uintptr_t window);
std::uintptr_t ApplicationWindow();

} // namespace platform
