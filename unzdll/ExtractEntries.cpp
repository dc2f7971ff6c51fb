#include "unzdll/ExtractEntries.h"

#include <algorithm>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/TempFile.h"
#include "unzdll/OutputFolders.h"
#include "util/Codepage.h"
#include "zipformat/Buffer.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntryPaths.h"
#include "zipformat/EntryReader.h"
#include "zipformat/EntrySelector.h"
#include "zipformat/LocalHeader.h"

namespace unzdll {

namespace {

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::uint64_t kProgressEvery = 1 << 20;

std::int32_t CodeFor(zipfmt::EntryStatus status) {
    switch (status) {
    case zipfmt::EntryStatus::Unsupported:
        return kErrUnsupported;
    case zipfmt::EntryStatus::NeedsPassword:
    case zipfmt::EntryStatus::BadPassword:
        return kErrPassword;
    case zipfmt::EntryStatus::ReadError:
        return kErrArchiveOpen;
    default:
        return kErrBadData;
    }
}

std::string Describe(zipfmt::EntryStatus status, const zipfmt::CentralEntry& entry) {
    switch (status) {
    case zipfmt::EntryStatus::Unsupported:
        return "unsupported compression method " + std::to_string(entry.method) +
               ((entry.flags & 0x41) == 0x41 ? " or encryption" : "");
    case zipfmt::EntryStatus::NeedsPassword:
        return "encrypted, and no password was given";
    case zipfmt::EntryStatus::BadPassword:
        return "wrong password (or damaged data)";
    case zipfmt::EntryStatus::Damaged:
        return "damaged data";
    case zipfmt::EntryStatus::BadCrc:
        return "bad CRC-32 or size";
    case zipfmt::EntryStatus::ReadError:
        return "the archive could not be read";
    default:
        return "";
    }
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + platform::PathSeparator() + name;
}

class ExtractJob {
public:
    ExtractJob(const ExtractRequest& request, zipfmt::EngineReporter& reporter)
        : request_(request), reporter_(reporter), buffer_(kChunk) {}

    std::int32_t Run() {
        if (request_.archive.empty()) {
            reporter_.Error(kErrBadCall, "No archive named");
            return 0;
        }
        archive_ = platform::FileHandle::OpenUtf8(request_.archive,
                                                  platform::FileHandle::Sharing::DenyWrite);
        if (!archive_) {
            reporter_.Error(kErrArchiveOpen, "Cannot open the archive " + request_.archive);
            return 0;
        }
        view_ = std::make_unique<zipfmt::ByteSourceOf<platform::FileHandle>>(*archive_);
        if (zipfmt::ReadArchiveDirectory(*view_, directory_) != zipfmt::DirectoryError::None) {
            reporter_.Error(kErrArchiveDamaged,
                            request_.archive +
                                " is not a zip archive, or it is damaged or truncated");
            return 0;
        }
        // Entries sharing data would let a small archive write without end.
        if (zipfmt::EntriesOverlap(directory_)) {
            reporter_.Error(kErrArchiveDamaged,
                            request_.archive + " is damaged: the data of its entries overlap");
            return 0;
        }
        const std::vector<bool> selected = Select();
        std::int32_t count = 0;
        for (std::size_t i = 0; i < directory_.entries.size() && !stop_; ++i) {
            if (selected[i] && Process(directory_.entries[i])) {
                ++count;
            }
        }
        if (stop_) {
            reporter_.Error(kErrCancelled, "Cancelled");
        }
        return count;
    }

private:
    std::vector<bool> Select() {
        const auto& entries = directory_.entries;
        std::vector<bool> selected(entries.size(), request_.specs.empty());
        zipfmt::EntrySelector selector(entries);
        for (const std::string& spec : request_.specs) {
            if (!selector.Select(spec, selected)) {
                reporter_.Error(kErrNothingMatched, "No entry matches " + util::Cp1252ToUtf8(spec));
            }
        }
        return selected;
    }

    bool Cancelled() {
        stop_ = stop_ || reporter_.Cancelled();
        return stop_;
    }

