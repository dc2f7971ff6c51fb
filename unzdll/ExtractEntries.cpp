#include "unzdll/ExtractEntries.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "unzdll/EntryReport.h"
#include "unzdll/EntryWriter.h"
#include "unzdll/OutputFolders.h"
#include "unzdll/WriterPool.h"
#include "util/AsciiCase.h"
#include "util/Codepage.h"
#include "zipformat/Buffer.h"
#include "zipformat/CentralDirectory.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntryPaths.h"
#include "zipformat/EntrySelector.h"
#include "zipformat/LocalHeaderScan.h"

namespace unzdll {

namespace {

constexpr std::size_t kChunk = 256 * 1024;
// Entries no larger than this, stored and as data, are written on the pool: they have
// no progress steps of their own, so telling them a little later changes nothing the
// caller sees. Larger ones are written here, their progress told as it comes.
constexpr std::uint64_t kPooledLargest = 1 << 20;
constexpr std::size_t kWriters = 4;
// Entries written ahead of the one told last; each holds no more than its records.
constexpr std::size_t kAhead = 16 * kWriters;

// One key for the names a file system may take for one file: ASCII letters in one
// case, every other character as "?", no trailing dots or blanks.
std::string NameKey(const std::string& name) {
    std::string key;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            key += util::AsciiUpper(c);
        } else if (u >= 0xC0) {
            key += '?'; // a character's first byte; the bytes after it add nothing
        }
    }
    while (!key.empty() && (key.back() == '.' || key.back() == ' ')) {
        key.pop_back();
    }
    return key;
}

// An entry on its way: placed here, written on the pool, told in its turn.
struct Pending {
    explicit Pending(bool verbose) : report(verbose) {}
    KeptReport report;
    const zipfmt::CentralEntry* entry = nullptr;
    std::string name, target, key;
    bool posted = false;
    bool done = false; // under the pool's lock once posted
};

class ExtractJob {
public:
    ExtractJob(const ExtractRequest& request, engineapi::EngineReporter& reporter)
        : request_(request), reporter_(reporter), buffer_(kChunk) {}
    ~ExtractJob() { Abandon(); }
    ExtractJob(const ExtractJob&) = delete;
    ExtractJob& operator=(const ExtractJob&) = delete;

    std::int32_t Run() {
        if (request_.archive.empty()) {
            reporter_.Error(kErrBadCall, "No archive named");
            return 0;
        }
        // A writer of ours may hold the archive open for writing; it changes it only
        // under the lock this call holds for reading.
        archive_ = platform::FileHandle::OpenUtf8(request_.archive,
                                                  platform::FileHandle::Sharing::AllowWrite);
        if (!archive_) {
            reporter_.Error(kErrArchiveOpen, "Cannot open the archive " + request_.archive);
            return 0;
        }
        view_ = std::make_unique<zipfmt::ByteSourceOf<platform::FileHandle>>(*archive_);
        const zipfmt::DirectoryError error = zipfmt::ReadArchiveDirectory(*view_, directory_);
        if (error != zipfmt::DirectoryError::None && !Recover(error)) {
            return 0;
        }
        // Entries sharing data would let a small archive write without end.
        if (zipfmt::EntriesOverlap(directory_)) {
            reporter_.Error(kErrArchiveDamaged,
                            request_.archive + " is damaged: the data of its entries overlap");
            return 0;
        }
        source_.emplace(EntrySource{*view_, directory_.centralStart, request_});
        names_ = zipfmt::DirectoryNames(directory_.entries, request_.namesCodePage);
        const std::vector<bool> selected = Select();
        for (std::size_t i = 0; i < directory_.entries.size() && !stop_; ++i) {
            if (!selected[i]) {
                continue;
            }
            if (request_.test) {
                Test(directory_.entries[i]);
            } else {
                Extract(directory_.entries[i]);
            }
        }
        TellUntil(nullptr);
        if (stop_) {
            reporter_.Error(kErrCancelled, "Cancelled");
        }
        return count_;
    }

private:
    // Without a whole central directory (a download cut short), the entries are taken
    // from their local headers: every entry whose data is there can still be read.
    bool Recover(zipfmt::DirectoryError error) {
        const std::string problem = request_.archive + " " + zipfmt::DescribeDirectoryError(error);
        // Its local headers are those of the entries in this part only.
        if (error == zipfmt::DirectoryError::SplitArchive) {
            reporter_.Error(kErrSplitArchive, problem);
            return false;
        }
        zipfmt::ScannedArchive scanned = zipfmt::ScanLocalHeaders(*view_);
        if (scanned.entries.empty() && scanned.lost.empty()) {
            reporter_.Error(kErrArchiveDamaged, problem);
            return false;
        }
        reporter_.Error(kErrArchiveDamaged,
                        problem + "; its entries are read from their local headers");
        // The lost entries' names are read in the code page of the whole archive, as the
        // others' will be.
        std::vector<zipfmt::CentralEntry> all = scanned.entries;
        for (const zipfmt::LostEntry& lost : scanned.lost) {
            all.push_back(lost.entry);
        }
        const std::vector<std::string> names = zipfmt::DirectoryNames(all, request_.namesCodePage);
        for (std::size_t i = 0; i < scanned.lost.size(); ++i) {
            reporter_.Error(kErrArchiveDamaged,
                            names[scanned.entries.size() + i] + ": " + scanned.lost[i].why);
        }
        directory_ = zipfmt::ArchiveDirectory{};
        directory_.entries = std::move(scanned.entries);
        directory_.centralStart = view_->Size();
        return true;
    }

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

