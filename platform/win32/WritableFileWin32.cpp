#include "platform/WritableFile.h"

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

} // namespace

std::optional<WritableFile> WritableFile::OpenExisting(const std::string& path) {
    HANDLE h =
        ::CreateFileW(WideFilePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    FILETIME written{};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileSizeEx(h, &size) ||
        !::GetFileTime(h, nullptr, nullptr, &written)) {
        ::CloseHandle(h);
        return std::nullopt;
    }
    WritableFile file(reinterpret_cast<std::intptr_t>(h), size.QuadPart);
    file.openedTime_ = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
    return file;
}

std::optional<WritableFile> WritableFile::CreateNew(const std::string& path) {
    HANDLE h = ::CreateFileW(WideFilePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    return WritableFile(reinterpret_cast<std::intptr_t>(h), 0);
}

std::size_t WritableFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    return handle_.Valid() ? ReadAllAt(AsHandle(handle_.Get()), offset, buffer, count) : 0;
}

bool WritableFile::WriteAt(std::int64_t offset, const void* data, std::size_t count) {
    if (!handle_.Valid() || !WriteAllAt(AsHandle(handle_.Get()), offset, data, count)) {
        return false;
    }
    size_ = std::max(size_, offset + static_cast<std::int64_t>(count));
    return true;
}

bool WritableFile::SetSize(std::int64_t size) {
    LARGE_INTEGER at{};
    at.QuadPart = size;
    if (!handle_.Valid() || !::SetFilePointerEx(AsHandle(handle_.Get()), at, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(AsHandle(handle_.Get()))) {
        return false;
    }
    size_ = size;
    return true;
}

bool WritableFile::Flush() {
    return handle_.Valid() && ::FlushFileBuffers(AsHandle(handle_.Get()));
}

void WritableFile::RestoreTime() {
    if (!handle_.Valid() || openedTime_ == 0) {
        return;
    }
    FILETIME written{};
    written.dwLowDateTime =
        static_cast<DWORD>(static_cast<std::uint64_t>(openedTime_) & 0xFFFFFFFF);
    written.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(openedTime_) >> 32);
    ::SetFileTime(AsHandle(handle_.Get()), nullptr, nullptr, &written);
}

} // namespace platform
