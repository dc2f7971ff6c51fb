#include "engine/DirectoryWalk.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/BufferedReader.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryNames.h"
#include "zipformat/LocalHeader.h"
#include "zipformat/RecordDecoders.h"
#include "zipformat/Records.h"

// The engine component's search ends quietly where the stand-alone reader's complains.
const DirectoryWalkRules kEngineWalkRules = {
    .walkEnded = "Error reading Zip File",
    .damagedHeader = "Error 2 reading Zip file",
    .entryOverruns = "Error 3 reading Zip file",
    .extraMoveFailed = "Error 4 reading Zip file",
    .dataMoveFailed = "Error 5 reading Zip file",
    .policy = WalkPolicy::SearchPastFalseStarts,
};

const DirectoryWalkRules kStandaloneWalkRules = {
    .searchEnded = {"Error 1a reading Zip File", "Error 1b reading Zip File",
                    "Error 1c reading Zip File", "Error 1d reading Zip File"},
    .attemptsExceeded = "Error reading Zip File",
    .walkEnded = "Error 1 reading Zip File",
    .damagedHeader = "Error reading Zip file",
    .entryOverruns = "Error reading Zip file",
    .extraMoveFailed = "Error reading Zip file",
    .dataMoveFailed = "Error reading Zip file",
    .policy = WalkPolicy::ListAsRead,
};

namespace {

// Room for a stored name; longer names are shortened to it.
constexpr std::size_t kNameBufferSize = 256;

// What the walk passes over after an entry's name.
struct DataSpan {
    std::int64_t compressed = 0; // negative: cannot be passed over
    bool descriptor = false;     // a data descriptor follows the data
    bool zip64 = false;          // the entry carries zip64 sizes
};

// Sizes of entries written with a data descriptor, found by their local header's
// file position in the central directory. Loaded on first need.
class CentralSizes {
public:
    explicit CentralSizes(const platform::FileHandle& file) : file_(file) {}

    const zipfmt::CentralEntry* Find(std::int64_t headerPosition) {
        if (!loaded_) {
            loaded_ = true;
            if (zipfmt::ReadArchiveDirectory(file_, directory_) == zipfmt::DirectoryError::None) {
                std::stable_sort(directory_.entries.begin(), directory_.entries.end(),
                                 [](const auto& a, const auto& b) {
                                     return a.localHeaderPosition < b.localHeaderPosition;
                                 });
            } else {
                directory_.entries.clear();
            }
        }
        const auto position = static_cast<std::uint64_t>(headerPosition);
        const auto& all = directory_.entries;
        const auto it = std::lower_bound(all.begin(), all.end(), position,
                                         [](const zipfmt::CentralEntry& e, std::uint64_t p) {
                                             return e.localHeaderPosition < p;
                                         });
        return it != all.end() && it->localHeaderPosition == position ? &*it : nullptr;
    }

private:
    const platform::FileHandle& file_;
    zipfmt::ArchiveDirectory directory_;
    bool loaded_ = false;
};

std::int32_t AsField(std::uint64_t value, std::int32_t otherwise) {
    return value <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
               ? static_cast<std::int32_t>(value)
               : otherwise;
}

// A 64-bit size as a distance to pass over; -1 when it cannot be one.
std::int64_t AsSpan(std::uint64_t size) {
    return size > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
               ? -1
               : static_cast<std::int64_t>(size);
}

class Walker {
public:
    Walker(const platform::FileHandle& file, const DirectoryWalkRules& rules,
           unsigned namesCodePage, std::vector<ZipDirEntry>& entries)
        : file_(file), in_(file), central_(file), rules_(rules), names_(namesCodePage),
          entries_(entries) {}

    // Names waiting for the archive's code page are read in it once the walk has met
    // them all, also when it fails.
    WalkEnd Run(std::int64_t start) {
        // One allocation for the whole list rather than a copy of it at every doubling.
        constexpr std::uint64_t kMostReserved = 1 << 20;
        entries_.reserve(entries_.size() +
                         std::min(zipfmt::StatedEntryCount(file_), kMostReserved));
        WalkEnd end;
        try {
            end = Walk(start);
        } catch (...) {
            ReadWaitingNames();
            throw;
        }
        ReadWaitingNames();
        return end;
    }

private:
    void ReadWaitingNames() {
        for (const std::size_t i : waiting_) {
            entries_[i].SetShownName(names_.Read(entries_[i].ShownName()));
        }
    }

    WalkEnd Walk(std::int64_t start) {
        in_.Seek(start);
        bool searching = true;
        for (;;) {
            std::uint32_t signature = zipfmt::kLocalHeaderSignature;
            if (searching) {
                if (!SearchLocalHeader()) {
                    return WalkEnd::NothingFound;
                }
                searching = false;
            } else {
                std::uint8_t bytes[4];
                if (in_.Read(bytes, 4) < 4) {
                    Fail(WalkFailure::WalkEnded, rules_.walkEnded);
                }
                signature = zipfmt::Le32(bytes);
            }
            if (signature == zipfmt::kCentralHeaderSignature ||
                signature == zipfmt::kEndOfCentralSignature) {
                return WalkEnd::Listed;
            }
            if (signature == zipfmt::kLocalHeaderSignature) {
                searching = !ReadEntry();
            }
        }
    }

