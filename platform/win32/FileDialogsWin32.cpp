#include "platform/FileDialogs.h"

#include <utility>
#include <windows.h>

#include <commdlg.h>

namespace platform {

namespace {

OpenFileHandler& InstalledHandler() {
    static OpenFileHandler handler;
    return handler;
}

// Room for many chosen names in a multiple selection.
constexpr std::size_t kNamesBufferSize = 64 * 1024;

OpenFileResult ShowCommonDialog(const OpenFileRequest& request) {
    // The dialog wants pairs separated and ended by NUL characters.
    std::string filter = request.filter;
    for (char& c : filter) {
        if (c == '|') {
            c = '\0';
        }
    }
    filter.append(2, '\0');
    std::string names(kNamesBufferSize, '\0');

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size() - 1);
    dialog.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (request.hideReadOnly) {
        dialog.Flags |= OFN_HIDEREADONLY;
    }
    if (request.allowMultiSelect) {
        dialog.Flags |= OFN_ALLOWMULTISELECT;
    }
    if (request.pathMustExist) {
        dialog.Flags |= OFN_PATHMUSTEXIST;
    }
    if (request.fileMustExist) {
        dialog.Flags |= OFN_FILEMUSTEXIST;
    }
    if (request.enableSizing) {
        dialog.Flags |= OFN_ENABLESIZING;
    }
    if (!::GetOpenFileNameA(&dialog)) {
        return std::nullopt;
    }

    // One name is a full path; several come as the folder followed by the names.
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < names.size() && names[at] != '\0';) {
        const std::size_t end = names.find('\0', at);
        parts.push_back(names.substr(at, end - at));
        at = end + 1;
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::string folder = parts.front();
    if (folder.back() != '\\') {
        folder += '\\';
    }
    std::vector<std::string> files;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        files.push_back(folder + parts[i]);
    }
    return files;
}

} // namespace

OpenFileResult RunOpenFileDialog(const OpenFileRequest& request) {
    const OpenFileHandler& handler = InstalledHandler();
    return handler ? handler(request) : ShowCommonDialog(request);
}

OpenFileHandler SetOpenFileHandler(OpenFileHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

} // namespace platform
