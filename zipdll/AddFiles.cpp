#include <algorithm>
#include <map>
#include <optional>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "zipdll/ArchiveUpdate.h"
#include "zipdll/DeflateAhead.h"
#include "zipdll/FileCollector.h"
#include "zipdll/FileSource.h"
#include "zipdll/KeysAhead.h"
#include "zipdll/Operations.h"
#include "zipformat/AesCipher.h"
#include "zipformat/EntryEncoder.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntryTimes.h"
#include "zipformat/Records.h"

namespace zipdll {

namespace {

// One file of the batch and the old entry it replaces, if any.
struct Planned {
    FoundFile file;
    zipfmt::StoredName name;
    std::optional<std::size_t> replaces;
    bool written = false;
    std::optional<std::size_t> ahead; // its place among the files deflated ahead
};

std::string MethodWord(const zipfmt::CentralRecord& r) {
    const auto aes = zipfmt::FindAesInfo(
        std::span(reinterpret_cast<const std::uint8_t*>(r.extra.data()), r.extra.size()));
    const std::uint16_t method = aes ? aes->method : r.method;
    return std::string(method == zipfmt::kMethodDeflated ? "deflated" : "stored") +
           (aes                                  ? ", AES-256"
            : (r.flags & zipfmt::kFlagEncrypted) ? ", encrypted"
                                                 : "");
}

class AddJob {
public:
    AddJob(const ZipRequest& request, engineapi::EngineReporter& reporter)
        : request_(request), reporter_(reporter), update_(request.archive, reporter) {}

    std::int32_t Run() {
        if (request_.archive.empty()) {
            reporter_.Error(kErrBadCall, "No archive named");
            return 0;
        }
        if (request_.encrypt && request_.password.empty()) {
            // Storing the files in the clear would fail the user silently.
            reporter_.Error(kErrPassword, "Encryption asked for without a password: nothing added");
            return 0;
        }
        if (!update_.Open(true)) {
            return 0;
        }
        Plan();
        if (plan_.empty()) {
            reporter_.Info("Nothing to add: the archive is unchanged");
            return 0;
        }
        if (!update_.Begin(AppendOnly())) {
            return 0;
        }
        std::int32_t written = 0;
        const auto& old = update_.Directory().entries;
        std::vector<Planned*> replacing(old.size(), nullptr);
        for (Planned& p : plan_) {
            if (p.replaces) {
                replacing[*p.replaces] = &p;
            }
        }
        StartDeflating(replacing);
        if (request_.encrypt && !request_.traditional) {
            const auto files = static_cast<std::size_t>(
                std::count_if(plan_.begin(), plan_.end(),
                              [](const Planned& p) { return !p.file.info.isDirectory; }));
            const unsigned threads = zipfmt::DeflatePool::DefaultThreads();
            keys_ = std::make_unique<KeysAhead>(request_.password, files, 2 * std::max(1u, threads),
                                                threads);
        }
        // Replaced entries keep their place; new ones follow the old.
        for (std::size_t i = 0; i < old.size(); ++i) {
            if (replacing[i]) {
                if (WriteFile(*replacing[i])) {
                    ++written;
                    continue;
                }
                if (stop_) {
                    return Abandon();
                }
            }
            if (!update_.CopyEntry(old[i]) || Cancelled()) {
                return Abandon();
            }
        }
        for (Planned& p : plan_) {
            if (!p.replaces) {
                if (WriteFile(p)) {
                    ++written;
                } else if (stop_) {
                    return Abandon();
                }
            }
        }
        ahead_.reset(); // its files closed, so that a move can delete them
        if (written == 0) {
            reporter_.Info("No file could be added: the archive is unchanged");
            return 0;
        }
        if (!update_.Commit()) {
            return 0;
        }
        Finish();
        return written;
    }

private:
    void Plan() {
        CollectOptions options;
        options.recurse = request_.recurse;
        options.keepFolders = request_.keepFolders;
        options.hiddenFiles = request_.hiddenFiles;
        options.dosNames = request_.dosNames;
        options.cwd = platform::CurrentDirectoryUtf8();
        options.exclude = request_.archive;
        const auto found =
            CollectFiles(request_.specs, options, [&](std::int32_t code, const std::string& text) {
                reporter_.Error(code, text);
            });
        std::map<std::string, std::size_t> oldByName;
        const auto& old = update_.Directory().entries;
        for (std::size_t i = 0; i < old.size(); ++i) {
            oldByName.emplace(old[i].name, i);
        }
        // Stored name -> the file that took it.
        std::map<std::string, std::string> taken;
        for (const FoundFile& file : found) {
            Planned p{file, zipfmt::MakeStoredName(file.storedName), std::nullopt, false, {}};
            const std::string key = PathKey(file.path, options.cwd);
            const auto [at, fresh] = taken.emplace(p.name.bytes, key);
            if (!fresh) {
                // One file named by two specifications is simply added once.
                if (at->second != key) {
                    reporter_.Error(kErrDuplicateName, "Two files would be stored as " +
                                                           file.storedName + "; kept the first");
                }
                continue;
            }
            const auto it = oldByName.find(p.name.bytes);
            if (it != oldByName.end()) {
                p.replaces = it->second;
                const bool newer = file.info.dosTime > old[it->second].dosDateTime;
                if ((request_.update || request_.freshen) && !newer) {
                    reporter_.Info("Up to date: " + file.storedName);
                    continue;
                }
            } else if (request_.freshen) {
                continue; // freshen only touches what the archive holds
            }
            plan_.push_back(std::move(p));
        }
    }

