#pragma once
// A file made under its final name, and only where nothing stands yet (no file, folder
// or link, dangling or not): one creation where a temporary file costs a creation, a
// link and a rename. Dropped before Keep it is removed (on Windows also when the
// process dies), so a file that fails half-way leaves nothing behind.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileTime.h"

namespace platform {

class NewFile {
public:
    // Nothing when something stands at path or no file can be made there.
    static std::unique_ptr<NewFile> Create(const std::string& path);
    virtual ~NewFile() = default;

    // Appends count bytes.
    virtual bool Write(const void* data, std::size_t count) = 0;
    virtual bool SetModifiedTime(const ModifiedTime& time) = 0;
    // Leaves the complete file in place; after a failure it is gone.
    virtual bool Keep() = 0;
};

} // namespace platform
