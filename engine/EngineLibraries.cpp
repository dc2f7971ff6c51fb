#include "engine/EngineLibraries.h"

#include <string>

#include "platform/DynamicLibrary.h"
#include "platform/Messages.h"

EngineLibrary& ZipEngineLibrary() {
    static EngineLibrary library{"ZIPDLL.DLL", "ZipDllExec", "GetZipDllVersion", "ZIP DLL Loaded"};
    return library;
}

EngineLibrary& UnzEngineLibrary() {
    static EngineLibrary library{"UNZDLL.DLL", "UnzDllExec", "GetUnzDllVersion", "UNZ DLL Loaded"};
    return library;
}

void LoadEngineLibrary(EngineLibrary& library, bool trace) {
    const platform::LibraryFunctions& os = platform::Libraries();
    os.setErrorMode(platform::kSemFailCriticalErrors | platform::kSemNoGpFaultErrorBox);
    library.handle = os.load(library.fileName);
    // Windows of old returned error codes up to 32 in place of a handle.
    if (library.handle <= 32) {
        library.handle = 0;
        platform::ShowMessage(std::string(library.fileName) + " not found");
    } else {
        if (trace) {
            platform::ShowMessage(library.loadedMessage);
        }
        library.exec = os.symbol(library.handle, library.execName);
        library.version = os.symbol(library.handle, library.versionName);
        const std::string notFoundIn = std::string(" function not found in ") + library.fileName;
        if (library.exec == nullptr) {
            platform::ShowMessage(library.execName + notFoundIn);
        }
        if (library.version == nullptr) {
            platform::ShowMessage(library.versionName + notFoundIn);
        }
    }
    os.setErrorMode(0);
}

void UnloadEngineLibrary(EngineLibrary& library) {
    if (library.handle != 0) {
        platform::Libraries().release(library.handle);
    }
    library.handle = 0;
}
