#include "platform/TempFile.h"

#include <atomic>
#include <string>
#include <windows.h>

#include "platform/win32/DosTimeWin32.h"
#include "platform/win32/PositionalIoWin32.h"
#include "platform/win32/WidePath.h"

namespace platform {

namespace {

std::wstring SiblingName(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.find_last_of(L"\\/");
    const std::wstring prefix = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    return prefix + L"~tvx" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(counter++) + L".tmp";
}

bool MarkForDeletion(HANDLE h, bool erase) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = erase ? TRUE : FALSE;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

class Win32TempFile final : public TempFile {
public:
    Win32TempFile(HANDLE h, std::wstring path, bool pendingDelete)
        : h_(h), path_(std::move(path)), pendingDelete_(pendingDelete) {}
    ~Win32TempFile() override { Discard(); }

    bool WriteAt(std::int64_t offset, const void* data, std::size_t count) override {
        return h_ != INVALID_HANDLE_VALUE && WriteAllAt(h_, offset, data, count);
    }

    bool SetSize(std::int64_t size) override {
        LARGE_INTEGER at{};
        at.QuadPart = size;
        return h_ != INVALID_HANDLE_VALUE && ::SetFilePointerEx(h_, at, nullptr, FILE_BEGIN) &&
               ::SetEndOfFile(h_);
    }

    bool SetModifiedTime(const ModifiedTime& time) override {
        FILETIME when{};
        return h_ != INVALID_HANDLE_VALUE && ToFileTime(time, when) &&
               ::SetFileTime(h_, nullptr, nullptr, &when);
    }

    void CopyAttributesFrom(const std::string& path) override {
        attributes_ = ::GetFileAttributesW(WideFilePath(path).c_str());
    }

    bool Commit(const std::string& target, bool durable) override {
        if (h_ == INVALID_HANDLE_VALUE || (durable && !::FlushFileBuffers(h_)) ||
            (pendingDelete_ && !MarkForDeletion(h_, false))) {
            Discard();
            return false;
        }
        pendingDelete_ = false;
        ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        const std::wstring wideTarget = WideFilePath(target);
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
        if (!::MoveFileExW(path_.c_str(), wideTarget.c_str(), flags)) {
            ::DeleteFileW(path_.c_str());
            path_.clear();
            return false;
        }
        path_.clear();
        if (attributes_ != INVALID_FILE_ATTRIBUTES) {
            const DWORD kept = attributes_ & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                              FILE_ATTRIBUTE_ARCHIVE);
            ::SetFileAttributesW(wideTarget.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
        }
        return true;
    }

private:
    void Discard() {
        if (h_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h_); // a pending deletion happens here
            h_ = INVALID_HANDLE_VALUE;
        }
        if (!path_.empty() && !pendingDelete_) {
            ::DeleteFileW(path_.c_str());
        }
        path_.clear();
    }

    HANDLE h_;
    std::wstring path_;
    bool pendingDelete_;
    DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
};

} // namespace

std::unique_ptr<TempFile> TempFile::CreateBeside(const std::string& target) {
    const std::wstring wideTarget = WideFilePath(target);
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::wstring name = SiblingName(wideTarget);
        HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            return nullptr;
        }
        // Deleted when its last handle closes, also when the process is killed,
        // until Commit takes the mark back.
        const bool pending = MarkForDeletion(h, true);
        return std::make_unique<Win32TempFile>(h, name, pending);
    }
    return nullptr;
}

} // namespace platform
