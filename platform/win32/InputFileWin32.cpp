#include "platform/InputFile.h"

#include <algorithm>
#include <windows.h>

#include "platform/win32/WidePath.h"

namespace platform {

namespace {

class Win32InputFile final : public InputFile {
public:
    Win32InputFile(HANDLE h, std::int64_t size) : h_(h), size_(size) {}
    ~Win32InputFile() override { ::CloseHandle(h_); }

    std::int64_t Size() const override { return size_; }

    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) const override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const std::int64_t at = offset + static_cast<std::int64_t>(done);
            OVERLAPPED where{};
            where.Offset = static_cast<DWORD>(at & 0xFFFFFFFF);
            where.OffsetHigh = static_cast<DWORD>(at >> 32);
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(h_, out + done, chunk, &got, &where) || got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

    std::int64_t Read(void* buffer, std::size_t count) override {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        if (!::ReadFile(h_, buffer, chunk, &got, nullptr)) {
            return -1;
        }
        return got;
    }

private:
    HANDLE h_;
    std::int64_t size_;
};

} // namespace

std::unique_ptr<InputFile> InputFile::Open(const std::string& path, Sharing sharing) {
    const DWORD share =
        sharing == Sharing::Archive ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE h = ::CreateFileW(Widen(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileSizeEx(h, &size)) {
        ::CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<Win32InputFile>(h, size.QuadPart);
}

} // namespace platform
