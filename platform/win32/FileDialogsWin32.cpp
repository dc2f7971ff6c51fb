#include "platform/FileDialogs.h"

#include <utility>
#include <windows.h>

#include <commdlg.h>

#include "platform/win32/WidePath.h"

namespace platform {

namespace {

OpenFileHandler& InstalledHandler() {
    static OpenFileHandler handler;
    return handler;
}

// Room for many chosen names in a multiple selection.
constexpr std::size_t kNamesBufferSize = 64 * 1024;

// The dialog is the wide one, so that files whose names the program's code page cannot
// spell can be chosen too; they come back by their short names.
OpenFileResult ShowCommonDialog(const OpenFileRequest& request) {
    // The dialog wants pairs separated and ended by NUL characters.
    std::wstring filter = WidenAnsi(request.filter);
    for (wchar_t& c : filter) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    filter.append(2, L'\0');
    const std::wstring initialDir = WidenAnsi(request.initialDir);
    const std::wstring title = WidenAnsi(request.title);
    std::wstring names(kNamesBufferSize, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size() - 1);
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
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
    if (!::GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }

    // One name is a full path; several come as the folder followed by the names.
    std::vector<std::wstring> parts;
    for (std::size_t at = 0; at < names.size() && names[at] != L'\0';) {
        const std::size_t end = names.find(L'\0', at);
        parts.push_back(names.substr(at, end - at));
        at = end + 1;
    }
    std::vector<std::string> files;
    if (parts.size() <= 1) {
        for (const std::wstring& part : parts) {
            files.push_back(AnsiPath(part));
        }
        return files;
    }
    std::wstring folder = parts.front();
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        files.push_back(AnsiPath(folder + parts[i]));
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
