// libFuzzer target: an archive in memory read the way the engine libraries read one,
// through its end record and central directory, each entry's name and local header,
// and its data, inflated and decrypted, to the end.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/MemoryArchive.h"
#include "util/Codepage.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntryPaths.h"
#include "zipformat/EntryReader.h"
#include "zipformat/EntrySelector.h"
#include "zipformat/LocalHeader.h"

namespace {

// A place that SafeOutputPath accepted must stay below the current folder.
void CheckInside(const zipfmt::OutputPath& out) {
    std::vector<std::string> parts = out.folders;
    if (!out.leaf.empty()) {
        parts.push_back(out.leaf);
    }
    for (const std::string& part : parts) {
        if (part.empty() || part == "." || part == ".." ||
            part.find_first_of("/\\:") != std::string::npos) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testzip::MemoryArchive source;
    source.bytes.assign(reinterpret_cast<const char*>(data), size);
    zipfmt::ArchiveDirectory dir;
    if (zipfmt::ReadArchiveDirectory(source, dir) != zipfmt::DirectoryError::None) {
        return 0;
    }
    // A stored name handed back selects its entry, whatever the names hold.
    zipfmt::EntrySelector selector(dir.entries);
    std::vector<bool> chosen(dir.entries.size(), false);
    if (!dir.entries.empty() && !dir.entries[0].name.empty() &&
        (!selector.Select(dir.entries[0].name, chosen) || !chosen[0])) {
        std::abort();
    }
    selector.Select("*a?", chosen);
    selector.Select("a", chosen);
    static std::vector<std::uint8_t> buffer(64 * 1024);
    std::size_t looked = 0;
    const std::vector<std::string> names = zipfmt::DirectoryNames(dir.entries);
    for (const zipfmt::CentralEntry& entry : dir.entries) {
        if (++looked > 16) {
            break;
        }
        const std::string& name = names[looked - 1];
        if (!util::IsValidUtf8(name)) {
            std::abort();
        }
        for (const bool keep : {true, false}) {
            if (const auto out = zipfmt::SafeOutputPath(name, keep)) {
                CheckInside(*out);
            }
        }
        zipfmt::LocalHeader local;
        if (!zipfmt::ReadLocalHeader(source, static_cast<std::int64_t>(entry.localHeaderPosition),
                                     dir.centralStart, local)) {
            continue;
        }
        zipfmt::EntryReader reader(source, entry, local, dir.centralStart,
                                   (entry.flags & 1) ? "pw" : "");
        std::uint64_t total = 0;
        // Enough to meet every path of the reader; a bomb is cut off here, not there.
        reader.Stream(buffer, [&](const std::uint8_t*, std::size_t n) {
            total += n;
            return total < (64u << 20);
        });
        if (total > entry.uncompressedSize) {
            std::abort(); // more than the directory promised was handed on
        }
    }
    return 0;
}
