#include "unzdll/EntryReport.h"

#include <algorithm>

#include "platform/FileSystem.h"

namespace unzdll {

namespace {

std::string CommitFailure(const std::string& target) {
    return "Cannot write " + target + " (in use or read-only)";
}

} // namespace

bool LiveReport::Replace(std::unique_ptr<platform::TempFile> file, const std::string& target,
                         const std::string& doneText) {
    if (!file->Commit(target, false)) {
        reporter_.Error(kErrFileWrite, CommitFailure(target));
        return false;
    }
    reporter_.Info(doneText);
    return true;
}

KeptReport::~KeptReport() {
    Undo(true);
}

void KeptReport::FileStart(const std::string& name, std::uint64_t size) {
    records_.push_back({Kind::FileStart, 0, size, name});
}

void KeptReport::Progress(int percent) {
    records_.push_back({Kind::Progress, percent, 0, {}});
}

void KeptReport::Error(std::int32_t code, const std::string& text) {
    records_.push_back({Kind::Error, code, 0, text});
}

void KeptReport::Info(const std::string& text) {
    if (verbose_) {
        records_.push_back({Kind::Info, 0, 0, text});
    }
}

bool KeptReport::Stopped() {
    records_.push_back({Kind::StopPoint, 0, 0, {}});
    return false;
}

bool KeptReport::Replace(std::unique_ptr<platform::TempFile> file, const std::string& target,
                         const std::string& doneText) {
    replacement_ = std::move(file);
    target_ = target;
    records_.push_back({Kind::Replace, 0, 0, doneText});
    return true;
}

KeptReport::Told KeptReport::Tell(engineapi::EngineReporter& reporter) {
    bool started = false; // past the stop point that follows the file's start
    for (const Record& r : records_) {
        switch (r.kind) {
        case Kind::FileStart:
            reporter.FileStart(r.text, r.size);
            break;
        case Kind::Progress:
            reporter.Progress(r.code);
            break;
        case Kind::Error:
            reporter.Error(r.code, r.text);
            break;
        case Kind::Info:
            reporter.Info(r.text);
            break;
        case Kind::StopPoint:
            if (reporter.Cancelled()) {
                return started ? Told::Stopped : Told::StoppedAtStart;
            }
            started = true;
            break;
        case Kind::Replace: {
            const bool committed = replacement_->Commit(target_, false);
            replacement_.reset();
            if (committed) {
                reporter.Info(r.text);
            } else {
                reporter.Error(kErrFileWrite, CommitFailure(target_));
                counts_ = false;
            }
            break;
        }
        }
    }
    // Told in full: nothing is to be taken back any more.
    folders_.clear();
    created_.clear();
    return counts_ ? Told::Counted : Told::NotCounted;
}

void KeptReport::Undo(bool withFolders) {
    replacement_.reset();
    if (!created_.empty()) {
        platform::RemoveFile(created_);
        created_.clear();
    }
    if (withFolders) {
        std::for_each(folders_.rbegin(), folders_.rend(),
                      [](const std::string& f) { platform::RemoveEmptyDirectory(f); });
    }
    folders_.clear();
}

} // namespace unzdll
