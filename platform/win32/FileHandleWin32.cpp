#include "platform/FileHandle.h"

#include <algorithm>
#include <utility>
#include <windows.h>

#include "platform/win32/PositionalIoWin32.h"
#include "platform/win32/WidePath.h"

namespace platform {

namespace {
HANDLE AsHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

DWORD ShareMode(FileHandle::Sharing sharing) {
    return sharing == FileHandle::Sharing::DenyWrite ? FILE_SHARE_READ
                                                     : FILE_SHARE_READ | FILE_SHARE_WRITE;
}
} // namespace

void OwnedHandle::CloseNative(std::intptr_t native) noexcept {
    ::CloseHandle(reinterpret_cast<HANDLE>(native));
}

// Only a file on disk: not a pipe, a console or a device.
std::optional<FileHandle> FileHandle::FromNative(void* native) {
    HANDLE h = static_cast<HANDLE>(native);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileSizeEx(h, &size)) {
        ::CloseHandle(h);
        return std::nullopt;
    }
    return FileHandle(reinterpret_cast<std::intptr_t>(h), size.QuadPart);
}

std::optional<FileHandle> FileHandle::OpenForReading(const std::string& path, Sharing sharing) {
    return FromNative(::CreateFileW(LongForm(WidenAnsi(path)).c_str(), GENERIC_READ,
                                    ShareMode(sharing), nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::optional<FileHandle> FileHandle::OpenUtf8(const std::string& path, Sharing sharing) {
    return FromNative(::CreateFileW(WideFilePath(path).c_str(), GENERIC_READ, ShareMode(sharing),
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

std::size_t FileHandle::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    return ReadAllAt(AsHandle(handle_.Get()), offset, buffer, count);
}

std::int64_t FileHandle::Read(void* buffer, std::size_t count) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(AsHandle(handle_.Get()), buffer, chunk, &got, nullptr)) {
        return -1;
    }
    return got;
}

} // namespace platform
