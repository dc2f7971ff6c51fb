#pragma once
// One engine component with the handlers a terminal needs: library messages and a
// progress line on standard error.

#include <string>

#include "engine/ZipEngine.h"

class Session {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the archive, named in UTF-8; false (with the error on standard error) when
    // it is not an archive, or damaged unless the operation reads what a damaged one
    // still holds (extract and test).
    enum class Damaged { Refused, Read };
    bool Open(const std::string& archive, Damaged damaged = Damaged::Refused);

    // Runs one operation; true when the library call was made and reported a positive
    // count with no error, neither for the whole call nor for any file or entry.
    bool Succeeds(void (TZipEngine::*operation)());

    TZipEngine zip;

private:
    void EndProgressLine();

    bool progressLine_ = false;
    int errors_ = 0;
};
