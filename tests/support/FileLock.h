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

// A file held open for reading by another holder that shares nothing but reading: it
// can still be read, but not replaced, renamed nor deleted. Windows share modes only;
// elsewhere nothing is held and Holds() is false.
class HeldOpenFile {
public:
    explicit HeldOpenFile(const std::string& path);
    ~HeldOpenFile();
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;
    bool Holds() const { return handle_ != nullptr; }

private:
    void* handle_ = nullptr;
};
