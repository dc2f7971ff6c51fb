#pragma once
// Starts the program in the test process through the program entry's own code, with a
// program folder of its own and a scratch HKEY_CLASSES_ROOT; records the messages,
// shell requests, modal showings and the end of the process.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "main/Cprinc.h"
#include "platform/Modal.h"
#include "platform/Process.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/util/ShellRecorder.h"
#include "tests/win32/ScratchClassesRoot.h"

class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture();
    ~ProgramFixture() override;

    // The program folder as the registry names it: no final backslash.
    std::string Folder() const { return folder_.Path().string(); }
    std::string FolderFile(const std::string& name) const { return folder_.File(name); }
    void WriteSettings(const std::string& conf, const std::string& recent);

    // Program entry: the application and every window, the splash up, the main window
    // hidden. The command line's arguments are the ones given.
    void Start(std::vector<std::string> arguments = {});
    // The start timer's tick: the splash goes, the main window comes with start-up.
    void TickStartTimer();
    void StartAndShow(std::vector<std::string> arguments = {});

    TPRINCIPAL& Main() { return *PRINCIPAL; }
    std::vector<std::string> Messages() const { return messages_->Texts(); }
    const std::vector<platform::MessageBoxRequest>& MessageRequests() const {
        return messages_->Requests();
    }
    void ClearMessages() {
        messages_.reset();
        messages_ = std::make_unique<MessageRecorder>();
    }

    ScratchClassesRoot registry_;
    std::vector<std::uintptr_t> modalWindows_;
    std::vector<int> exitCodes_;
    std::unique_ptr<ShellRecorder> shell_;

private:
    TempDir folder_;
    std::string startDirectory_;
    std::unique_ptr<MessageRecorder> messages_;
    platform::ModalHandler previousModal_;
    platform::EndProcessHandler previousEnd_;
    bool started_ = false;
};
