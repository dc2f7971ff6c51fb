#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

std::string ProgramFolder() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return {};
    }
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.find_last_of('/') + 1);
}

unsigned g_errorMode = 0;

} // namespace

LibraryFunctions PlatformLibraryFunctions() {
    return {
        [](const char* fileName) {
            void* handle = nullptr;
            if (std::string(fileName).find('/') == std::string::npos) {
                handle = ::dlopen((ProgramFolder() + fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
            }
            if (handle == nullptr) {
                handle = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
            }
            return reinterpret_cast<std::uintptr_t>(handle);
        },
        [](std::uintptr_t handle, const char* name) {
            return ::dlsym(reinterpret_cast<void*>(handle), name);
        },
        [](std::uintptr_t handle) { ::dlclose(reinterpret_cast<void*>(handle)); },
        [](unsigned mode) {
            const unsigned previous = g_errorMode;
            g_errorMode = mode;
            return previous;
        },
    };
}

} // namespace platform
