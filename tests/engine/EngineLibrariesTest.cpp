// Loading and releasing the engine libraries, with their messages and error mode.

#include <gtest/gtest.h>

#include "engine/EngineLibraries.h"
#include "engine/ZipEngine.h"
#include "tests/engine/FakeLibraries.h"
#include "tests/support/MessageRecorder.h"

namespace {

struct Kind {
    const char* file;
    const char* exec;
    const char* version;
    const char* loaded;
    bool zip;
};

const Kind kKinds[] = {
    {"ZIPDLL.DLL", "ZipDllExec", "GetZipDllVersion", "ZIP DLL Loaded", true},
    {"UNZDLL.DLL", "UnzDllExec", "GetUnzDllVersion", "UNZ DLL Loaded", false},
};

class LibraryLoading : public ::testing::TestWithParam<Kind> {
protected:
    void Load(TZipEngine& zip) { GetParam().zip ? zip.LoadZipLibrary() : zip.LoadUnzLibrary(); }
    void Unload(TZipEngine& zip) {
        GetParam().zip ? zip.UnloadZipLibrary() : zip.UnloadUnzLibrary();
    }
    EngineLibrary& Library() { return GetParam().zip ? ZipEngineLibrary() : UnzEngineLibrary(); }
};

TEST_P(LibraryLoading, MissingLibrarySaysSoEachTimeWithoutASystemDialog) {
    const Kind& kind = GetParam();
    FakeLibraries fakes("");
    MessageRecorder messages;
    TZipEngine zip;
    Load(zip);
    Load(zip);
    EXPECT_EQ(Library().handle, 0u);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{std::string(kind.file) + " not found",
                                                          std::string(kind.file) + " not found"}));
    EXPECT_EQ(fakes.loads, (std::vector<std::string>{kind.file, kind.file}));
    EXPECT_EQ(fakes.modesAtLoad, (std::vector<unsigned>{3, 3}));
    EXPECT_EQ(fakes.errorModes, (std::vector<unsigned>{3, 0, 3, 0}));
    // The process's own error mode is back to 0 as well.
    EXPECT_EQ(platform::PlatformLibraryFunctions().setErrorMode(0), 0u);
}

TEST_P(LibraryLoading, LoadsQuietlyUnlessTracing) {
    const Kind& kind = GetParam();
    FakeLibraries fakes;
    for (const bool trace : {false, true}) {
        MessageRecorder messages;
        TZipEngine zip;
        zip.Trace = trace;
        Load(zip);
        EXPECT_NE(Library().handle, 0u);
        EXPECT_NE(Library().exec, nullptr);
        EXPECT_NE(Library().version, nullptr);
        EXPECT_EQ(messages.Texts(),
                  trace ? std::vector<std::string>{kind.loaded} : std::vector<std::string>{});
        Unload(zip);
        EXPECT_EQ(Library().handle, 0u);
        Unload(zip); // releasing twice releases once
    }
    EXPECT_EQ(fakes.releases, 2);
}

TEST_P(LibraryLoading, MissingEntryPointsAreNamedAndTheLibraryStaysLoaded) {
    const Kind& kind = GetParam();
    const std::string in = std::string(" function not found in ") + kind.file;
    struct Variant {
        const char* name;
        std::vector<std::string> messages;
    };
    const Variant variants[] = {
        {"noexec", {kind.exec + in}},
        {"noversion", {kind.version + in}},
    };
    for (const Variant& v : variants) {
        FakeLibraries fakes(v.name);
        MessageRecorder messages;
        TZipEngine zip;
        Load(zip);
        EXPECT_NE(Library().handle, 0u) << v.name;
        EXPECT_EQ(messages.Texts(), v.messages) << v.name;
        EXPECT_EQ(fakes.errorModes, (std::vector<unsigned>{3, 0})) << v.name;
        Unload(zip);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, LibraryLoading, ::testing::ValuesIn(kKinds), [](const auto& info) {
    return std::string(info.param.zip ? "Zip" : "Unz");
});

} // namespace
