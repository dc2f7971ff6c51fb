#pragma once
// The dynamic-library seam: LoadLibraryA, GetProcAddress, FreeLibrary and SetErrorMode
// on Windows, dlopen and dlsym natively. Tests replace it to record the calls or to
// hand out a library of their choosing.

#include <cstdint>
#include <functional>

namespace platform {

struct LibraryFunctions {
    // A module handle; 32 or less means the library could not be loaded.
    std::function<std::uintptr_t(const char* fileName)> load;
    std::function<void*(std::uintptr_t handle, const char* name)> symbol;
    std::function<void(std::uintptr_t handle)> release;
    // Sets the process error mode and returns the previous one.
    std::function<unsigned(unsigned mode)> setErrorMode;
};

// The platform's own functions. Natively a bare file name is looked for beside the
// running program first, as Windows does; the error mode is only remembered.
LibraryFunctions PlatformLibraryFunctions();

// The functions in force; installing an empty set restores the platform's own.
const LibraryFunctions& Libraries();
LibraryFunctions SetLibraryFunctions(LibraryFunctions functions);

// SetErrorMode's flags: no critical-error box, no fault box.
inline constexpr unsigned kSemFailCriticalErrors = 0x0001;
inline constexpr unsigned kSemNoGpFaultErrorBox = 0x0002;

} // namespace platform
