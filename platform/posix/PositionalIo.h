#pragma once
// Reads and writes at explicit offsets that go on until done, through interruptions.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace platform {

// Fewer than count only at the end of the file or on an error.
inline std::size_t ReadAllAt(int fd, std::int64_t offset, void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd, out + done, count - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

inline bool WriteAllAt(int fd, std::int64_t offset, const void* data, std::size_t count) {
    const auto* in = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t put = ::pwrite(fd, in, count, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        in += put;
        count -= static_cast<std::size_t>(put);
        offset += put;
    }
    return true;
}

} // namespace platform