    [[noreturn]] static void Fail(WalkFailure failure, const char* text) {
        throw DirectoryWalkError(failure, text);
    }

    // False when the search gives up quietly; raises where the rules give a text.
    static bool GiveUp(WalkFailure failure, const char* text) {
        if (text != nullptr) {
            Fail(failure, text);
        }
        return false;
    }

    // Reads up to and including "PK" 3 4. A byte that breaks a partial match is
    // consumed and not looked at again; only an attempt's first byte counts.
    bool SearchLocalHeader() {
        constexpr auto kByte = [](int i) {
            return static_cast<int>((zipfmt::kLocalHeaderSignature >> (8 * i)) & 0xFF);
        };
        static constexpr int kSignature[4] = {kByte(0), kByte(1), kByte(2), kByte(3)};
        for (;;) {
            int byte = in_.ReadByte();
            if (byte < 0) {
                return GiveUp(WalkFailure::SearchEnded, rules_.searchEnded[0]);
            }
            if (++attempts_ > kMaxSearchAttempts) {
                return GiveUp(WalkFailure::AttemptsExceeded, rules_.attemptsExceeded);
            }
            if (byte != kSignature[0]) {
                continue;
            }
            int matched = 1;
            for (; matched < 4; ++matched) {
                byte = in_.ReadByte();
                if (byte < 0) {
                    return GiveUp(WalkFailure::SearchEnded, rules_.searchEnded[matched]);
                }
                if (byte != kSignature[matched]) {
                    break;
                }
            }
            if (matched == 4) {
                return true;
            }
        }
    }

    // Reads one local header and passes over its data. False when the header is
    // dropped and the search for a first header goes on.
    bool ReadEntry() {
        const std::int64_t headerPosition = in_.Position() - 4;
        std::uint8_t bytes[zipfmt::kLocalHeaderFixedSize];
        if (in_.Read(bytes, sizeof bytes) < sizeof bytes) {
            return Damaged();
        }
        const zipfmt::LocalHeaderFixed fields = zipfmt::DecodeLocalHeaderFixed(bytes);
        ZipDirEntry entry{};
        entry.VersionNeeded = fields.versionNeeded;
        entry.GeneralFlags = fields.flags;
        entry.CompressionMethod = fields.method;
        entry.ModDateTime = fields.dosDateTime;
        entry.Crc32 = fields.crc32;
        // The list's sizes are signed 32-bit fields, which a marker fills with -1.
        entry.CompressedSize = static_cast<std::int32_t>(fields.compressedSize);
        entry.UncompressedSize = static_cast<std::int32_t>(fields.uncompressedSize);
        entry.NameLength = fields.nameLength;
        entry.ExtraLength = fields.extraLength;

        // The whole name is read, for the shown name; the list keeps its first bytes.
        name_.resize(entry.NameLength);
        if (in_.Read(name_.data(), name_.size()) < name_.size()) {
            return Damaged();
        }
        const std::size_t kept = std::min<std::size_t>(name_.size(), kNameBufferSize);
        entry.FileName.assign(name_.data(), ::strnlen(name_.data(), kept));
        entry.UncompressedSize64 = static_cast<std::uint32_t>(entry.UncompressedSize);
        entry.CompressedSize64 = static_cast<std::uint32_t>(entry.CompressedSize);

        const std::int64_t p = in_.Position();
        std::span<const std::uint8_t> extra = in_.Peek(entry.ExtraLength);
        if (extra.size() < entry.ExtraLength) {
            extra = {}; // cut by the file's end, which the walk reports below
        }
        const auto shown = names_.Offer(entry.GeneralFlags, name_, extra);
        const bool waiting = !shown;
        entry.SetShownName(waiting ? std::string_view(name_) : *shown);
        const DataSpan span = ResolveDataSpan(entry, headerPosition, extra);
        const bool listAsRead = rules_.policy == WalkPolicy::ListAsRead;
        if (listAsRead) {
            Append(entry, waiting);
        }
        // Compared as room left, so that a zip64 size near the 64-bit limit cannot wrap.
        const std::int64_t room = in_.Size() -
                                  static_cast<std::int64_t>(zipfmt::kEndOfCentralSize) - p -
                                  entry.ExtraLength;
        if (span.compressed < 0 || span.compressed > room) {
            if (SearchesOn()) {
                return false; // the search goes on from just after the name
            }
            Fail(WalkFailure::EntryOverruns, rules_.entryOverruns);
        }
        if (entry.ExtraLength > 0 && in_.Skip(entry.ExtraLength) != p + entry.ExtraLength) {
            Fail(WalkFailure::ExtraMoveFailed, rules_.extraMoveFailed);
        }
        const std::int64_t q = in_.Position();
        if (in_.Skip(span.compressed) != q + span.compressed) {
            Fail(WalkFailure::DataMoveFailed, rules_.dataMoveFailed);
        }
        if (span.descriptor) {
            PassDataDescriptor(span.zip64, entry.Crc32);
        }
        if (!listAsRead) {
            Append(std::move(entry), waiting);
        }
        return true;
    }

