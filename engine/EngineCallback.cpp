#include "engine/EngineCallback.h"

#include <algorithm>

#include "engine/ZipEngine.h"

namespace {

// The record's text up to its terminator, never past the field.
std::string_view RecordText(const CallbackRecord& record) {
    const char* end = std::find(std::begin(record.Text), std::end(record.Text), '\0');
    return std::string_view(record.Text, static_cast<std::size_t>(end - record.Text));
}

} // namespace

std::string TrimMessageLineEnd(std::string_view text) {
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    const std::size_t length = text.size();
    if (length >= 2 && isBreak(text[length - 2])) {
        return std::string(text.substr(0, length - 2));
    }
    if (length >= 1 && isBreak(text[length - 1])) {
        return std::string(text.substr(0, length - 1));
    }
    return std::string(text);
}

std::int32_t ENGINE_CALL EngineCallback(CallbackRecord* record) {
    if (record == nullptr || record->Caller == nullptr) {
        return 0;
    }
    return static_cast<TZipEngine*>(record->Caller)->DeliverCallback(*record);
}

std::int32_t TZipEngine::DeliverCallback(const CallbackRecord& record) noexcept {
    // A failed handler stops the call: what the library still says goes unheard.
    if (!handlerErrors_.empty() && *handlerErrors_.back()) {
        return -1;
    }
    try {
        const std::int32_t action = record.ActionCode;
        if (action == kActionFileStart) {
            filePercent_ = 0;
        } else if (action == kActionProgress) {
            filePercent_ = std::clamp<std::int32_t>(record.FileSize, 0, 100);
        }
        if (action >= 1 && action <= 3 && OnProgress) {
            if (action == kActionFileStart) {
                OnProgress(*this, ProgressType::ProgrFileStart, std::string(RecordText(record)),
                           record.FileSize);
            } else {
                OnProgress(*this,
                           action == kActionProgress ? ProgressType::ProgrStep
                                                     : ProgressType::ProgrBatchEnd,
                           " ", 0);
            }
        } else if (action >= kActionMessage && OnMessage) {
            OnMessage(*this, record.ErrorCode, TrimMessageLineEnd(RecordText(record)));
        }
    } catch (...) {
        // Held until the call returns; the library is asked to stop.
        if (!handlerErrors_.empty()) {
            *handlerErrors_.back() = std::current_exception();
        }
        return -1;
    }
    return CancelRequested ? -1 : 0;
}
