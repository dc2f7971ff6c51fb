#pragma once
// What extracting one entry tells the caller: at once (LiveReport), or kept while the
// entry is written on another thread and told later by the calling thread, in the
// entries' order (KeptReport). Either way the caller hears the same records in the
// same order, and a stop answered at any of them undoes what a stop there undoes when
// files are written one after another.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engineapi/EngineReporter.h"
#include "platform/TempFile.h"

namespace unzdll {

class EntryReport {
public:
    virtual ~EntryReport() = default;

    virtual void FileStart(const std::string& name, std::uint64_t size) = 0;
    virtual void Progress(int percent) = 0;
    virtual void Error(std::int32_t code, const std::string& text) = 0;
    virtual void Info(const std::string& text) = 0;
    virtual bool Verbose() const = 0;
    // A point where the caller's stop takes effect: true when the work is to end here.
    virtual bool Stopped() = 0;
    // path is a file this entry made; it goes again if the entry is undone.
    virtual void Created(const std::string& path) = 0;
    // Puts a complete replacement in place of target and says so (doneText); false
    // when it could not.
    virtual bool Replace(std::unique_ptr<platform::TempFile> file, const std::string& target,
                         const std::string& doneText) = 0;
};

class LiveReport final : public EntryReport {
public:
    explicit LiveReport(engineapi::EngineReporter& reporter) : reporter_(reporter) {}
    // Whether the work ended at a stop.
    bool SawStop() const { return stopped_; }

    void FileStart(const std::string& name, std::uint64_t size) override {
        reporter_.FileStart(name, size);
    }
    void Progress(int percent) override { reporter_.Progress(percent); }
    void Error(std::int32_t code, const std::string& text) override { reporter_.Error(code, text); }
    void Info(const std::string& text) override { reporter_.Info(text); }
    bool Verbose() const override { return reporter_.Verbose(); }
    bool Stopped() override {
        stopped_ = reporter_.Cancelled();
        return stopped_;
    }
    void Created(const std::string&) override {}
    bool Replace(std::unique_ptr<platform::TempFile> file, const std::string& target,
                 const std::string& doneText) override;

private:
    engineapi::EngineReporter& reporter_;
    bool stopped_ = false;
};

class KeptReport final : public EntryReport {
public:
    explicit KeptReport(bool verbose) : verbose_(verbose) {}
    ~KeptReport() override;

    void FileStart(const std::string& name, std::uint64_t size) override;
    void Progress(int percent) override;
    void Error(std::int32_t code, const std::string& text) override;
    void Info(const std::string& text) override;
    bool Verbose() const override { return verbose_; }
    // Kept work goes on; the stop is looked for when the records are told.
    bool Stopped() override;
    void Created(const std::string& path) override { created_ = path; }
    bool Replace(std::unique_ptr<platform::TempFile> file, const std::string& target,
                 const std::string& doneText) override;

    // A folder made for this entry before its first record was told.
    void FolderMade(const std::string& path) { folders_.push_back(path); }
    // Whether the entry counts, once its work is done.
    void SetResult(bool counts) { counts_ = counts; }

    // Stopped: at a stop point inside the entry's work; StoppedAtStart: at the one
    // after its start, before anything of it happened.
    enum class Told { Counted, NotCounted, Stopped, StoppedAtStart };
    // Tells the kept records up to a stop, if any.
    Told Tell(engineapi::EngineReporter& reporter);
    // Takes back what the entry made: its file, and its folders too when nothing of it
    // was to happen (a stop at its start, or never told). Dropping an entry not told in
    // full undoes it whole.
    void Undo(bool withFolders);

private:
    enum class Kind { FileStart, Progress, Error, Info, StopPoint, Replace };
    struct Record {
        Kind kind;
        std::int32_t code = 0;
        std::uint64_t size = 0;
        std::string text;
    };

    bool verbose_;
    std::vector<Record> records_;
    std::vector<std::string> folders_;
    std::string created_;
    std::unique_ptr<platform::TempFile> replacement_;
    std::string target_;
    bool counts_ = false;
};

} // namespace unzdll
