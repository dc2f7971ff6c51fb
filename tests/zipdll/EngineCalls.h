#pragma once
// Test side of the engine libraries: loads ZIPDLL.DLL and UNZDLL.DLL from the
// test program's own folder, fills call blocks, records every callback.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace enginetest {

struct Record {
    std::int32_t action = 0;
    std::int32_t code = 0;
    std::int32_t size = 0;
    std::string text; // Windows-1252, as the library sent it
};

struct Call {
    std::string archive; // Windows-1252
    std::vector<std::string> specs;
    std::string password;
    std::int32_t level = 6;
    bool traditional = false; // the old encryption rather than AES-256
    bool encrypt = false, hidden = false, dirNames = false, recurse = false, dosNames = false,
         move = false, update = false, freshen = false, zipTime = false, overwrite = false,
         test = false, verbose = false, trace = false;
    // A careless caller: this count in place of the specifications' number, or no
    // call block at all.
    std::optional<std::int32_t> specCount;
    bool noBlock = false;
    // Called with each record; answers what the callback returns (0 go on, -1 stop).
    std::function<std::int32_t(const Record&)> answer;
};

struct Result {
    std::int32_t count = 0;
    std::vector<Record> records;

    // The error codes of the failure messages, in order.
    std::vector<std::int32_t> ErrorCodes() const;
    std::vector<std::int32_t> Actions() const;
};

Result Add(const Call& call);
Result Delete(const Call& call);
Result Extract(const Call& call);

std::int32_t ZipVersion();
std::int32_t UnzVersion();

} // namespace enginetest
