#include "zipformat/EntryReader.h"

#include <algorithm>
#include <libdeflate.h>
#include <zlib.h>

#include <infback9.h>

#include "zipformat/Crc32.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {
constexpr std::size_t kInputSize = 256 * 1024;

// One decompressor a thread, kept for the thread's later entries.
libdeflate_decompressor* ThreadDecompressor() {
    struct Owned {
        libdeflate_decompressor* d = libdeflate_alloc_decompressor();
        ~Owned() { libdeflate_free_decompressor(d); }
    };
    thread_local Owned owned;
    return owned.d;
}
} // namespace

struct EntryReader::Inflater {
    z_stream stream{};
    bool ready = false;
    Inflater() { ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK; }
    ~Inflater() {
        if (ready) {
            inflateEnd(&stream);
        }
    }
};

EntryReader::EntryReader(const ByteSource& source, const CentralEntry& entry,
                         const LocalHeader& local, std::int64_t dataLimit,
                         std::string_view password)
    : source_(source), entry_(entry), input_(kInputSize) {
    const bool encrypted = (entry.flags & kFlagEncrypted) != 0;
    method_ = entry.method;
    if (entry.method == kMethodAes) {
        aes_ = FindAesInfo(entry.extra);
        if (!aes_ || !encrypted) {
            status_ = EntryStatus::Unsupported;
            return;
        }
        method_ = aes_->method;
    }
    if (method_ != kMethodStored && method_ != kMethodDeflated && method_ != kMethodDeflate64) {
        status_ = EntryStatus::Unsupported;
        return;
    }
    if (encrypted && (entry.flags & kFlagStrongEncryption)) {
        status_ = EntryStatus::Unsupported;
        return;
    }
    if (local.dataStart > dataLimit ||
        entry.compressedSize > static_cast<std::uint64_t>(dataLimit - local.dataStart)) {
        status_ = EntryStatus::Damaged; // the directory claims more data than there is room for
        return;
    }
    nextRead_ = local.dataStart;
    remaining_ = entry.compressedSize;
    if (encrypted) {
        if (password.empty()) {
            status_ = EntryStatus::NeedsPassword;
            return;
        }
        if (!(aes_ ? StartAes(password) : StartTraditional(local, password))) {
            return;
        }
    }
    if (method_ == kMethodDeflated) {
        inflater_ = std::make_unique<Inflater>();
        if (!inflater_->ready) {
            status_ = EntryStatus::ReadError;
        }
    }
}

bool EntryReader::StartTraditional(const LocalHeader& local, std::string_view password) {
    std::uint8_t header[kEncryptionHeaderSize];
    if (remaining_ < kEncryptionHeaderSize) {
        Fail(EntryStatus::Damaged);
        return false;
    }
    if (source_.ReadAt(nextRead_, header, sizeof header) != sizeof header) {
        Fail(EntryStatus::ReadError);
        return false;
    }
    nextRead_ += kEncryptionHeaderSize;
    remaining_ -= kEncryptionHeaderSize;
    cipher_ = std::make_unique<TraditionalCipher>(password);
    // The local header's flags and time decide the check byte, as its writer saw them.
    if (!cipher_->AcceptHeader(header,
                               EncryptionCheckByte(local.flags, entry_.crc32, local.dosDateTime))) {
        Fail(EntryStatus::BadPassword);
        return false;
    }
    return true;
}

bool EntryReader::StartAes(std::string_view password) {
    const std::size_t saltSize = aes_->SaltSize();
    if (remaining_ < aes_->Overhead()) {
        Fail(EntryStatus::Damaged);
        return false;
    }
    std::uint8_t lead[16 + kAesVerifierSize];
    const std::size_t leadSize = saltSize + kAesVerifierSize;
    if (source_.ReadAt(nextRead_, lead, leadSize) != leadSize) {
        Fail(EntryStatus::ReadError);
        return false;
    }
    nextRead_ += static_cast<std::int64_t>(leadSize);
    remaining_ -= aes_->Overhead(); // the code after the data is read at the end
    aesCipher_ = std::make_unique<AesCipher>(*aes_, password, std::span(lead, saltSize));
    if (!aesCipher_->Ready()) {
        Fail(EntryStatus::ReadError);
        return false;
    }
    if (!std::equal(aesCipher_->Verifier().begin(), aesCipher_->Verifier().end(),
                    lead + saltSize)) {
        Fail(EntryStatus::BadPassword);
        return false;
    }
    return true;
}

