#pragma once
// An entry's data as it was before it was stored: read in fixed-size pieces,
// decrypted and inflated (deflate or Deflate64) on the way, its size and CRC-32
// checked at the end.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "zipformat/AesCipher.h"
#include "zipformat/Buffer.h"
#include "zipformat/ByteSource.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/LocalHeader.h"
#include "zipformat/TraditionalCipher.h"

namespace zipfmt {

using EntrySink = std::function<bool(const std::uint8_t* data, std::size_t count)>;

enum class EntryStatus {
    Ok,
    Unsupported,   // a method other than store, deflate and Deflate64, or an unknown encryption
    NeedsPassword, // encrypted, and no password was given
    BadPassword,   // the password does not open it
    Damaged,       // data outside the archive, not valid deflate data, or a wrong AES code
    BadCrc,        // the data does not match its CRC-32 or its size
    ReadError,     // the archive could not be read
};

class EntryReader {
public:
    // dataLimit: where the entry's data must end at the latest (the central directory).
    EntryReader(const ByteSource& source, const CentralEntry& entry, const LocalHeader& local,
                std::int64_t dataLimit, std::string_view password);
    ~EntryReader();
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    // Why the entry cannot be read, or Ok.
    EntryStatus Status() const { return status_; }

    // Hands the entry's data to sink in order, in pieces of at most buffer's size (of
    // Deflate64's 64 KiB window for such entries), never more than the entry's size.
    // True when all of it went through with its size and CRC right; false on a
    // failure (see Status) or when sink answered false (Status stays Ok).
    bool Stream(std::span<std::uint8_t> buffer, const EntrySink& sink);

    std::uint64_t Produced() const { return produced_; }

private:
    bool StartTraditional(const LocalHeader& local, std::string_view password);
    bool StartAes(std::string_view password);
    // Up to capacity bytes of stored or deflated data; 0 at the end or on a failure.
    std::size_t Read(std::uint8_t* out, std::size_t capacity);
    bool StreamDeflate64(const EntrySink& sink);
    // infback9's input and output callbacks.
    static unsigned PullDeflate64(void* reader, unsigned char** data);
    static int PushDeflate64(void* reader, unsigned char* data, unsigned count);
    std::size_t Refill();
    std::size_t Fail(EntryStatus status);
    std::size_t Finish();
    std::size_t ReadWhole(std::uint8_t* out);
    bool AesCodeMatches();

    const ByteSource& source_;
    const CentralEntry& entry_;
    EntryStatus status_ = EntryStatus::Ok;
    std::uint16_t method_ = 0; // the real one, under any encryption
    std::unique_ptr<TraditionalCipher> cipher_;
    std::optional<AesInfo> aes_;
    std::unique_ptr<AesCipher> aesCipher_;
    struct Inflater;
    std::unique_ptr<Inflater> inflater_;
    const EntrySink* deflate64Sink_ = nullptr;
    bool sinkRefused_ = false;
    std::int64_t nextRead_ = 0;   // position of the next compressed byte to read
    std::uint64_t remaining_ = 0; // compressed bytes not yet read
    Buffer input_;
    std::size_t inputAt_ = 0, inputLength_ = 0;
    std::uint64_t produced_ = 0;
    std::uint32_t crc_ = 0;
    bool ended_ = false;
};

} // namespace zipfmt