    // The name the contents list shows, which the written file takes.
    const std::string& NameOf(const zipfmt::CentralEntry& entry) const {
        return names_[static_cast<std::size_t>(&entry - directory_.entries.data())];
    }

    // Entries are inflated and checked on every core; what each tells is told in the
    // entries' order, as for an extraction.
    void Test(const zipfmt::CentralEntry& entry) {
        Pending* p = Enqueue(entry);
        if (p == nullptr) {
            return;
        }
        const auto out = zipfmt::SafeOutputPath(p->name, request_.keepFolders);
        if (!out) {
            p->report.Error(kErrUnsafeName,
                            "Refused " + p->name + ": it would be written outside the folder");
        }
        if (!out || out->isDirectory) {
            p->report.SetResult(out.has_value());
            TellReady();
            return;
        }
        Post(*p, [this, p] {
            zipfmt::Buffer buffer(JobBufferSize(*p->entry));
            const bool good = StreamEntry(*source_, *p->entry, p->name, buffer, p->report,
                                          [](const std::uint8_t*, std::size_t) { return true; });
            if (good) {
                p->report.Info("OK: " + p->name);
            }
            p->report.SetResult(good);
        });
    }

    // A new entry at the end of the queue, once there is room; nullptr at a stop.
    Pending* Enqueue(const zipfmt::CentralEntry& entry) {
        TellReady();
        while (queue_.size() >= kAhead && !stop_) {
            TellFront();
        }
        if (stop_) {
            return nullptr;
        }
        queue_.push_back(std::make_unique<Pending>(reporter_.Verbose()));
        Pending& p = *queue_.back();
        p.entry = &entry;
        p.name = NameOf(entry);
        p.report.FileStart(p.name, entry.uncompressedSize);
        p.report.Stopped(); // a stop answered to the start ends it before anything is made
        return &p;
    }

    static std::size_t JobBufferSize(const zipfmt::CentralEntry& entry) {
        return static_cast<std::size_t>(
            std::max<std::uint64_t>(1, std::min<std::uint64_t>(kChunk, entry.uncompressedSize)));
    }

