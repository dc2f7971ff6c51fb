#pragma once
// How an engine library talks to its caller during a call: through the callback of
// the call block, one record at a time, and hearing back whether to stop.

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "engineapi/CallBlocks.h"

namespace engineapi {

// Texts are given in UTF-8 and reach the caller in Windows-1252.
class EngineReporter {
public:
    EngineReporter(EngineCallbackFunction callback, void* caller, bool verbose)
        : callback_(callback), caller_(caller), verbose_(verbose) {}

    // Action 1: a file starts. Sizes past 2 GiB are reported as 2 GiB - 1.
    void FileStart(const std::string& name, std::uint64_t size);
    // Action 2, with the part of the current file done, in percent (0 to 100).
    void Progress(int percent);
    // Action 3; sent once, whatever was asked before.
    void BatchEnd();
    // A failure (code not 0), always sent.
    void Error(std::int32_t code, const std::string& text);
    // A remark the caller hears whatever the mode (code 0), such as a wait.
    void Notice(const std::string& text);
    // An informational message, sent in verbose mode only.
    void Info(const std::string& text);

    // True once the callback has answered "stop" (-1).
    bool Cancelled() const { return cancelled_; }
    bool Verbose() const { return verbose_; }

private:
    void Send(std::int32_t action, std::int32_t code, std::int64_t size, const std::string& text);

    EngineCallbackFunction callback_;
    void* caller_;
    bool verbose_;
    bool cancelled_ = false;
    bool ended_ = false;
};

// done of whole in whole percent, rounded down; 100 when whole is 0 or done.
int PercentOf(std::uint64_t done, std::uint64_t whole);

// The text of a call block field, read no further than its buffer: "" for none.
std::string CallBlockText(const char* text, std::size_t bufferSize);

// Whether a call block's count of file specifications fits the block at all: a
// negative or oversized one marks a block filled by mistake.
inline bool SpecCountFits(std::int32_t count) {
    return count >= 0 && static_cast<std::size_t>(count) <= kMaxFileSpecs;
}

// The file specifications of a call block: at most kMaxFileSpecs, empty ones dropped.
std::vector<std::string> CallBlockSpecs(char* const* specs, std::int32_t count);

// The names packed at data (kPackedSpecs), read no further than size bytes; empty
// ones dropped. Nothing for a size out of range.
std::vector<std::string> PackedCallBlockSpecs(const char* data, std::int32_t size);

// Runs an entry point's work: nothing thrown gets past it (it becomes a message),
// and the batch always ends with one action 3. Returns the work's count, or 0.
template <typename Work> std::int32_t RunAtBoundary(EngineReporter& reporter, Work&& work) {
    std::int32_t count = 0;
    try {
        count = work();
    } catch (const std::bad_alloc&) {
        reporter.Error(kErrInternal, "Out of memory; nothing was changed by the failed step");
        count = 0;
    } catch (const std::exception& e) {
        reporter.Error(kErrInternal, std::string("Internal error (") + e.what() +
                                         "); nothing was changed by the failed step");
        count = 0;
    } catch (...) {
        reporter.Error(kErrInternal, "Internal error; nothing was changed by the failed step");
        count = 0;
    }
    reporter.BatchEnd();
    return count;
}

// An execution entry point: nothing without a call block; otherwise a reporter on
// the block's callback, a count of names out of range refused, and work(block,
// reporter) run at the boundary.
template <typename Block, typename Work> std::int32_t RunExec(Block* block, Work&& work) {
    if (!block) {
        return 0;
    }
    EngineReporter reporter(block->Callback, block->Caller,
                            block->Verbose != 0 || block->Trace != 0);
    return RunAtBoundary(reporter, [&] {
        if (!SpecCountFits(block->SpecCount)) {
            reporter.Error(kErrBadCall, "The call block's count of names is out of range: " +
                                            std::to_string(block->SpecCount));
            return 0;
        }
        return work(*block, reporter);
    });
}

} // namespace engineapi
