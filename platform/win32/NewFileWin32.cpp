#include "platform/NewFile.h"

#include <windows.h>

#include "platform/win32/DosTimeWin32.h"
#include "platform/win32/WidePath.h"

namespace platform {

namespace {

bool MarkForDeletion(HANDLE h, bool erase) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = erase ? TRUE : FALSE;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

class Win32NewFile final : public NewFile {
public:
    Win32NewFile(HANDLE h, std::wstring path, bool pendingDelete)
        : h_(h), path_(std::move(path)), pendingDelete_(pendingDelete) {}
    ~Win32NewFile() override {
        if (h_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h_); // a pending deletion happens here
            if (!pendingDelete_) {
                ::DeleteFileW(path_.c_str());
            }
        }
    }

    bool Write(const void* data, std::size_t count) override {
        const auto* in = static_cast<const char*>(data);
        while (count > 0) {
            const DWORD chunk = static_cast<DWORD>(count < (1u << 30) ? count : (1u << 30));
            DWORD put = 0;
            if (!::WriteFile(h_, in, chunk, &put, nullptr) || put == 0) {
                return false;
            }
            in += put;
            count -= put;
        }
        return true;
    }

    bool SetModifiedTime(const ModifiedTime& time) override {
        FILETIME when{};
        return ToFileTime(time, when) && ::SetFileTime(h_, nullptr, nullptr, &when);
    }

    bool Keep() override {
        if (pendingDelete_ && !MarkForDeletion(h_, false)) {
            return false; // the destructor's close deletes it
        }
        pendingDelete_ = false;
        const bool closed = ::CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        if (!closed) {
            ::DeleteFileW(path_.c_str());
        }
        return closed;
    }

private:
    HANDLE h_;
    std::wstring path_;
    bool pendingDelete_;
};

} // namespace

std::unique_ptr<NewFile> NewFile::Create(const std::string& path) {
    std::wstring wide = WideFilePath(path);
    // CREATE_NEW fails on anything at the name, a link or junction too.
    HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Deleted when its handle closes, also when the process is killed, until Keep.
    const bool pending = MarkForDeletion(h, true);
    return std::make_unique<Win32NewFile>(h, std::move(wide), pending);
}

} // namespace platform