    // Files are written in place of the entries they replace, in the old order, and
    // then the new ones; those that deflate (unless under the traditional encryption,
    // which must know the CRC first) are deflated ahead in that order.
    void StartDeflating(const std::vector<Planned*>& replacing) {
        std::vector<zipdll::DeflateAhead::File> files;
        std::uint64_t pieces = 0;
        auto add = [&](Planned* p) {
            if (p && !p->file.info.isDirectory && p->file.info.size > 0 && request_.level > 0 &&
                !(request_.encrypt && request_.traditional)) {
                p->ahead = files.size();
                files.push_back({p->file.path, request_.level});
                const auto size = static_cast<std::uint64_t>(p->file.info.size);
                pieces += (size + zipfmt::kDeflateBlock - 1) / zipfmt::kDeflateBlock;
            }
        };
        for (Planned* p : replacing) {
            add(p);
        }
        for (Planned& p : plan_) {
            if (!p.replaces) {
                add(&p);
            }
        }
        // Threads cost more than they give when there is one piece to deflate: the
        // program's usual add of one small file.
        const unsigned threads = static_cast<unsigned>(std::min<std::uint64_t>(
            zipfmt::DeflatePool::DefaultThreads(), pieces > 1 ? pieces : 0));
        ahead_ = std::make_unique<zipdll::DeflateAhead>(std::move(files), threads);
    }

    // Plain adds of new names leave every old entry where it is; updating, freshening
    // and moving keep the rewrite.
    bool AppendOnly() const {
        return !request_.update && !request_.freshen && !request_.move &&
               std::none_of(plan_.begin(), plan_.end(),
                            [](const Planned& p) { return p.replaces.has_value(); });
    }

    bool Cancelled() {
        if (reporter_.Cancelled()) {
            stop_ = true;
        }
        return stop_;
    }

