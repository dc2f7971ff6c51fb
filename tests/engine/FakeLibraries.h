#pragma once
// Points the engine's library loading at the fake libraries of a chosen variant
// (bin/fakes/<variant>/) and records what the engine asked of the loader.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "tests/engine/fake/FakeControl.h"

class FakeLibraries {
public:
    explicit FakeLibraries(std::string variant = "full");
    ~FakeLibraries();
    FakeLibraries(const FakeLibraries&) = delete;
    FakeLibraries& operator=(const FakeLibraries&) = delete;

    // Later loads find this variant; an empty variant finds nothing.
    void Use(std::string variant) { variant_ = std::move(variant); }

    // The full variants' shared state. The fixture keeps them loaded, so the state
    // outlives each operation's own load and release.
    FakeLibraryState& Zip() { return *zipState_; }
    FakeLibraryState& Unz() { return *unzState_; }

    std::vector<std::string> loads;    // the file names the engine asked for
    std::vector<unsigned> errorModes;  // the error modes it set, in order
    std::vector<unsigned> modesAtLoad; // the error mode in force at each load
    int releases = 0;

private:
    std::string variant_;
    platform::LibraryFunctions previous_;
    std::uintptr_t zipHold_ = 0;
    std::uintptr_t unzHold_ = 0;
    FakeLibraryState* zipState_ = nullptr;
    FakeLibraryState* unzState_ = nullptr;
    unsigned mode_ = 0;
};

std::string FakeLibraryPath(const std::string& variant, const std::string& fileName);

// Sets a callback of the fake's script.
void Script(FakeLibraryState& state, std::initializer_list<FakeCallback> callbacks);
FakeCallback Record(std::int32_t action, std::int32_t error, std::int32_t size, const char* text);
