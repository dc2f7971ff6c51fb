// libFuzzer target: the walk over local file headers that lists an archive, by the
// engine component's rules and by the stand-alone reader's, from offset 0 and 14000.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "engine/DirectoryWalk.h"
#include "util/Codepage.h"

namespace {

int MemoryFile() {
    static const int fd = ::memfd_create("walk", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = MemoryFile();
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    const auto file = platform::FileHandle::OpenUtf8("/proc/self/fd/" + std::to_string(fd),
                                                     platform::FileHandle::Sharing::DenyWrite);
    if (!file) {
        std::abort();
    }
    for (const DirectoryWalkRules* rules : {&kEngineWalkRules, &kStandaloneWalkRules}) {
        for (const std::int64_t start : {std::int64_t{0}, std::int64_t{14000}}) {
            std::vector<ZipDirEntry> entries;
            try {
                WalkLocalHeaders(*file, start, *rules, entries);
            } catch (const DirectoryWalkError&) {
            }
            // Every entry has a header of at least 30 bytes of its own.
            if (entries.size() > size / 30 + 1) {
                std::abort();
            }
            // Whatever the bytes, the shown names are text the window can show.
            for (const ZipDirEntry& entry : entries) {
                if (!util::IsValidUtf8(entry.ShownName())) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
