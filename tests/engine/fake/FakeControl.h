#pragma once
// What a test tells a fake engine library to do, and what the fake saw. The fake
// exports FakeState(), which hands out its one instance of this record.

#include <cstdint>

#include "engineapi/CallBlocks.h"

extern "C" {

inline constexpr int kFakeMaxCallbacks = 16;
inline constexpr int kFakeRecordedSpecs = 8;
inline constexpr std::int32_t kFakeNoFault = -1;

struct FakeCallback {
    std::int32_t action;
    std::int32_t error;
    std::int32_t size;
    char text[kCallbackTextSize];
};

struct FakeLibraryState {
    // The script of the next calls.
    std::int32_t result;        // the count returned
    std::int32_t faultBefore;   // fault before playing this callback (callbackCount: after all)
    std::int32_t callbackCount; // callbacks played, in order, until one answers -1
    std::int32_t playPastStop;  // not 0: every callback is played, whatever the answers
    FakeCallback callbacks[kFakeMaxCallbacks];

    // What the last call received.
    std::int32_t calls;
    std::int32_t blockSize; // bytes of the block before its file-specification array
    unsigned char block[512];
    char zipName[kArchiveNameBufferSize];
    char password[kPasswordBufferSize];
    std::int32_t specCount;
    char specs[kFakeRecordedSpecs][kFileSpecBufferSize];
    std::int32_t answerCount;
    std::int32_t answers[kFakeMaxCallbacks];
    // How many calls each batch of a multi-call operation had.
    std::int32_t specCountsPerCall[8];
};

typedef FakeLibraryState*(ENGINE_CALL* FakeStateFunction)();
}
