#include "platform/ArchiveLock.h"

#include <cstdio>
#include <thread>

namespace platform {

namespace {

constexpr std::chrono::milliseconds kTryEvery{50};

} // namespace

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

std::optional<ArchiveLock> ArchiveLock::Acquire(const std::string& path, ArchiveAccess access,
                                                std::chrono::milliseconds wait,
                                                const std::function<void()>& onWait,
                                                const std::function<bool()>& stop) {
    const std::intptr_t native = OpenNative(path, access);
    if (native == OwnedHandle::kNone) {
        return std::nullopt;
    }
    ArchiveLock lock(native, access);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (bool first = true;; first = false) {
        switch (TryNative(native, access)) {
        case Try::Taken:
            lock.held_ = true;
            return lock;
        case Try::Failed:
            return std::nullopt;
        case Try::Busy:
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline || (stop && stop())) {
            return std::nullopt;
        }
        if (first && onWait) {
            onWait();
        }
        std::this_thread::sleep_for(kTryEvery);
    }
}

} // namespace platform