EntryReader::~EntryReader() = default;

std::size_t EntryReader::Fail(EntryStatus status) {
    status_ = status;
    return 0;
}

std::size_t EntryReader::Refill() {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, kInputSize));
    if (want == 0) {
        return 0;
    }
    const std::size_t got = source_.ReadAt(nextRead_, input_.data(), want);
    if (got != want) {
        status_ = EntryStatus::ReadError;
        return 0;
    }
    if (cipher_) {
        cipher_->Decrypt(input_.data(), got);
    } else if (aesCipher_ && !aesCipher_->Decrypt(input_.data(), got)) {
        status_ = EntryStatus::ReadError;
        return 0;
    }
    nextRead_ += static_cast<std::int64_t>(got);
    remaining_ -= got;
    inputAt_ = 0;
    inputLength_ = got;
    return got;
}

// The code covers every encrypted byte, also any the inflater left unread.
bool EntryReader::AesCodeMatches() {
    while (remaining_ > 0) {
        if (Refill() == 0) {
            return false;
        }
    }
    std::uint8_t stored[kAesCodeSize];
    if (source_.ReadAt(nextRead_, stored, sizeof stored) != sizeof stored) {
        status_ = EntryStatus::ReadError;
        return false;
    }
    const auto code = aesCipher_->Code();
    return std::equal(code.begin(), code.end(), stored);
}

std::size_t EntryReader::Finish() {
    if (aesCipher_) {
        if (!AesCodeMatches()) {
            return Fail(status_ == EntryStatus::Ok ? EntryStatus::Damaged : status_);
        }
        // AE-2 leaves the CRC-32 out: the code stands for it.
        const bool crcKept = aes_->version == kAesVersion1;
        if (produced_ != entry_.uncompressedSize || (crcKept && crc_ != entry_.crc32)) {
            return Fail(EntryStatus::BadCrc);
        }
        return 0;
    }
    if (produced_ != entry_.uncompressedSize || crc_ != entry_.crc32) {
        return Fail(cipher_ ? EntryStatus::BadPassword : EntryStatus::BadCrc);
    }
    return 0;
}

// Most entries are small: read whole into the buffer, they are inflated in one call,
// about twice as fast as a stream.
std::size_t EntryReader::ReadWhole(std::uint8_t* out) {
    if (Refill() == 0 && entry_.compressedSize > 0) {
        return 0;
    }
    libdeflate_decompressor* d = ThreadDecompressor();
    if (d == nullptr) {
        return Fail(EntryStatus::ReadError);
    }
    std::size_t made = 0;
    const auto size = static_cast<std::size_t>(entry_.uncompressedSize);
    switch (libdeflate_deflate_decompress(d, input_.data(), inputLength_, out, size, &made)) {
    case LIBDEFLATE_SUCCESS:
        break;
    case LIBDEFLATE_INSUFFICIENT_SPACE: // more data than the directory's size
        return Fail(EntryStatus::BadCrc);
    default:
        return Fail(EntryStatus::Damaged);
    }
    ended_ = true;
    crc_ = UpdateCrc32(crc_, out, made);
    produced_ = made;
    return Finish() == 0 && status_ == EntryStatus::Ok ? made : 0;
}

bool EntryReader::Stream(std::span<std::uint8_t> buffer, const EntrySink& sink) {
    if (status_ != EntryStatus::Ok) {
        return false;
    }
    if (method_ == kMethodDeflate64) {
        return StreamDeflate64(sink);
    }
    while (const std::size_t n = Read(buffer.data(), buffer.size())) {
        if (!sink(buffer.data(), n)) {
            return false;
        }
    }
    return status_ == EntryStatus::Ok && ended_;
}

unsigned EntryReader::PullDeflate64(void* reader, unsigned char** data) {
    auto& r = *static_cast<EntryReader*>(reader);
    if (r.inputAt_ == r.inputLength_ && (r.remaining_ == 0 || r.Refill() == 0)) {
        return 0; // infback9 takes this for a cut stream, or a read error (Status says)
    }
    *data = r.input_.data() + r.inputAt_;
    const std::size_t n = r.inputLength_ - r.inputAt_;
    r.inputAt_ = r.inputLength_;
    return static_cast<unsigned>(n);
}

