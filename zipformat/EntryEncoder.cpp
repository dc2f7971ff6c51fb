#include "zipformat/EntryEncoder.h"

#include <zlib.h>

#include "zipformat/BlockDeflater.h"
#include "zipformat/Crc32.h"
#include "zipformat/RawDeflater.h"
#include "zipformat/Records.h"
#include "zipformat/TraditionalCipher.h"

namespace zipfmt {

namespace {

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::uint64_t kProgressEvery = 1 << 20;
// From this expected size on the local header makes room for 64-bit sizes.
constexpr std::uint64_t kZip64From = 0xFFFF0000u;

// Entries this small keep no CRC-32 under AES: it would tell too much of them.
constexpr std::uint64_t kAesCrcFrom = 20;

std::uint16_t VersionNeeded(bool zip64, bool deflate, bool encrypted, bool aes) {
    return aes                      ? kVersionAes
           : zip64                  ? kVersionZip64
           : (deflate || encrypted) ? kVersionDeflated
                                    : kVersionStored;
}

AesInfo AesFor(std::uint16_t version, bool compress) {
    AesInfo info;
    info.version = version;
    info.strength = 3;
    info.method = compress ? kMethodDeflated : kMethodStored;
    return info;
}

} // namespace

EntryEncoder::EntryEncoder()
    : deflater_(std::make_unique<RawDeflater>()), in_(kChunk), out_(kChunk) {}
EntryEncoder::~EntryEncoder() = default;

EncodeResult EntryEncoder::Write(ArchiveWriter& writer, const NewEntry& entry, EntrySource& source,
                                 const std::function<bool(std::uint64_t)>& progress,
                                 CentralRecord& record) {
    const std::int64_t start = writer.Position();
    EncodeResult failure = EncodeResult::Ok;
    knownCrc_.reset();
    if (!entry.password.empty() && !entry.isDirectory && !entry.aes) {
        // The encryption header ends in the CRC's high byte, so the CRC comes first,
        // from a reading of its own. (Writing the CRC after the data, in a data
        // descriptor, makes some readers take entries with a Unicode name for overlaps.)
        std::uint32_t crc = 0;
        for (;;) {
            const std::int64_t n = source.Read(in_.data(), in_.size());
            if (n < 0) {
                return EncodeResult::SourceFailed;
            }
            if (n == 0) {
                break;
            }
            crc = UpdateCrc32(crc, in_.data(), static_cast<std::size_t>(n));
        }
        if (!source.Restart()) {
            return EncodeResult::SourceFailed;
        }
        knownCrc_ = crc;
    }
    bool compress = entry.level > 0 && entry.expectedSize > 0 && !entry.isDirectory;
    for (;;) {
        const Pass pass = WriteData(writer, entry, source, compress, progress, record, failure);
        if (pass == Pass::Done) {
            return EncodeResult::Ok;
        }
        writer.Truncate(start);
        if (pass == Pass::Failed) {
            return failure;
        }
        // Deflate made it larger: store it instead, from the first byte again.
        compress = false;
        if (!source.Restart()) {
            return EncodeResult::SourceFailed;
        }
    }
}

bool EntryEncoder::WriteHeader(ArchiveWriter& writer, const NewEntry& entry, bool compress,
                               Layout& layout) {
    layout.encrypted = !entry.password.empty() && !entry.isDirectory;
    layout.aes = layout.encrypted && entry.aes;
    layout.aesVersion = entry.expectedSize < kAesCrcFrom ? kAesVersion2 : kAesVersion1;
    layout.zip64 = entry.expectedSize >= kZip64From;
    layout.compress = compress;
    layout.flags = static_cast<std::uint16_t>((entry.utf8 ? kFlagUtf8 : 0) |
                                              (layout.encrypted ? kFlagEncrypted : 0));
    layout.headerAt = writer.Position();
    const bool zip64 = layout.zip64;

    std::string header;
    PutLe32(header, kLocalHeaderSignature);
    PutLe16(header, VersionNeeded(zip64, compress, layout.encrypted, layout.aes));
    PutLe16(header, layout.flags);
    PutLe16(header, layout.aes ? kMethodAes : compress ? kMethodDeflated : kMethodStored);
    PutLe32(header, entry.dosDateTime);
    PutLe32(header, 0);                          // CRC, patched
    PutLe32(header, zip64 ? kZip64Marker32 : 0); // sizes, patched
    PutLe32(header, zip64 ? kZip64Marker32 : 0);
    std::string extra;
    if (zip64) {
        PutLe16(extra, kExtraZip64);
        PutLe16(extra, 2 * sizeof(std::uint64_t)); // both sizes, patched
        PutLe64(extra, 0);
        PutLe64(extra, 0);
    }
    extra += Extra(entry, layout);
    PutLe16(header, entry.name.size());
    PutLe16(header, extra.size());
    header += entry.name;
    header += extra;
    if (!writer.Write(header)) {
        return false;
    }
    layout.dataAt = writer.Position();
    return true;
}

std::string EntryEncoder::Extra(const NewEntry& entry, const Layout& layout) const {
    return layout.aes ? AesExtraBlock(AesFor(layout.aesVersion, layout.compress)) + entry.extra
                      : entry.extra;
}

std::unique_ptr<AesCipher> EntryEncoder::StartAes(ArchiveWriter& writer, const NewEntry& entry) {
    const AesInfo info = AesFor(kAesVersion2, false); // the key length is all that counts here
    const AesKeys keys = entry.aesKeys ? entry.aesKeys() : DeriveAesKeys(info, entry.password);
    auto cipher = std::make_unique<AesCipher>(info, keys);
    if (!cipher->Ready() || !writer.Write(keys.salt) ||
        !writer.Write(cipher->Verifier().data(), cipher->Verifier().size())) {
        return nullptr;
    }
    return cipher;
}

EntryEncoder::Pass EntryEncoder::WriteData(ArchiveWriter& writer, const NewEntry& entry,
                                           EntrySource& source, bool compress,
                                           const std::function<bool(std::uint64_t)>& progress,
                                           CentralRecord& record, EncodeResult& failure) {
    Layout layout;
    if (!WriteHeader(writer, entry, compress, layout)) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    const bool zip64 = layout.zip64;
    std::unique_ptr<TraditionalCipher> cipher;
    std::unique_ptr<AesCipher> aes;
    if (layout.aes) {
        aes = StartAes(writer, entry);
        if (!aes) {
            failure = EncodeResult::WriteFailed;
            return Pass::Failed;
        }
    } else if (layout.encrypted) {
        cipher = std::make_unique<TraditionalCipher>(entry.password);
        std::uint8_t check[kEncryptionHeaderSize];
        cipher->MakeHeader(
            check, EncryptionCheckByte(layout.flags, knownCrc_.value_or(0), entry.dosDateTime));
        if (!writer.Write(check, sizeof check)) {
            failure = EncodeResult::WriteFailed;
            return Pass::Failed;
        }
    }
    if (compress && !deflater_->Start(entry.level)) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    auto emit = [&](std::uint8_t* data, std::size_t n) {
        if (cipher) {
            cipher->Encrypt(data, n);
        } else if (aes && !aes->Encrypt(data, n)) {
            return false;
        }
        return writer.Write(data, n);
    };

    std::uint32_t crc = 0;
    std::uint64_t total = 0, nextProgress = kProgressEvery;
    bool atEnd = entry.isDirectory;
    z_stream& z = deflater_->stream;
    for (;;) {
        std::size_t got = 0;
        if (!atEnd) {
            const std::int64_t n = source.Read(in_.data(), in_.size());
            if (n < 0) {
                failure = EncodeResult::SourceFailed;
                return Pass::Failed;
            }
            got = static_cast<std::size_t>(n);
            atEnd = got == 0;
            crc = UpdateCrc32(crc, in_.data(), got);
            total += got;
            if (!zip64 && total >= kZip64Marker32) {
                failure = EncodeResult::SourceGrew; // no room left for its size in the header
                return Pass::Failed;
            }
        }
        if (!compress) {
            if (got > 0 && !emit(in_.data(), got)) {
                failure = EncodeResult::WriteFailed;
                return Pass::Failed;
            }
        } else {
            z.next_in = in_.data();
            z.avail_in = static_cast<uInt>(got);
            int rc = Z_OK;
            do {
                z.next_out = out_.data();
                z.avail_out = static_cast<uInt>(out_.size());
                rc = deflate(&z, atEnd ? Z_FINISH : Z_NO_FLUSH);
                const std::size_t made = out_.size() - z.avail_out;
                if (made > 0 && !emit(out_.data(), made)) {
                    failure = EncodeResult::WriteFailed;
                    return Pass::Failed;
                }
            } while (z.avail_out == 0 || (atEnd && rc == Z_OK));
            // Past the whole expected size there is no gain left to hope for.
            if (static_cast<std::uint64_t>(writer.Position() - layout.dataAt) >
                entry.expectedSize + 64) {
                return Pass::Larger;
            }
        }
        if (total >= nextProgress || atEnd) {
            nextProgress = total + kProgressEvery;
            if (progress && !progress(total)) {
                failure = EncodeResult::Cancelled;
                return Pass::Failed;
            }
        }
        if (atEnd) {
            break;
        }
    }
    if (aes && !writer.Write(aes->Code().data(), kAesCodeSize)) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    return Close(writer, entry, layout, crc, total, record, failure);
}

EncodeResult EntryEncoder::Write(ArchiveWriter& writer, const NewEntry& entry,
                                 DeflatedSource& source,
                                 const std::function<bool(std::uint64_t)>& progress,
                                 CentralRecord& record) {
    const std::int64_t start = writer.Position();
    EncodeResult failure = EncodeResult::Ok;
    knownCrc_.reset();
    const Pass pass = WriteDeflated(writer, entry, source, progress, record, failure);
    if (pass == Pass::Done) {
        return EncodeResult::Ok;
    }
    writer.Truncate(start);
    if (pass == Pass::Failed) {
        return failure;
    }
    EntrySource& raw = source.Raw();
    if (!raw.Restart()) {
        return EncodeResult::SourceFailed;
    }
    if (WriteData(writer, entry, raw, false, progress, record, failure) == Pass::Done) {
        return EncodeResult::Ok;
    }
    writer.Truncate(start);
    return failure;
}

EntryEncoder::Pass EntryEncoder::WriteDeflated(ArchiveWriter& writer, const NewEntry& entry,
                                               DeflatedSource& source,
                                               const std::function<bool(std::uint64_t)>& progress,
                                               CentralRecord& record, EncodeResult& failure) {
    Layout layout;
    if (!WriteHeader(writer, entry, true, layout)) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    std::unique_ptr<AesCipher> aes;
    if (layout.aes && !(aes = StartAes(writer, entry))) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    std::uint32_t crc = 0;
    std::uint64_t total = 0, nextProgress = kProgressEvery;
    while (const DeflateJob* job = source.Next()) {
        if (job->failed) {
            failure = EncodeResult::WriteFailed;
            return Pass::Failed;
        }
        if (job->larger) {
            // Reported as a pass over the data, as one that deflates it would be.
            if (progress && !progress(total + job->size)) {
                failure = EncodeResult::Cancelled;
                return Pass::Failed;
            }
            return Pass::Larger;
        }
        // The job is the caller's until the next one is asked for.
        auto* made = const_cast<std::uint8_t*>(job->output.data());
        if ((aes && !aes->Encrypt(made, job->made)) || !writer.Write(made, job->made)) {
            failure = EncodeResult::WriteFailed;
            return Pass::Failed;
        }
        crc = static_cast<std::uint32_t>(
            crc32_combine(crc, job->crc, static_cast<z_off_t>(job->size)));
        total += job->size;
        if (!layout.zip64 && total >= kZip64Marker32) {
            failure = EncodeResult::SourceGrew;
            return Pass::Failed;
        }
        if (static_cast<std::uint64_t>(writer.Position() - layout.dataAt) >
            entry.expectedSize + 64) {
            return Pass::Larger;
        }
        if (total >= nextProgress) {
            nextProgress = total + kProgressEvery;
            if (progress && !progress(total)) {
                failure = EncodeResult::Cancelled;
                return Pass::Failed;
            }
        }
    }
    if (source.ReadFailed()) {
        failure = EncodeResult::SourceFailed;
        return Pass::Failed;
    }
    if (progress && !progress(total)) {
        failure = EncodeResult::Cancelled;
        return Pass::Failed;
    }
    if (aes && !writer.Write(aes->Code().data(), kAesCodeSize)) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    return Close(writer, entry, layout, crc, total, record, failure);
}

// Checks the sizes, patches them into the local header and makes the central record.
EntryEncoder::Pass EntryEncoder::Close(ArchiveWriter& writer, const NewEntry& entry,
                                       const Layout& layout, std::uint32_t crc, std::uint64_t total,
                                       CentralRecord& record, EncodeResult& failure) {
    const bool zip64 = layout.zip64;
    const std::uint64_t stored = static_cast<std::uint64_t>(writer.Position() - layout.dataAt);
    const std::uint64_t payload = stored - (layout.aes ? AesFor(layout.aesVersion, true).Overhead()
                                            : layout.encrypted ? kEncryptionHeaderSize
                                                               : 0);
    if (layout.compress && payload >= total) {
        return Pass::Larger;
    }
    if (!zip64 && stored >= kZip64Marker32) {
        failure = EncodeResult::SourceGrew;
        return Pass::Failed;
    }
    if (layout.encrypted && !layout.aes && crc != knownCrc_) {
        failure = EncodeResult::SourceChanged;
        return Pass::Failed;
    }
    if (layout.aes && layout.aesVersion == kAesVersion2) {
        crc = 0; // the authentication code stands for it
    }
    std::string fields;
    PutLe32(fields, crc);
    PutLe32(fields, zip64 ? kZip64Marker32 : stored);
    PutLe32(fields, zip64 ? kZip64Marker32 : total);
    bool patched = writer.Patch(layout.headerAt + static_cast<std::int64_t>(kLocalHeaderCrcOffset),
                                fields.data(), fields.size());
    if (zip64) {
        std::string sizes;
        PutLe64(sizes, total);
        PutLe64(sizes, stored);
        const std::int64_t blockAt =
            layout.headerAt + static_cast<std::int64_t>(kLocalHeaderSize + entry.name.size()) +
            4; // past the block's id and length
        patched = patched && writer.Patch(blockAt, sizes.data(), sizes.size());
    }
    if (!patched) {
        failure = EncodeResult::WriteFailed;
        return Pass::Failed;
    }
    record = CentralRecord{};
    record.versionMadeBy = kMadeByDos << 8 | kVersionDeflated; // MS-DOS attributes
    record.versionNeeded = VersionNeeded(zip64, layout.compress, layout.encrypted, layout.aes);
    record.flags = layout.flags;
    record.method = layout.aes ? kMethodAes : layout.compress ? kMethodDeflated : kMethodStored;
    record.dosDateTime = entry.dosDateTime;
    record.crc32 = crc;
    record.compressedSize = stored;
    record.uncompressedSize = total;
    record.externalAttributes = entry.dosAttributes;
    record.localHeaderOffset = static_cast<std::uint64_t>(layout.headerAt);
    record.name = entry.name;
    record.extra = Extra(entry, layout);
    return Pass::Done;
}

} // namespace zipfmt
