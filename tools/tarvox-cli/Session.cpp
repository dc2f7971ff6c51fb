#include "tools/tarvox-cli/Session.h"

#include <exception>

#include "platform/Console.h"
#include "tools/tarvox-cli/Commands.h"

Session::Session() {
    zip.AddCompLevel = 7; // where the program's slider starts
    zip.AddOptions = {AddOptsEnum::AddRecurseDirs, AddOptsEnum::AddHiddenFiles};
    zip.OnMessage = [](TZipEngine&, std::int32_t code, const std::string& text) {
        platform::WriteErrorLine(code != 0 ? text + " (error " + std::to_string(code) + ")" : text);
    };
    if (platform::StandardErrorIsTerminal()) {
        zip.OnProgress = [this](TZipEngine&, ProgressType type, const std::string& name,
                                std::int32_t size) {
            if (type == ProgressType::ProgrFileStart) {
                platform::WriteErrorText("\r\x1b[K" + name + " (" + std::to_string(size) +
                                         " bytes)");
                progressLine_ = true;
            } else if (type == ProgressType::ProgrBatchEnd && progressLine_) {
                platform::WriteErrorText("\r\x1b[K");
                progressLine_ = false;
            }
        };
    }
}

bool Session::Open(const std::string& archive) {
    try {
        zip.SetZipFilename(archive);
    } catch (const std::exception& error) {
        platform::WriteErrorLine(error.what());
        return false;
    }
    return true;
}

bool Session::Succeeds(void (TZipEngine::*operation)()) {
    const int messagesBefore = MessagesShown();
    try {
        (zip.*operation)();
    } catch (const std::exception& error) {
        // The archive changed but cannot be read back.
        platform::WriteErrorLine(error.what());
        return false;
    }
    // Every refusal and failure of the engine itself is a message; a call that was
    // made empties the specifications.
    return MessagesShown() == messagesBefore && zip.FSpecArgs.empty() && zip.ResultCount() > 0;
}