    // Writes one file as an entry; false when it was not written (reported).
    bool WriteFile(Planned& p) {
        const bool folder = p.file.info.isDirectory;
        reporter_.FileStart(p.file.storedName,
                            folder ? 0 : static_cast<std::uint64_t>(p.file.info.size));
        if (Cancelled()) {
            return false;
        }
        std::optional<platform::FileHandle> opened;
        const platform::FileHandle* input = nullptr;
        if (p.ahead) {
            input = ahead_->Take(*p.ahead);
        } else if (!folder) {
            opened = platform::FileHandle::OpenUtf8(p.file.path,
                                                    platform::FileHandle::Sharing::AllowWrite);
            input = opened ? &*opened : nullptr;
        }
        if (!folder && !input) {
            reporter_.Error(kErrFileRead, "Cannot open " + p.file.path + "; not added");
            return false;
        }
        zipfmt::NewEntry entry;
        entry.name = p.name.bytes;
        entry.utf8 = p.name.utf8;
        entry.extra = p.name.extra + zipfmt::TimeExtraBlocks(p.file.info.times);
        entry.dosDateTime = p.file.info.dosTime;
        entry.dosAttributes = p.file.info.dosAttributes;
        entry.isDirectory = folder;
        entry.level = request_.level;
        entry.password =
            request_.encrypt ? std::string_view(request_.password) : std::string_view();
        entry.aes = !request_.traditional;
        if (keys_) {
            entry.aesKeys = [this] { return keys_->Next(); };
        }
        entry.expectedSize = input ? static_cast<std::uint64_t>(input->Size()) : 0;
        FileSource source(input);
        zipfmt::CentralRecord record;
        const auto progress = [&](std::uint64_t done) {
            reporter_.Progress(engineapi::PercentOf(done, entry.expectedSize));
            return !reporter_.Cancelled();
        };
        const auto result = p.ahead
                                ? encoder_.Write(update_.Writer(), entry, *ahead_, progress, record)
                                : encoder_.Write(update_.Writer(), entry, source, progress, record);
        switch (result) {
        case zipfmt::EncodeResult::Ok:
            break;
        case zipfmt::EncodeResult::Cancelled:
            stop_ = true;
            return false;
        case zipfmt::EncodeResult::WriteFailed:
            reporter_.Error(kErrArchiveWrite, "Cannot write the new archive beside " +
                                                  request_.archive + " (disk full or no access)");
            stop_ = true;
            return false;
        case zipfmt::EncodeResult::SourceGrew:
            reporter_.Error(kErrFileRead,
                            p.file.path + " grew past 4 GiB while it was read; not added");
            return false;
        case zipfmt::EncodeResult::SourceChanged:
            reporter_.Error(kErrFileRead, p.file.path + " changed while it was read; not added");
            return false;
        case zipfmt::EncodeResult::SourceFailed:
            reporter_.Error(kErrFileRead, "Cannot read " + p.file.path + "; not added");
            return false;
        }
        if (reporter_.Verbose()) {
            const auto ratio =
                record.uncompressedSize == 0
                    ? 0
                    : 100 - static_cast<int>(record.compressedSize * 100 / record.uncompressedSize);
            reporter_.Info(std::string(p.replaces ? "updating: " : "adding: ") + p.file.storedName +
                           " (" + MethodWord(record) + " " + std::to_string(ratio) + "%)");
        }
        update_.Writer().AddCentral(std::move(record));
        p.written = true;
        return true;
    }

    std::int32_t Abandon() {
        if (reporter_.Cancelled()) {
            reporter_.Error(kErrCancelled, "Cancelled: the archive is unchanged");
        }
        return 0;
    }

    // What comes after the archive is safely in place: its time, the moved files.
    void Finish() {
        if (request_.zipTime) {
            update_.StampNewestTime();
        }
        if (!request_.move) {
            return;
        }
        for (const Planned& p : plan_) {
            if (p.written && !p.file.info.isDirectory && !platform::RemoveFile(p.file.path)) {
                reporter_.Error(kErrMoveFailed, "Added but could not delete " + p.file.path);
            }
        }
        // Folders last and deepest first; only those left empty go.
        for (auto it = plan_.rbegin(); it != plan_.rend(); ++it) {
            if (it->written && it->file.info.isDirectory) {
                platform::RemoveEmptyDirectory(it->file.path);
            }
        }
    }

    const ZipRequest& request_;
    engineapi::EngineReporter& reporter_;
    ArchiveUpdate update_;
    zipfmt::EntryEncoder encoder_;
    std::unique_ptr<zipdll::DeflateAhead> ahead_;
    std::unique_ptr<KeysAhead> keys_;
    std::vector<Planned> plan_;
    bool stop_ = false;
};

} // namespace

std::int32_t AddFiles(const ZipRequest& request, engineapi::EngineReporter& reporter) {
    return AddJob(request, reporter).Run();
}

} // namespace zipdll
