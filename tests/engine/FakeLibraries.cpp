#include "tests/engine/FakeLibraries.h"

#include <cstring>
#include <stdexcept>

#include "tests/support/ProgramFolder.h"

std::string FakeLibraryPath(const std::string& variant, const std::string& fileName) {
    return ProgramFolder() + "fakes/" + variant + "/" + fileName;
}

namespace {

FakeLibraryState* StateOf(const platform::LibraryFunctions& os, std::uintptr_t module) {
    const auto get = reinterpret_cast<FakeStateFunction>(os.symbol(module, "FakeState"));
    if (get == nullptr) {
        throw std::runtime_error("a fake library without FakeState");
    }
    FakeLibraryState* state = get();
    std::memset(state, 0, sizeof *state);
    state->faultBefore = kFakeNoFault;
    return state;
}

} // namespace

FakeLibraries::FakeLibraries(std::string variant) : variant_(std::move(variant)) {
    const platform::LibraryFunctions real = platform::PlatformLibraryFunctions();
    zipHold_ = real.load(FakeLibraryPath("full", "ZIPDLL.DLL").c_str());
    unzHold_ = real.load(FakeLibraryPath("full", "UNZDLL.DLL").c_str());
    if (zipHold_ <= 32 || unzHold_ <= 32) {
        throw std::runtime_error("fake libraries not found beside " + ProgramFolder());
    }
    zipState_ = StateOf(real, zipHold_);
    unzState_ = StateOf(real, unzHold_);
    previous_ = platform::SetLibraryFunctions({
        [this, real](const char* fileName) -> std::uintptr_t {
            loads.push_back(fileName);
            modesAtLoad.push_back(mode_);
            return variant_.empty() ? 0 : real.load(FakeLibraryPath(variant_, fileName).c_str());
        },
        real.symbol,
        [this, real](std::uintptr_t handle) {
            ++releases;
            real.release(handle);
        },
        [this, real](unsigned mode) {
            errorModes.push_back(mode);
            const unsigned previous = mode_;
            mode_ = mode;
            real.setErrorMode(mode);
            return previous;
        },
    });
}

FakeLibraries::~FakeLibraries() {
    platform::SetLibraryFunctions(previous_);
    const platform::LibraryFunctions real = platform::PlatformLibraryFunctions();
    real.release(zipHold_);
    real.release(unzHold_);
}

void Script(FakeLibraryState& state, std::initializer_list<FakeCallback> callbacks) {
    state.callbackCount = 0;
    for (const FakeCallback& c : callbacks) {
        state.callbacks[state.callbackCount++] = c;
    }
}

FakeCallback Record(std::int32_t action, std::int32_t error, std::int32_t size, const char* text) {
    FakeCallback c{action, error, size, {}};
    std::strncpy(c.text, text, sizeof c.text - 1);
    return c;
}
