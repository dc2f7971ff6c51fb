#pragma once
// The open-file dialog seam. The program shows the common dialog; tests install a
// handler that answers as scripted. Texts are Windows-1252 bytes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct OpenFileRequest {
    std::uintptr_t owner = 0;
    std::string title;
    // Pairs of description and pattern separated by "|": "Zip|*.zip|*.*|*.*".
    std::string filter;
    std::string initialDir;
    bool hideReadOnly = false;
    bool allowMultiSelect = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
    bool enableSizing = false;
};

// The chosen files with their full paths, or nothing when the user cancelled.
using OpenFileResult = std::optional<std::vector<std::string>>;
using OpenFileHandler = std::function<OpenFileResult(const OpenFileRequest&)>;

OpenFileResult RunOpenFileDialog(const OpenFileRequest& request);

// Installs a handler (an empty one restores the platform's own) and returns the previous.
OpenFileHandler SetOpenFileHandler(OpenFileHandler handler);

} // namespace platform
