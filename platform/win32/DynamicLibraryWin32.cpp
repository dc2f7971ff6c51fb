#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace platform {

LibraryFunctions PlatformLibraryFunctions() {
    return {
        [](const char* fileName) {
            return reinterpret_cast<std::uintptr_t>(::LoadLibraryA(fileName));
        },
        [](std::uintptr_t handle, const char* name) {
            return reinterpret_cast<void*>(
                ::GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
        },
        [](std::uintptr_t handle) { ::FreeLibrary(reinterpret_cast<HMODULE>(handle)); },
        [](unsigned mode) { return static_cast<unsigned>(::SetErrorMode(mode)); },
    };
}

} // namespace platform
