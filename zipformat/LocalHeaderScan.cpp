#include "zipformat/LocalHeaderScan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <zlib.h>

#include <infback9.h>

#include "zipformat/Buffer.h"
#include "zipformat/LocalHeader.h"
#include "zipformat/Records.h"

namespace zipfmt {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr char kLocalSignatureBytes[] = {'P', 'K', 3, 4};
constexpr char kDescriptorSignatureBytes[] = {'P', 'K', 7, 8};

const char* const kCut = "the archive ends inside it";
const char* const kNoEnd = "where its data ends cannot be found";
const char* const kBadData = "its data is damaged";

struct Descriptor {
    std::uint32_t crc32 = 0;
    std::uint64_t compressedSize = 0, uncompressedSize = 0;
    std::int64_t length = 0;
};

class Scanner {
public:
    explicit Scanner(const ByteSource& source)
        : source_(source), size_(source.Size()), budget_(8 * size_ + (16 << 20)), chunk_(kChunk) {}

    ScannedArchive Run() {
        std::int64_t at = Find(kLocalSignatureBytes, 0);
        while (at >= 0 && at < size_ && budget_ > 0) {
            at = Entry(at);
        }
        return std::move(out_);
    }

private:
    // Where the next entry's header may stand, or -1 to end the walk.
    std::int64_t Entry(std::int64_t at) {
        std::uint8_t fixed[kLocalHeaderSize];
        LocalHeader local;
        if (source_.ReadAt(at, fixed, sizeof fixed) != sizeof fixed ||
            Le32(fixed) != kLocalHeaderSignature) {
            return -1; // a central header, the end records, or the end of the file
        }
        if (!ReadLocalHeader(source_, at, size_, local)) {
            return -1; // the file ends inside the header
        }
        const LocalHeaderFixed f =
            DecodeLocalHeaderFixed(std::span(fixed).subspan<4, kLocalHeaderFixedSize>());
        CentralEntry e;
        e.versionMadeBy = f.versionNeeded & 0xFF; // the host is unknown: DOS names
        e.versionNeeded = f.versionNeeded;
        e.flags = f.flags;
        e.method = f.method;
        e.dosDateTime = f.dosDateTime;
        e.crc32 = f.crc32;
        e.compressedSize = f.compressedSize;
        e.uncompressedSize = f.uncompressedSize;
        e.localHeaderPosition = static_cast<std::uint64_t>(at);
        e.name = local.name;
        e.extra = local.extra;
        if (!e.name.empty() && e.name.back() == '/') {
            e.externalAttributes = 0x10; // a folder, as DOS marks it
        }
        if (local.zip64) {
            const auto block = FindExtraBlock(local.extra, kExtraZip64);
            std::size_t used = 0;
            for (std::uint64_t* field : {&e.uncompressedSize, &e.compressedSize}) {
                if (*field == kZip64Marker32 && block.size() - used >= 8) {
                    *field = Le64(block.data() + used);
                    used += 8;
                }
            }
            e.zip64 = true;
        }
        const std::int64_t data = local.dataStart;
        if ((e.flags & kFlagDataDescriptor) == 0) {
            if (e.compressedSize > static_cast<std::uint64_t>(size_ - data)) {
                return Lose(e, kCut, -1);
            }
            const std::int64_t next = data + static_cast<std::int64_t>(e.compressedSize);
            out_.entries.push_back(std::move(e));
            return next;
        }
        // Past a cut entry the search would only find what its data holds (a zip
        // stored in the zip): the walk ends there. Past damaged data it goes on.
        const std::optional<std::uint64_t> length = DataLength(e, data, local.zip64);
        if (!length) {
            return reachedEnd_ ? Lose(e, kCut, -1)
                               : Lose(e, kBadData, Find(kLocalSignatureBytes, data));
        }
        const std::int64_t end = data + static_cast<std::int64_t>(*length);
        const std::optional<Descriptor> d = ReadDescriptor(end, local.zip64, *length);
        if (!d) {
            const bool cut = size_ - end < static_cast<std::int64_t>(kDataDescriptorSize);
            return cut ? Lose(e, kCut, -1) : Lose(e, kNoEnd, Find(kLocalSignatureBytes, end));
        }
        e.crc32 = d->crc32;
        e.compressedSize = d->compressedSize;
        e.uncompressedSize = d->uncompressedSize;
        out_.entries.push_back(std::move(e));
        return end + d->length;
    }

    std::int64_t Lose(const CentralEntry& e, const char* why, std::int64_t next) {
        out_.lost.push_back({e, why});
        return next;
    }

    // The length of data whose sizes are only in the descriptor after it: where the
    // compressed stream ends, for data that can be inflated here; else the first
    // descriptor whose compressed size is its own distance from the data.
    std::optional<std::uint64_t> DataLength(const CentralEntry& e, std::int64_t data, bool zip64) {
        reachedEnd_ = false;
        const bool encrypted = (e.flags & kFlagEncrypted) != 0;
        if (!encrypted && e.method == kMethodDeflated) {
            return InflatedLength(data);
        }
        if (!encrypted && e.method == kMethodDeflate64) {
            return Deflate64Length(data);
        }
        for (std::int64_t at = Find(kDescriptorSignatureBytes, data); at >= 0;
             at = Find(kDescriptorSignatureBytes, at + 1)) {
            const auto length = static_cast<std::uint64_t>(at - data);
            if (ReadDescriptor(at, zip64, length)) {
                return length;
            }
        }
        reachedEnd_ = true;
        return std::nullopt;
    }

