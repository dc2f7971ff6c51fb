#include "platform/ArchiveLock.h"

#include <cstdio>

namespace platform {

std::string ArchiveLockKey(const std::string& canonicalPath) {
    // FNV-1a: two archives sharing a key only wait for each other, nothing worse.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : canonicalPath) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace platform
