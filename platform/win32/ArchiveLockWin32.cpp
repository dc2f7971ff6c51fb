#include "platform/ArchiveLock.h"

#include <windows.h>

#include "platform/win32/WidePath.h"

namespace platform {

namespace {

constexpr DWORD kTryEvery = 50; // ms

// The full path, in upper case as the file system compares names, as UTF-8.
std::string CanonicalPath(const std::string& path) {
    const std::wstring wide = WidenUtf8(path);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty()) {
        full = wide;
    }
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return NarrowToUtf8(full);
}

} // namespace

std::optional<ArchiveLock> ArchiveLock::Acquire(const std::string& path,
                                                std::chrono::milliseconds wait,
                                                const std::function<void()>& onWait,
                                                const std::function<bool()>& stop) {
    const std::wstring name =
        L"Local\\Tarvox-archive-" + WidenUtf8(ArchiveLockKey(CanonicalPath(path)));
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) {
        return std::nullopt;
    }
    ArchiveLock lock(reinterpret_cast<std::intptr_t>(mutex));
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(wait.count());
    for (bool first = true;; first = false) {
        // An owner that died leaves the mutex abandoned: the archive is ours then too.
        const DWORD got = ::WaitForSingleObject(mutex, first ? 0 : kTryEvery);
        if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
            return lock;
        }
        if (got != WAIT_TIMEOUT || ::GetTickCount64() >= deadline || (stop && stop())) {
            lock.handle_.Close(); // never owned: nothing to release
            return std::nullopt;
        }
        if (first && onWait) {
            onWait();
        }
    }
}

ArchiveLock::~ArchiveLock() {
    if (handle_.Valid()) {
        ::ReleaseMutex(reinterpret_cast<HANDLE>(handle_.Get()));
    }
}

} // namespace platform
