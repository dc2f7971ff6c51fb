#pragma once
// Writes an archive front to back through a buffer: entries (local header, data,
// descriptor), then the central directory and its end records, with zip64 records
// wherever a size, an offset or the entry count needs them.

#include <cstdint>
#include <string>
#include <vector>

#include "zipformat/Records.h"

namespace zipfmt {

// Where the archive's bytes go; the writer may go back to patch a header or to drop
// an entry it began.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool WriteAt(std::int64_t offset, const void* data, std::size_t count) = 0;
    virtual bool SetSize(std::int64_t size) = 0;
};

// What the central directory says of one entry.
struct CentralRecord : EntryFields {
    std::uint64_t localHeaderOffset = 0;
    std::string name;
    std::string extra; // without a zip64 block: the writer adds one when needed
    std::string comment;
};

class ArchiveWriter {
public:
    // start: where the first write goes (past the entries an archive keeps in place).
    explicit ArchiveWriter(ByteSink& sink, std::size_t bufferSize = 256 * 1024,
                           std::int64_t start = 0);

    std::int64_t Position() const {
        return bufferStart_ + static_cast<std::int64_t>(buffer_.size());
    }

    bool Write(const void* data, std::size_t count);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // Overwrites bytes written earlier.
    bool Patch(std::int64_t at, const void* data, std::size_t count);
    // Forgets everything from position on; the next write goes there.
    bool Truncate(std::int64_t position);
    bool Flush();

    void AddCentral(CentralRecord record) { central_.push_back(std::move(record)); }
    std::size_t CentralCount() const { return central_.size(); }
    const std::vector<CentralRecord>& Central() const { return central_; }

    // The central directory starts here, with headers the caller writes as they are
    // (count of them) before those added.
    void BeginCentral(std::uint64_t count) {
        centralStart_ = Position();
        keptHeaders_ = count;
    }

    enum class FinishResult { Done, WriteFailed, FieldTooLong };
    // The central directory and end records; the sink ends right after them.
    // FieldTooLong: a name, extra field (with the zip64 block it needs) or comment
    // passes 65,535 bytes, which the format cannot record; nothing is cut short.
    FinishResult Finish(const std::string& comment);
    // After FieldTooLong: the entry whose field is too long; empty for the archive's
    // comment.
    const std::string& OverlongName() const { return overlongName_; }

    // A failed write leaves the writer refusing everything after it.
    bool Failed() const { return failed_; }

private:
    ByteSink& sink_;
    std::size_t capacity_;
    std::string buffer_;
    std::int64_t bufferStart_ = 0;
    std::int64_t written_ = 0; // the sink's size as far as this writer knows
    std::vector<CentralRecord> central_;
    std::int64_t centralStart_ = -1;
    std::uint64_t keptHeaders_ = 0;
    bool failed_ = false;
    std::string overlongName_;
};

// Little-endian pieces of headers.
void PutLe16(std::string& out, std::uint64_t value);
void PutLe32(std::string& out, std::uint64_t value);
void PutLe64(std::string& out, std::uint64_t value);

// Drops the zip64 blocks of an extra field (the writer makes its own).
std::string WithoutZip64(const std::string& extra);

} // namespace zipfmt
