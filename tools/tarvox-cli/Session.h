#pragma once
// One engine component with the handlers a terminal needs: library messages and a
// progress line on standard error.

#include <string>

#include "engine/ZipEngine.h"

class Session {
public:
    Session();

    // Opens the archive; false (with the error on standard error) when it is damaged.
    bool Open(const std::string& archive);

    // Runs one operation; true when the library call was made and reported a
    // positive count without the engine complaining.
    bool Succeeds(void (TZipEngine::*operation)());

    TZipEngine zip;

private:
    bool progressLine_ = false;
};
