#include "tools/tarvox-cli/Session.h"

#include <exception>
#include <filesystem>

#include "platform/Console.h"
#include "platform/FileHandle.h"
#include "platform/ProgramPaths.h"
#include "tools/tarvox-cli/Commands.h"

Session::Session() {
    zip.AddCompLevel = 7; // where the program's slider starts
    zip.AddOptions = {AddOptsEnum::AddRecurseDirs, AddOptsEnum::AddHiddenFiles};
    zip.OnMessage = [this](TZipEngine&, std::int32_t code, const std::string& text) {
        // Code 0 is a remark; any other is a failure, of the call or of one file or entry.
        errors_ += code != 0 ? 1 : 0;
        EndProgressLine();
        platform::WriteErrorLine(code != 0 ? text + " (error " + std::to_string(code) + ")" : text);
    };
    if (platform::StandardErrorIsTerminal()) {
        zip.OnProgress = [this](TZipEngine&, ProgressType type, const std::string& name,
                                std::int32_t size) {
            if (type == ProgressType::ProgrFileStart) {
                platform::WriteErrorText("\r\x1b[K" + name + " (" + std::to_string(size) +
                                         " bytes)");
                progressLine_ = true;
            } else if (type == ProgressType::ProgrBatchEnd) {
                EndProgressLine();
            }
        };
    }
}

void Session::EndProgressLine() {
    if (progressLine_) {
        platform::WriteErrorText("\r\x1b[K");
        progressLine_ = false;
    }
}

bool Session::Open(const std::string& archive, Damaged damaged) {
    // Absolute, since an extraction changes the current folder before the library
    // opens the archive.
    std::error_code error;
    const auto path =
        std::filesystem::absolute(std::u8string(archive.begin(), archive.end()), error);
    const std::u8string absolute =
        error ? std::u8string(archive.begin(), archive.end()) : path.u8string();
    const int messagesBefore = MessagesShown();
    const int errorsBefore = errors_;
    try {
        zip.SetZipFilename(platform::ProgramPath(std::string(absolute.begin(), absolute.end())));
    } catch (const std::exception& error) {
        platform::WriteErrorLine(error.what());
        return damaged == Damaged::Read;
    }
    // Not an archive at all is said in a message, one part of a split archive with a code.
    return MessagesShown() == messagesBefore && errors_ == errorsBefore;
}

bool Session::Succeeds(void (TZipEngine::*operation)()) {
    const int messagesBefore = MessagesShown();
    const int errorsBefore = errors_;
    try {
        (zip.*operation)();
    } catch (const std::exception& error) {
        // The archive changed but cannot be read back.
        platform::WriteErrorLine(error.what());
        return false;
    }
    // Every refusal and failure of the engine itself is a message; a call that was
    // made empties the specifications.
    return MessagesShown() == messagesBefore && errors_ == errorsBefore && zip.FSpecArgs.empty() &&
           zip.ResultCount() > 0;
}
