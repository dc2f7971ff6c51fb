#pragma once
// A file written beside its final place and put there only when complete, in one
// step: a new archive beside the old one, an extracted file beside its name. Until
// Commit it has no name where the platform allows it, so a process that dies
// leaves nothing behind; dropped without Commit it is deleted.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileTime.h"

namespace platform {

class TempFile {
public:
    // Nothing when no file can be created in the target's folder.
    static std::unique_ptr<TempFile> CreateBeside(const std::string& target);
    virtual ~TempFile() = default;

    virtual bool WriteAt(std::int64_t offset, const void* data, std::size_t count) = 0;
    virtual bool SetSize(std::int64_t size) = 0;
    virtual bool SetModifiedTime(const ModifiedTime& time) = 0;
    // Takes the permissions or attributes of an existing file.
    virtual void CopyAttributesFrom(const std::string& path) = 0;
    // Makes the content durable when asked, then puts the file in place of target
    // (replacing a file of that name). After a failure the temporary file is gone
    // and target is as it was.
    virtual bool Commit(const std::string& target, bool durable) = 0;
};

} // namespace platform
