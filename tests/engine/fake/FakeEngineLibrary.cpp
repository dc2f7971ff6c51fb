// A stand-in for an engine library: records what it receives, plays a scripted
// series of callbacks, returns a chosen count, or faults on request. Built once per
// library kind and per missing entry point.

#include <algorithm>
#include <cstring>

#include "tests/engine/fake/FakeControl.h"

#if defined(_WIN32)
#define FAKE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

FakeLibraryState g_state = {0, kFakeNoFault, 0, 0, {}, 0, 0, {}, {}, {}, 0, {}, 0, {}, {}};

// A real access violation: the kind of fault a broken library causes. The address
// comes through a volatile, so that the compiler sees no constant to object to.
volatile std::uintptr_t g_nowhere = 16;
void Fault() {
    *reinterpret_cast<volatile int*>(g_nowhere) = 1;
}

template <std::size_t N> void CopyText(char (&to)[N], const char* from) {
    std::memset(to, 0, N);
    if (from != nullptr) {
        std::memcpy(to, from, static_cast<std::size_t>(std::find(from, from + N - 1, '\0') - from));
    }
}

template <typename Block>
std::int32_t Run(Block* block, std::size_t headerSize, std::int32_t count, char* const* specs) {
    FakeLibraryState& s = g_state;
    if (s.calls < 8) {
        s.specCountsPerCall[s.calls] = count;
    }
    ++s.calls;
    s.blockSize = static_cast<std::int32_t>(headerSize);
    std::memcpy(s.block, block, headerSize);
    CopyText(s.zipName, block->ZipFilename);
    CopyText(s.password, block->Password);
    s.specCount = count;
    for (std::int32_t i = 0; i < count && i < kFakeRecordedSpecs; ++i) {
        CopyText(s.specs[i], specs[i]);
    }
    s.answerCount = 0;
    for (std::int32_t i = 0; i <= s.callbackCount; ++i) {
        if (i == s.faultBefore) {
            Fault();
        }
        if (i == s.callbackCount) {
            break;
        }
        CallbackRecord record{};
        record.RecordSize = sizeof record;
        record.Caller = block->Caller;
        record.ActionCode = s.callbacks[i].action;
        record.ErrorCode = s.callbacks[i].error;
        record.FileSize = s.callbacks[i].size;
        std::memcpy(record.Text, s.callbacks[i].text, sizeof record.Text);
        const std::int32_t answer = block->Callback(&record);
        s.answers[s.answerCount++] = answer;
        if (answer == -1 && s.playPastStop == 0) {
            break; // asked to stop
        }
    }
    return s.result;
}

} // namespace

FAKE_EXPORT FakeLibraryState* ENGINE_CALL FakeState() {
    return &g_state;
}

#if defined(FAKE_ZIP)
#if !defined(FAKE_NO_EXEC)
FAKE_EXPORT std::int32_t ENGINE_CALL ZipDllExec(ZipCallBlock* block) {
    return Run(block, offsetof(ZipCallBlock, FileSpecs), block->SpecCount, block->FileSpecs);
}
#endif
#if !defined(FAKE_NO_VERSION)
FAKE_EXPORT std::int32_t ENGINE_CALL GetZipDllVersion() {
    return 100;
}
#endif
#else
#if !defined(FAKE_NO_EXEC)
FAKE_EXPORT std::int32_t ENGINE_CALL UnzDllExec(UnzCallBlock* block) {
    return Run(block, offsetof(UnzCallBlock, FileSpecs), block->SpecCount, block->FileSpecs);
}
#endif
#if !defined(FAKE_NO_VERSION)
FAKE_EXPORT std::int32_t ENGINE_CALL GetUnzDllVersion() {
    return 100;
}
#endif
#endif
