#include "platform/DynamicLibrary.h"

#include <utility>

namespace platform {

namespace {
LibraryFunctions& Installed() {
    static LibraryFunctions functions = PlatformLibraryFunctions();
    return functions;
}
} // namespace

const LibraryFunctions& Libraries() {
    return Installed();
}

LibraryFunctions SetLibraryFunctions(LibraryFunctions functions) {
    if (!functions.load) {
        functions = PlatformLibraryFunctions();
    }
    return std::exchange(Installed(), std::move(functions));
}

} // namespace platform
