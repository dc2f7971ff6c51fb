#pragma once
// How an engine library talks to its caller during a call: through the callback of
// the call block, one record at a time, and hearing back whether to stop.

#include <cstdint>
#include <string>

#include "zipformat/CallBlocks.h"

namespace zipfmt {

// Texts are given in UTF-8 and reach the caller in Windows-1252.
class EngineReporter {
public:
    EngineReporter(EngineCallbackFunction callback, void* caller, bool verbose)
        : callback_(callback), caller_(caller), verbose_(verbose) {}

    // Action 1: a file starts. Sizes past 2 GiB are reported as 2 GiB - 1.
    void FileStart(const std::string& name, std::uint64_t size);
    // Action 2.
    void Progress();
    // Action 3; sent once, whatever was asked before.
    void BatchEnd();
    // A failure (code not 0), always sent.
    void Error(std::int32_t code, const std::string& text);
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

// The text of a call block field, read no further than its buffer: "" for none.
std::string CallBlockText(const char* text, std::size_t bufferSize);

} // namespace zipfmt