    void Extract(const zipfmt::CentralEntry& entry) {
        TellReady();
        while (queue_.size() >= kAhead && !stop_) {
            TellFront();
        }
        if (stop_) {
            return;
        }
        auto pending = std::make_unique<Pending>(reporter_.Verbose());
        Pending& p = *pending;
        p.entry = &entry;
        p.name = NameOf(entry);
        p.report.FileStart(p.name, entry.uncompressedSize);
        p.report.Stopped(); // a stop answered to the start ends it before anything is made
        const bool counts = Place(p);
        if (stop_) {
            return; // a stop told while making room: dropping p takes back its folders
        }
        if (p.target.empty()) {
            p.report.SetResult(counts);
            queue_.push_back(std::move(pending));
            TellReady();
            return;
        }
        if (entry.uncompressedSize > kPooledLargest || entry.compressedSize > kPooledLargest) {
            WriteHere(p);
            return;
        }
        queue_.push_back(std::move(pending));
        inFlight_[p.key] = &p;
        Post(p);
    }

    // The entry's place: refused names, its folders made. Sets p.target when a file is
    // to be written there; true when the entry counts as it is (a folder).
    bool Place(Pending& p) {
        KeptReport& report = p.report;
        const auto out = zipfmt::SafeOutputPath(p.name, request_.keepFolders);
        if (!out) {
            report.Error(kErrUnsafeName,
                         "Refused " + p.name + ": it would be written outside the folder");
            return false;
        }
        if (out->isDirectory && !request_.keepFolders) {
            return false;
        }
        std::vector<std::string> folders = out->folders;
        folders.push_back(out->leaf);
        if (!std::all_of(folders.begin(), folders.end(), platform::NameFitsFileSystem)) {
            report.Error(kErrFileWrite, "Cannot write " + p.name +
                                            ": a name in it is too long for the file system");
            return false;
        }
        if (!out->isDirectory) {
            folders.pop_back();
        }
        // A folder about to be made may have the name of a file still being written:
        // that file goes first, as it would one after the other.
        if (!folders_.Known(folders) &&
            std::any_of(folders.begin(), folders.end(),
                        [&](const std::string& f) { return inFlight_.contains(NameKey(f)); })) {
            TellUntil(nullptr);
            if (stop_) {
                return false;
            }
        }
        std::string folder;
        std::vector<std::string> made;
        const platform::FolderState state = folders_.Make(folders, folder, made);
        for (const std::string& f : made) {
            report.FolderMade(f);
        }
        switch (state) {
        case platform::FolderState::Made:
        case platform::FolderState::Ready:
            break;
        case platform::FolderState::Link:
            report.Error(kErrUnsafeName, "Refused " + p.name + ": " + folder +
                                             " is a link, and it could lead outside the folder");
            return false;
        case platform::FolderState::Failed:
            report.Error(kErrFileWrite, "Cannot create the folder " + folder + " for " + p.name);
            return false;
        }
        if (out->isDirectory) {
            return true;
        }
        std::string target = platform::JoinPath(folder, out->leaf);
        // A second entry that would land on the file of another (folders dropped, or a
        // name that differs only in case where case does not count) would be skipped or
        // write over it without a word. The same name twice is an update of the entry,
        // and written in order as ever.
        if (const auto [first, fresh] = targets_.try_emplace(platform::FileNameKey(target), p.name);
            !fresh && first->second != p.name) {
            report.Error(kErrDuplicateName, "Cannot write " + p.name +
                                                ": it would be the same file as the entry " +
                                                first->second);
            return false;
        }
        p.target = std::move(target);
        p.key = NameKey(out->leaf);
        // Two entries for one file are written in their order.
        if (const auto same = inFlight_.find(p.key); same != inFlight_.end()) {
            TellUntil(same->second);
        }
        return false;
    }

    // A large entry: everything before it is told, then it is written on this thread.
    void WriteHere(Pending& p) {
        TellUntil(nullptr);
        if (stop_) {
            return;
        }
        switch (p.report.Tell(reporter_)) {
        case KeptReport::Told::Stopped:
        case KeptReport::Told::StoppedAtStart:
            stop_ = true;
            return; // nothing of it happened yet: dropping p takes back its folders
        default:
            break;
        }
        LiveReport live(reporter_);
        if (WriteEntryFile(*source_, *p.entry, p.name, p.target, buffer_, live)) {
            ++count_;
        }
        stop_ = live.SawStop();
    }