    // Whether a damaged header is a false start, after which the search goes on.
    bool SearchesOn() const {
        return rules_.policy == WalkPolicy::SearchPastFalseStarts && entries_.empty();
    }

    void Append(ZipDirEntry entry, bool waitingName) {
        if (waitingName) {
            waiting_.push_back(entries_.size());
        }
        entries_.push_back(std::move(entry));
    }

    bool Damaged() {
        if (SearchesOn()) {
            return false; // the search goes on after whatever was read
        }
        Fail(WalkFailure::DamagedHeader, rules_.damagedHeader);
    }

    // An entry written by a streaming tool has zero sizes in its local header (its
    // real sizes follow the data in a descriptor), and a zip64 entry has 0xFFFFFFFF
    // there. Its real sizes come from the zip64 block of its extra field or from its
    // central directory record, so that the walk lands on the next header.
    DataSpan ResolveDataSpan(ZipDirEntry& entry, std::int64_t headerPosition,
                             std::span<const std::uint8_t> extra) {
        // The 32-bit field reads negative from 2 GiB on; the span takes it unsigned.
        DataSpan span{.compressed = static_cast<std::int64_t>(entry.CompressedSize64)};
        const bool streamed = (entry.GeneralFlags & zipfmt::kFlagDataDescriptor) != 0;
        const bool marked = entry.CompressedSize == -1 || entry.UncompressedSize == -1;
        if (!streamed && !marked) {
            return span;
        }
        span.zip64 = !zipfmt::FindExtraBlock(extra, zipfmt::kExtraZip64).empty();
        const auto zip64 = marked ? zipfmt::DecodeLocalZip64Sizes(extra) : std::nullopt;
        const bool localSizes = zip64.has_value();
        if (localSizes) {
            entry.UncompressedSize64 = zip64->uncompressed;
            entry.CompressedSize64 = zip64->compressed;
            span.compressed = AsSpan(entry.CompressedSize64);
            entry.UncompressedSize = AsField(entry.UncompressedSize64, entry.UncompressedSize);
            entry.CompressedSize = AsField(entry.CompressedSize64, entry.CompressedSize);
        }
        // A marked entry without local zip64 sizes has them only in its central record.
        if (streamed || !localSizes) {
            if (const zipfmt::CentralEntry* central = central_.Find(headerPosition)) {
                span.compressed = AsSpan(central->compressedSize);
                span.descriptor = streamed;
                span.zip64 = span.zip64 || central->compressedSize >= zipfmt::kZip64Marker32 ||
                             central->uncompressedSize >= zipfmt::kZip64Marker32;
                if (streamed) {
                    entry.Crc32 = central->crc32;
                }
                entry.CompressedSize64 = central->compressedSize;
                entry.UncompressedSize64 = central->uncompressedSize;
                entry.CompressedSize = AsField(central->compressedSize, entry.CompressedSize);
                entry.UncompressedSize = AsField(central->uncompressedSize, entry.UncompressedSize);
            }
        }
        return span;
    }

    // The descriptor's signature is optional; its sizes are 4 or 8 bytes wide. Of the
    // possible lengths, the one followed by a signature the walk knows is taken; when
    // none is, nothing is passed over and the walk steps on as it would.
    void PassDataDescriptor(bool zip64, std::uint32_t crc) {
        const auto bytes = in_.Peek(28);
        const bool signed_ = bytes.size() >= 4 &&
                             zipfmt::Le32(bytes.data()) == zipfmt::kDataDescriptorSignature &&
                             crc != zipfmt::kDataDescriptorSignature;
        const std::size_t body =
            zip64 ? zipfmt::kZip64DataDescriptorSize : zipfmt::kDataDescriptorSize;
        for (const std::size_t length : {body + (signed_ ? 4 : 0), body, body + 4}) {
            if (bytes.size() == length) {
                in_.Skip(static_cast<std::int64_t>(length)); // the file ends right after it
                return;
            }
            if (bytes.size() >= length + 4) {
                const std::uint32_t next = zipfmt::Le32(bytes.data() + length);
                if (next == zipfmt::kLocalHeaderSignature ||
                    next == zipfmt::kCentralHeaderSignature ||
                    next == zipfmt::kEndOfCentralSignature) {
                    in_.Skip(static_cast<std::int64_t>(length));
                    return;
                }
            }
        }
    }

    const platform::FileHandle& file_;
    platform::BufferedReader in_;
    std::string name_; // the current entry's whole stored name
    CentralSizes central_;
    const DirectoryWalkRules& rules_;
    zipfmt::ArchiveNames names_;
    std::vector<std::size_t> waiting_; // entries whose ShownName is still the stored bytes
    std::vector<ZipDirEntry>& entries_;
    int attempts_ = 0;
};

} // namespace

WalkEnd WalkLocalHeaders(const platform::FileHandle& file, std::int64_t start,
                         const DirectoryWalkRules& rules, std::vector<ZipDirEntry>& entries,
                         unsigned namesCodePage) {
    return Walker(file, rules, namesCodePage, entries).Run(start);
}
