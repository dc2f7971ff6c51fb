#pragma once
// An open-file dialog component: its settings, and the files chosen when it last ran.

#include <string>
#include <vector>
#include <windows.h>

#include "platform/FileDialogs.h"

namespace ui {

class OpenDialog {
public:
    explicit OpenDialog(platform::OpenFileRequest design) : design_(std::move(design)) {}

    const std::string& Title() const { return design_.title; }
    const std::string& Filter() const { return design_.filter; }
    const std::string& InitialDir() const { return design_.initialDir; }
    void SetInitialDir(const std::string& folder) { design_.initialDir = folder; }
    const platform::OpenFileRequest& Options() const { return design_; }

    // Runs the dialog through the seam; false when the user cancelled.
    bool Execute(HWND owner);
    // The chosen files' full paths; the first is the file name.
    const std::vector<std::string>& Files() const { return files_; }
    std::string FileName() const { return files_.empty() ? std::string() : files_.front(); }

private:
    platform::OpenFileRequest design_;
    std::vector<std::string> files_;
};

} // namespace ui
