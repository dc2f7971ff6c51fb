#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/FileLock.h"

UnreadableFile::UnreadableFile(const std::string& path) : path_(path) {
    ::mkfifo(path.c_str(), 0600);
}

UnreadableFile::~UnreadableFile() {
    ::unlink(path_.c_str());
}

HeldOpenFile::HeldOpenFile(const std::string&) {}

HeldOpenFile::~HeldOpenFile() = default;