    std::optional<std::uint64_t> InflatedLength(std::int64_t data) {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
            return std::nullopt;
        }
        std::array<std::uint8_t, kChunk> sink;
        std::int64_t at = data;
        int rc = Z_OK;
        while (rc == Z_OK || rc == Z_BUF_ERROR) {
            if (z.avail_in == 0) {
                const std::size_t got = Take(at);
                if (got == 0) {
                    reachedEnd_ = at >= size_;
                    break;
                }
                z.next_in = chunk_.data();
                z.avail_in = static_cast<uInt>(got);
                at += static_cast<std::int64_t>(got);
            }
            z.next_out = sink.data();
            z.avail_out = static_cast<uInt>(sink.size());
            rc = inflate(&z, Z_NO_FLUSH);
        }
        const std::uint64_t length = z.total_in;
        inflateEnd(&z);
        return rc == Z_STREAM_END ? std::optional(length) : std::nullopt;
    }

    struct Deflate64Feed {
        Scanner* scanner;
        std::int64_t at;
        std::uint64_t given = 0;
    };

    std::optional<std::uint64_t> Deflate64Length(std::int64_t data) {
        std::vector<unsigned char> window(std::size_t{1} << 16);
        z_stream z{};
        if (inflateBack9Init(&z, window.data()) != Z_OK) {
            return std::nullopt;
        }
        Deflate64Feed feed{this, data};
        const auto pull = [](void* desc, unsigned char** bytes) -> unsigned {
            auto& f = *static_cast<Deflate64Feed*>(desc);
            const std::size_t got = f.scanner->Take(f.at);
            f.scanner->reachedEnd_ = got == 0 && f.at >= f.scanner->size_;
            *bytes = f.scanner->chunk_.data();
            f.at += static_cast<std::int64_t>(got);
            f.given += got;
            return static_cast<unsigned>(got);
        };
        const auto discard = [](void*, unsigned char*, unsigned) { return 0; };
        const int rc = inflateBack9(&z, pull, &feed, discard, nullptr);
        const std::uint64_t unused = z.next_in ? z.avail_in : 0;
        inflateBack9End(&z);
        return rc == Z_STREAM_END ? std::optional(feed.given - unused) : std::nullopt;
    }

    // The descriptor at position for data of the given length, with or without its
    // signature: one whose compressed size is that length.
    std::optional<Descriptor> ReadDescriptor(std::int64_t position, bool zip64,
                                             std::uint64_t length) {
        std::uint8_t bytes[4 + kZip64DataDescriptorSize - 4 + 4] = {};
        const std::size_t got =
            position <= size_ ? source_.ReadAt(position, bytes, sizeof bytes) : 0;
        const std::size_t width = zip64 ? 8 : 4;
        for (const std::size_t lead : {std::size_t{4}, std::size_t{0}}) {
            if (lead == 4 && Le32(bytes) != kDataDescriptorSignature) {
                continue;
            }
            const std::size_t need = lead + 4 + 2 * width;
            if (got < need) {
                continue;
            }
            const std::uint8_t* p = bytes + lead;
            Descriptor d;
            d.crc32 = Le32(p);
            d.compressedSize = zip64 ? Le64(p + 4) : Le32(p + 4);
            d.uncompressedSize = zip64 ? Le64(p + 12) : Le32(p + 8);
            d.length = static_cast<std::int64_t>(need);
            if (d.compressedSize == length) {
                return d;
            }
        }
        return std::nullopt;
    }

    // The position of the first signature at or after from, or -1.
    std::int64_t Find(const char (&signature)[4], std::int64_t from) {
        while (from >= 0 && from < size_ && budget_ > 0) {
            const std::size_t got = Take(from);
            if (got < 4) {
                return -1;
            }
            const auto* begin = reinterpret_cast<const char*>(chunk_.data());
            const char* hit = std::search(begin, begin + got, signature, signature + 4);
            if (hit != begin + got) {
                return from + (hit - begin);
            }
            from += static_cast<std::int64_t>(got) - 3; // a signature may straddle chunks
        }
        return -1;
    }

    // Reads the chunk at position into chunk_, charged to the budget.
    std::size_t Take(std::int64_t position) {
        if (position < 0 || position >= size_ || budget_ <= 0) {
            return 0;
        }
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::int64_t>(size_ - position, kChunk));
        const std::size_t got = source_.ReadAt(position, chunk_.data(), want);
        budget_ -= static_cast<std::int64_t>(got) + 1;
        return got;
    }

    const ByteSource& source_;
    const std::int64_t size_;
    std::int64_t budget_; // bytes still to be read in search of where entries end
    Buffer chunk_;
    bool reachedEnd_ = false;
    ScannedArchive out_;
};

} // namespace

ScannedArchive ScanLocalHeaders(const ByteSource& source) {
    return Scanner(source).Run();
}

} // namespace zipfmt