int EntryReader::PushDeflate64(void* reader, unsigned char* data, unsigned count) {
    auto& r = *static_cast<EntryReader*>(reader);
    if (count > r.entry_.uncompressedSize - r.produced_) {
        r.status_ = EntryStatus::BadCrc; // more than the directory's size is never handed on
        return 1;
    }
    r.crc_ = UpdateCrc32(r.crc_, data, count);
    r.produced_ += count;
    if (!(*r.deflate64Sink_)(data, count)) {
        r.sinkRefused_ = true;
        return 1;
    }
    return 0;
}

bool EntryReader::StreamDeflate64(const EntrySink& sink) {
    // Deflate64 reaches back 64 KiB: the window is the inflater's whole history.
    std::vector<unsigned char> window(std::size_t{1} << 16);
    z_stream z{};
    if (inflateBack9Init(&z, window.data()) != Z_OK) {
        status_ = EntryStatus::ReadError;
        return false;
    }
    deflate64Sink_ = &sink;
    sinkRefused_ = false;
    const int rc = inflateBack9(&z, PullDeflate64, this, PushDeflate64, this);
    inflateBack9End(&z);
    deflate64Sink_ = nullptr;
    if (sinkRefused_ || status_ != EntryStatus::Ok) {
        return false;
    }
    if (rc != Z_STREAM_END) {
        status_ = rc == Z_MEM_ERROR ? EntryStatus::ReadError
                  : cipher_         ? EntryStatus::BadPassword
                                    : EntryStatus::Damaged;
        return false;
    }
    ended_ = true;
    Finish();
    return status_ == EntryStatus::Ok;
}

std::size_t EntryReader::Read(std::uint8_t* out, std::size_t capacity) {
    if (status_ != EntryStatus::Ok || ended_ || capacity == 0) {
        return 0;
    }
    if (inflater_ && !cipher_ && produced_ == 0 && inputLength_ == 0 &&
        entry_.compressedSize <= kInputSize && entry_.uncompressedSize <= capacity) {
        return ReadWhole(out);
    }
    capacity = std::min<std::size_t>(capacity, 1u << 30);
    std::size_t done = 0;
    while (done < capacity && !ended_) {
        if (inputAt_ == inputLength_ && (!inflater_ || inflater_->stream.avail_in == 0) &&
            remaining_ > 0 && Refill() == 0) {
            return 0;
        }
        if (!inflater_) {
            if (inputAt_ == inputLength_) {
                ended_ = true;
                break;
            }
            const std::size_t n = std::min(capacity - done, inputLength_ - inputAt_);
            std::copy_n(input_.data() + inputAt_, n, out + done);
            inputAt_ += n;
            done += n;
        } else {
            z_stream& z = inflater_->stream;
            if (z.avail_in == 0) {
                z.next_in = input_.data() + inputAt_;
                z.avail_in = static_cast<uInt>(inputLength_ - inputAt_);
                inputAt_ = inputLength_;
            }
            z.next_out = out + done;
            z.avail_out = static_cast<uInt>(capacity - done);
            const uInt before = z.avail_out;
            // With all input taken, zlib may still hold output (the rest of a long
            // match) for a buffer that was full; only no progress at all is a cut stream.
            const int rc = inflate(&z, Z_NO_FLUSH);
            const uInt made = before - z.avail_out;
            done += made;
            if (rc == Z_STREAM_END) {
                ended_ = true;
            } else if ((rc != Z_OK && rc != Z_BUF_ERROR) ||
                       (made == 0 && z.avail_in == 0 && remaining_ == 0)) {
                return Fail(cipher_ ? EntryStatus::BadPassword : EntryStatus::Damaged);
            }
        }
        // More data than the directory's size: the bytes past it are never handed on.
        if (done > entry_.uncompressedSize - produced_) {
            return Fail(EntryStatus::BadCrc);
        }
    }
    crc_ = UpdateCrc32(crc_, out, done);
    produced_ += done;
    if (ended_) {
        return Finish() == 0 && status_ == EntryStatus::Ok ? done : 0;
    }
    return done;
}

} // namespace zipfmt
