#include "platform/ArchiveLock.h"

#include <windows.h>

#include "platform/win32/WidePath.h"

namespace platform {

namespace {

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

HANDLE AsHandle(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

} // namespace

// Writers share a named mutex. Readers and a writer's replace share a file's lock in
// the temporary folder instead: a mutex has no shared hold, a file's lock does.
std::intptr_t ArchiveLock::OpenNative(const std::string& path, ArchiveAccess access) {
    const std::wstring key = WidenUtf8(ArchiveLockKey(CanonicalPath(path)));
    HANDLE h = nullptr;
    if (access == ArchiveAccess::Writing) {
        h = ::CreateMutexW(nullptr, FALSE, (L"Local\\Tarvox-archive-" + key).c_str());
    } else {
        wchar_t folder[MAX_PATH + 1];
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
        if (length == 0 || length > MAX_PATH) {
            return OwnedHandle::kNone;
        }
        h = ::CreateFileW((std::wstring(folder, length) + L"tarvox-" + key + L".gate").c_str(),
                          GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            h = nullptr;
        }
    }
    return h == nullptr ? OwnedHandle::kNone : reinterpret_cast<std::intptr_t>(h);
}

ArchiveLock::Try ArchiveLock::TryNative(std::intptr_t native, ArchiveAccess access) {
    if (access == ArchiveAccess::Writing) {
        // An owner that died leaves the mutex abandoned: the archive is ours then too.
        switch (::WaitForSingleObject(AsHandle(native), 0)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:
            return Try::Taken;
        case WAIT_TIMEOUT:
            return Try::Busy;
        default:
            return Try::Failed;
        }
    }
    OVERLAPPED at{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY |
                        (access == ArchiveAccess::Replacing ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (::LockFileEx(AsHandle(native), flags, 0, 1, 0, &at)) {
        return Try::Taken;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Try::Busy : Try::Failed;
}

ArchiveLock::~ArchiveLock() {
    if (!held_ || !handle_.Valid()) {
        return;
    }
    if (access_ == ArchiveAccess::Writing) {
        ::ReleaseMutex(AsHandle(handle_.Get()));
    } else {
        OVERLAPPED at{};
        ::UnlockFileEx(AsHandle(handle_.Get()), 0, 1, 0, &at);
    }
}

} // namespace platform
