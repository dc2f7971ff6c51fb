#pragma once
// A file's bytes as an entry's source; no file stands for a folder, which has none.

#include "platform/FileHandle.h"
#include "zipformat/EntryEncoder.h"

namespace zipdll {

class FileSource final : public zipfmt::EntrySource {
public:
    explicit FileSource(const platform::FileHandle* file) : file_(file) {}
    std::int64_t Read(void* buffer, std::size_t count) override {
        if (!file_) {
            return 0;
        }
        const std::size_t got = file_->ReadAt(at_, buffer, count);
        at_ += static_cast<std::int64_t>(got);
        // Short of the size the file had when opened: a read error, or a file cut
        // meanwhile; either way not an end to store (nor a file to move).
        if (got < count && at_ < file_->Size()) {
            return -1;
        }
        return static_cast<std::int64_t>(got);
    }
    bool Restart() override {
        at_ = 0;
        return true;
    }

private:
    const platform::FileHandle* file_;
    std::int64_t at_ = 0;
};

} // namespace zipdll
