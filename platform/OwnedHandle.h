#pragma once
// A native file handle (a HANDLE on Windows, a descriptor on POSIX), closed when its
// one owner goes. Both systems spell "no handle" as -1.

#include <cstdint>
#include <utility>

namespace platform {

class OwnedHandle {
public:
    static constexpr std::intptr_t kNone = -1;

    OwnedHandle() = default;
    explicit OwnedHandle(std::intptr_t native) : native_(native) {}
    OwnedHandle(OwnedHandle&& other) noexcept : native_(std::exchange(other.native_, kNone)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            Close();
            native_ = std::exchange(other.native_, kNone);
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { Close(); }

    std::intptr_t Get() const { return native_; }
    bool Valid() const { return native_ != kNone; }
    void Close() noexcept {
        if (Valid()) {
            CloseNative(std::exchange(native_, kNone));
        }
    }

private:
    static void CloseNative(std::intptr_t native) noexcept; // per platform

    std::intptr_t native_ = kNone;
};

} // namespace platform
