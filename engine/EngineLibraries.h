#pragma once
// The two engine libraries, loaded at run time. Their state is process-wide: every
// engine component shares one handle per library.

#include <cstdint>

struct EngineLibrary {
    const char* fileName;      // "ZIPDLL.DLL"
    const char* execName;      // "ZipDllExec"
    const char* versionName;   // "GetZipDllVersion"
    const char* loadedMessage; // "ZIP DLL Loaded"
    std::uintptr_t handle = 0; // 0 while not loaded
    void* exec = nullptr;
    void* version = nullptr; // looked up, never called
};

EngineLibrary& ZipEngineLibrary();
EngineLibrary& UnzEngineLibrary();

// Loads the library by its bare file name and resolves both entry points, showing a
// message for whatever is missing. The process error mode is 3 around the load, so
// that a missing library raises no system dialog, and 0 afterwards.
void LoadEngineLibrary(EngineLibrary& library, bool trace);

// Releases the library if it is loaded.
void UnloadEngineLibrary(EngineLibrary& library);
