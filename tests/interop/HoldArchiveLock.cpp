// Holds one of an archive's locks for a while, as another program of ours would:
//   hold_archive_lock ARCHIVE writing|reading SECONDS
// Prints "held" once it has the lock; exits 1 when another holds it.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ArchiveLock.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: hold_archive_lock ARCHIVE writing|reading SECONDS\n", stderr);
        return 2;
    }
    const std::string access = argv[2];
    const auto lock = platform::ArchiveLock::Acquire(
        argv[1],
        access == "reading" ? platform::ArchiveAccess::Reading : platform::ArchiveAccess::Writing,
        std::chrono::milliseconds(0), {}, {});
    if (!lock) {
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[3])));
    return 0;
}
