#pragma once
// Writes a new entry (local header and data) from a source, deflated at a zlib
// level or stored, and encrypted when a password is given: with AES-256, or the
// traditional way (the source is then read twice: first for its CRC); or from pieces
// deflated elsewhere beforehand. An entry that deflate would enlarge is written again
// stored.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zipformat/AesCipher.h"
#include "zipformat/ArchiveWriter.h"
#include "zipformat/Buffer.h"

namespace zipfmt {

class EntrySource {
public:
    virtual ~EntrySource() = default;
    // Up to count bytes; 0 at the end, -1 on an error.
    virtual std::int64_t Read(void* buffer, std::size_t count) = 0;
    // Back to the first byte.
    virtual bool Restart() = 0;
};

struct DeflateJob;
struct RawDeflater;

// An entry's data deflated in pieces ahead of its writing, in order.
class DeflatedSource {
public:
    virtual ~DeflatedSource() = default;
    // The next piece, done; nullptr after the last one or when the reading failed.
    virtual const DeflateJob* Next() = 0;
    virtual bool ReadFailed() const = 0;
    // The entry's bytes from the first again, to store them when deflate gained nothing.
    virtual EntrySource& Raw() = 0;
};

struct NewEntry {
    std::string name;  // stored bytes
    bool utf8 = false; // the name is UTF-8 (flag bit 11)
    std::string extra; // a Unicode path block and the exact times, or nothing
    std::uint32_t dosDateTime = 0;
    std::uint8_t dosAttributes = 0;
    bool isDirectory = false;
    int level = 6;             // 0 stores, 1 to 9 deflate
    std::string_view password; // empty: no encryption
    bool aes = true;           // AES-256 rather than the traditional encryption
    // AES keys derived ahead (each call a fresh salt); without it they are derived here.
    std::function<AesKeys()> aesKeys;
    std::uint64_t expectedSize = 0;
};

enum class EncodeResult {
    Ok,
    SourceFailed,  // the source could not be read
    SourceGrew,    // it grew past 4 GiB, with no room for such sizes in its header
    SourceChanged, // it changed between the two readings an encrypted entry takes
    WriteFailed,
    Cancelled,
};

class EntryEncoder {
public:
    EntryEncoder();
    ~EntryEncoder();
    EntryEncoder(const EntryEncoder&) = delete;
    EntryEncoder& operator=(const EntryEncoder&) = delete;

    // progress receives the bytes read so far, about every MiB and at the end, and
    // answers false to stop. On anything but Ok the writer is back where it was.
    EncodeResult Write(ArchiveWriter& writer, const NewEntry& entry, EntrySource& source,
                       const std::function<bool(std::uint64_t)>& progress, CentralRecord& record);
    // The same for an entry deflated beforehand (never with the traditional encryption).
    EncodeResult Write(ArchiveWriter& writer, const NewEntry& entry, DeflatedSource& source,
                       const std::function<bool(std::uint64_t)>& progress, CentralRecord& record);

private:
    enum class Pass { Done, Larger, Failed };
    Pass WriteData(ArchiveWriter& writer, const NewEntry& entry, EntrySource& source, bool deflate,
                   const std::function<bool(std::uint64_t)>& progress, CentralRecord& record,
                   EncodeResult& failure);
    Pass WriteDeflated(ArchiveWriter& writer, const NewEntry& entry, DeflatedSource& source,
                       const std::function<bool(std::uint64_t)>& progress, CentralRecord& record,
                       EncodeResult& failure);

    // Where an entry's header and data went, and what its header says.
    struct Layout {
        bool encrypted = false, aes = false, zip64 = false, compress = false;
        std::uint16_t aesVersion = 0;
        std::uint16_t flags = 0;
        std::int64_t headerAt = 0, dataAt = 0;
    };
    bool WriteHeader(ArchiveWriter& writer, const NewEntry& entry, bool compress, Layout& layout);
    // Writes what precedes the encrypted data; nullptr when that failed.
    std::unique_ptr<AesCipher> StartAes(ArchiveWriter& writer, const NewEntry& entry);
    std::string Extra(const NewEntry& entry, const Layout& layout) const;
    Pass Close(ArchiveWriter& writer, const NewEntry& entry, const Layout& layout,
               std::uint32_t crc, std::uint64_t total, CentralRecord& record,
               EncodeResult& failure);

    std::unique_ptr<RawDeflater> deflater_;
    std::optional<std::uint32_t> knownCrc_;
    Buffer in_, out_;
};

} // namespace zipfmt
