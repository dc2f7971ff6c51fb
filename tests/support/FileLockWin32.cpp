#include <windows.h>

#include "tests/support/FileLock.h"

UnreadableFile::UnreadableFile(const std::string& path) : path_(path) {
    handle_ = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
}

UnreadableFile::~UnreadableFile() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle_);
    }
}

HeldOpenFile::HeldOpenFile(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
}

HeldOpenFile::~HeldOpenFile() {
    if (handle_) {
        ::CloseHandle(handle_);
    }
}
