#include "engineapi/EngineReporter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "util/Codepage.h"

namespace engineapi {

void EngineReporter::Send(std::int32_t action, std::int32_t code, std::int64_t size,
                          const std::string& text) {
    if (!callback_) {
        return;
    }
    CallbackRecord record{};
    record.RecordSize = static_cast<std::int32_t>(sizeof record);
    record.Caller = caller_;
    record.ActionCode = action;
    record.ErrorCode = code;
    record.FileSize = static_cast<std::int32_t>(std::clamp<std::int64_t>(size, 0, INT32_MAX));
    // The caller reads Windows-1252, as every text of the program.
    const std::string shown = util::Utf8ToCp1252Lossy(text);
    const std::size_t n = std::min(shown.size(), sizeof record.Text - 1);
    std::memcpy(record.Text, shown.data(), n);
    record.Text[n] = '\0';
    if (callback_(&record) == -1) {
        cancelled_ = true;
    }
}

void EngineReporter::FileStart(const std::string& name, std::uint64_t size) {
    Send(kActionFileStart, 0, static_cast<std::int64_t>(std::min<std::uint64_t>(size, INT32_MAX)),
         name);
}

void EngineReporter::Progress(int percent) {
    Send(kActionProgress, 0, std::clamp(percent, 0, 100), "");
}

int PercentOf(std::uint64_t done, std::uint64_t whole) {
    if (done >= whole) {
        return 100;
    }
    // Past 2^57 bytes a hundredfold would wrap: divide first there.
    return static_cast<int>(whole <= UINT64_MAX / 100 ? done * 100 / whole : done / (whole / 100));
}

void EngineReporter::BatchEnd() {
    if (!ended_) {
        ended_ = true;
        Send(kActionBatchEnd, 0, 0, "");
    }
}

void EngineReporter::Error(std::int32_t code, const std::string& text) {
    Send(kActionMessage, code, 0, text);
}

void EngineReporter::Notice(const std::string& text) {
    Send(kActionMessage, kErrNone, 0, text);
}

void EngineReporter::Info(const std::string& text) {
    if (verbose_) {
        Send(kActionMessage, kErrNone, 0, text);
    }
}

std::vector<std::string> CallBlockSpecs(char* const* specs, std::int32_t count) {
    std::vector<std::string> out;
    const std::int32_t n = std::clamp<std::int32_t>(count, 0, kMaxFileSpecs);
    for (std::int32_t i = 0; i < n; ++i) {
        std::string spec = CallBlockText(specs[i], kFileSpecBufferSize);
        if (!spec.empty()) {
            out.push_back(std::move(spec));
        }
    }
    return out;
}

std::string CallBlockText(const char* text, std::size_t bufferSize) {
    if (!text) {
        return {};
    }
    // The terminator may be missing: never look past the buffer.
    const void* end = std::memchr(text, '\0', bufferSize);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : bufferSize;
    return std::string(text, length);
}

} // namespace engineapi

namespace engineapi {

std::vector<std::string> PackedCallBlockSpecs(const char* data, std::int32_t size) {
    std::vector<std::string> specs;
    if (data == nullptr || size <= 0 || size > kMaxPackedSize) {
        return specs;
    }
    const std::string_view all(data, static_cast<std::size_t>(size));
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = std::min(all.find('\0', at), all.size());
        if (end > at) {
            specs.emplace_back(all.substr(at, end - at));
        }
        at = end + 1;
    }
    return specs;
}

} // namespace engineapi