    void Post(Pending& p) {
        Post(p, [this, &p] {
            zipfmt::Buffer buffer(JobBufferSize(*p.entry));
            p.report.SetResult(
                WriteEntryFile(*source_, *p.entry, p.name, p.target, buffer, p.report));
        });
    }

    // Runs work on the pool unless the call was abandoned; a failure is the entry's.
    template <typename Work> void Post(Pending& p, Work work) {
        if (!pool_) {
            // Testing is all inflating, which every core can share; writing files is
            // bounded by the file system.
            pool_ = std::make_unique<WriterPool>(
                request_.test ? std::max(1u, std::thread::hardware_concurrency()) : kWriters);
        }
        pool_->Post(
            [this, &p, work] {
                if (abandoned_) {
                    return;
                }
                try {
                    work();
                } catch (const std::bad_alloc&) {
                    p.report.Error(kErrInternal, "Out of memory; " + Unfinished(p));
                } catch (...) {
                    p.report.Error(kErrInternal, "Internal error; " + Unfinished(p));
                }
            },
            p.done);
        p.posted = true;
    }

    static std::string Unfinished(const Pending& p) {
        return p.target.empty() ? p.name + " was not tested" : p.target + " was not written";
    }

    bool Done(Pending& p) { return !p.posted || pool_->IsDone(p.done); }

    void TellReady() {
        while (!queue_.empty() && !stop_ && Done(*queue_.front())) {
            TellFront();
        }
    }

    // Tells entries in order, waiting for each, through last (all when nullptr).
    void TellUntil(const Pending* last) {
        while (!queue_.empty() && !stop_) {
            const bool isLast = queue_.front().get() == last;
            TellFront();
            if (isLast) {
                break;
            }
        }
    }

    void TellFront() {
        std::unique_ptr<Pending> p = std::move(queue_.front());
        queue_.pop_front();
        if (p->posted) {
            pool_->Wait(p->done);
        }
        if (const auto it = inFlight_.find(p->key);
            it != inFlight_.end() && it->second == p.get()) {
            inFlight_.erase(it);
        }
        const KeptReport::Told told = p->report.Tell(reporter_);
        switch (told) {
        case KeptReport::Told::Counted:
            ++count_;
            break;
        case KeptReport::Told::NotCounted:
            break;
        case KeptReport::Told::Stopped:
        case KeptReport::Told::StoppedAtStart:
            stop_ = true;
            Abandon(); // what was written ahead goes first: it may lie in p's folders
            p->report.Undo(told == KeptReport::Told::StoppedAtStart);
            break;
        }
    }

    // Takes back every entry not yet told, the latest first.
    void Abandon() {
        abandoned_ = true;
        for (const auto& p : queue_) {
            if (p->posted) {
                pool_->Wait(p->done);
            }
        }
        while (!queue_.empty()) {
            queue_.pop_back();
        }
        inFlight_.clear();
    }

    const ExtractRequest& request_;
    engineapi::EngineReporter& reporter_;
    std::optional<platform::FileHandle> archive_;
    std::unique_ptr<zipfmt::ByteSource> view_;
    zipfmt::ArchiveDirectory directory_;
    std::vector<std::string> names_; // of the directory's entries, in order
    std::optional<EntrySource> source_;
    zipfmt::Buffer buffer_;
    OutputFolders folders_;
    std::deque<std::unique_ptr<Pending>> queue_;           // placed, not yet told, in order
    std::unordered_map<std::string, Pending*> inFlight_;   // by NameKey of their file
    std::unordered_map<std::string, std::string> targets_; // file, folded: its first entry
    std::atomic<bool> abandoned_{false};
    std::unique_ptr<WriterPool> pool_;
    std::int32_t count_ = 0;
    bool stop_ = false;
};

} // namespace

std::int32_t ExtractEntries(const ExtractRequest& request, engineapi::EngineReporter& reporter) {
    return ExtractJob(request, reporter).Run();
}

} // namespace unzdll