    // Extracts or tests one entry; true when it counts.
    bool Process(const zipfmt::CentralEntry& entry) {
        const std::string name =
            zipfmt::EntryNameUtf8(entry.versionMadeBy, entry.flags, entry.name, entry.extra);
        reporter_.FileStart(name, entry.uncompressedSize);
        if (Cancelled()) {
            return false;
        }
        const auto out = zipfmt::SafeOutputPath(name, request_.keepFolders);
        if (!out) {
            reporter_.Error(kErrUnsafeName,
                            "Refused " + name + ": it would be written outside the folder");
            return false;
        }
        if (request_.test) {
            return out->isDirectory || Verify(entry, name);
        }
        if (out->isDirectory && !request_.keepFolders) {
            return false;
        }
        std::vector<std::string> folders = out->folders;
        folders.push_back(out->leaf);
        if (!std::all_of(folders.begin(), folders.end(), platform::NameFitsFileSystem)) {
            reporter_.Error(kErrFileWrite, "Cannot write " + name +
                                               ": a name in it is too long for the file system");
            return false;
        }
        if (!out->isDirectory) {
            folders.pop_back();
        }
        std::string folder;
        switch (folders_.Make(folders, folder)) {
        case platform::FolderState::Ready:
            break;
        case platform::FolderState::Link:
            reporter_.Error(kErrUnsafeName, "Refused " + name + ": " + folder +
                                                " is a link, and it could lead outside the folder");
            return false;
        case platform::FolderState::Failed:
            reporter_.Error(kErrFileWrite, "Cannot create the folder " + folder + " for " + name);
            return false;
        }
        if (out->isDirectory) {
            return true;
        }
        const std::string target = Join(folder, out->leaf);
        if (const auto existing = platform::QueryPath(target)) {
            if (existing->isDirectory) {
                reporter_.Error(kErrFileWrite, "A folder stands where " + target + " would go");
                return false;
            }
            const bool older = existing->dosTime < entry.dosDateTime;
            if ((request_.update || request_.freshen) ? !older : !request_.overwrite) {
                reporter_.Info("Left alone: " + target);
                return false;
            }
            // Windows will not replace a read-only file; nor do we elsewhere.
            if (existing->readOnly) {
                reporter_.Error(kErrFileWrite, "Cannot replace " + target + ": it is read-only");
                return false;
            }
        } else if (request_.freshen) {
            return false; // freshen only replaces what is there
        }
        return Write(entry, name, target);
    }

    // Streams the entry's data into sink; reports and returns false on any failure.
    template <typename Sink>
    bool Stream(const zipfmt::CentralEntry& entry, const std::string& name, Sink&& sink) {
        zipfmt::LocalHeader local;
        if (!zipfmt::ReadLocalHeader(*view_, static_cast<std::int64_t>(entry.localHeaderPosition),
                                     directory_.centralStart, local)) {
            reporter_.Error(kErrArchiveDamaged,
                            name + ": no local header where the directory says");
            return false;
        }
        zipfmt::EntryReader reader(*view_, entry, local, directory_.centralStart,
                                   request_.password);
        std::uint64_t done = 0, sinceProgress = 0;
        for (;;) {
            const std::size_t n = reader.Read(buffer_.data(), buffer_.size());
            if (n == 0) {
                break;
            }
            if (!sink(buffer_.data(), n)) {
                return false;
            }
            done += n;
            sinceProgress += n;
            if (sinceProgress >= kProgressEvery) {
                sinceProgress = 0;
                reporter_.Progress(zipfmt::PercentOf(done, entry.uncompressedSize));
                if (Cancelled()) {
                    return false;
                }
            }
        }
        if (reader.Status() != zipfmt::EntryStatus::Ok) {
            reporter_.Error(CodeFor(reader.Status()),
                            name + ": " + Describe(reader.Status(), entry));
            return false;
        }
        reporter_.Progress(100);
        return !Cancelled();
    }

    bool Verify(const zipfmt::CentralEntry& entry, const std::string& name) {
        if (!Stream(entry, name, [](const std::uint8_t*, std::size_t) { return true; })) {
            return false;
        }
        reporter_.Info("OK: " + name);
        return true;
    }

    bool Write(const zipfmt::CentralEntry& entry, const std::string& name,
               const std::string& target) {
        auto temp = platform::TempFile::CreateBeside(target);
        if (!temp) {
            reporter_.Error(kErrFileWrite, "Cannot create " + target + " (no access or disk full)");
            return false;
        }
        std::int64_t at = 0;
        bool writeFailed = false;
        const bool streamed = Stream(entry, name, [&](const std::uint8_t* data, std::size_t n) {
            if (!temp->WriteAt(at, data, n)) {
                writeFailed = true;
                return false;
            }
            at += static_cast<std::int64_t>(n);
            return true;
        });
        if (writeFailed) {
            reporter_.Error(kErrFileWrite, "Cannot write " + target + " (disk full or no access)");
        }
        // Dropping temp removes the partial file; an existing file stays as it was.
        if (!streamed) {
            return false;
        }
        temp->SetDosTime(entry.dosDateTime);
        if (!temp->Commit(target, false)) {
            reporter_.Error(kErrFileWrite, "Cannot write " + target + " (in use or read-only)");
            return false;
        }
        reporter_.Info((entry.method == 8 ? "inflated: " : "extracted: ") + target);
        return true;
    }

    const ExtractRequest& request_;
    zipfmt::EngineReporter& reporter_;
    std::optional<platform::FileHandle> archive_;
    std::unique_ptr<zipfmt::ByteSource> view_;
    zipfmt::ArchiveDirectory directory_;
    zipfmt::Buffer buffer_;
    OutputFolders folders_;
    bool stop_ = false;
};

} // namespace

std::int32_t ExtractEntries(const ExtractRequest& request, zipfmt::EngineReporter& reporter) {
    return ExtractJob(request, reporter).Run();
}

} // namespace unzdll
