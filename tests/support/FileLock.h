#pragma once
// A file that exists but that this process cannot open for reading: locked by an
// exclusive open on Windows, a FIFO elsewhere.

#include <string>

class UnreadableFile {
public:
    explicit UnreadableFile(const std::string& path);
    ~UnreadableFile();
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

private:
    std::string path_;
    void* handle_ = nullptr;
};
