#pragma once
// Reads and writes at explicit offsets that go on until done, in chunks Win32 takes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <windows.h>

namespace platform {

inline OVERLAPPED OverlappedAt(std::int64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// Fewer than count only at the end of the file or on an error.
inline std::size_t ReadAllAt(HANDLE h, std::int64_t offset, void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED where = OverlappedAt(offset + static_cast<std::int64_t>(done));
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(h, out + done, chunk, &got, &where) || got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

inline bool WriteAllAt(HANDLE h, std::int64_t offset, const void* data, std::size_t count) {
    const auto* in = static_cast<const char*>(data);
    while (count > 0) {
        OVERLAPPED where = OverlappedAt(offset);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        DWORD put = 0;
        if (!::WriteFile(h, in, chunk, &put, &where) || put == 0) {
            return false;
        }
        in += put;
        count -= put;
        offset += put;
    }
    return true;
}

} // namespace platform
