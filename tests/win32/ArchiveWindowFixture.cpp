#include "tests/win32/ArchiveWindowFixture.h"

#include <algorithm>
#include <windows.h>

#include <shlobj.h>

#include "platform/FileDialogs.h"
#include "platform/FileHandle.h"
#include "tests/win32/Readback.h"
#include "zipformat/CentralDirectory.h"

ArchiveWindow::~ArchiveWindow() {
    if (answering_) {
        platform::SetOpenFileHandler(std::move(previousDialogs_));
    }
}

std::string ArchiveWindow::MakeArchive(const std::string& name,
                                       const std::vector<testzip::Entry>& entries) {
    return scratch_.Write(name, testzip::Archive(entries));
}

ControlStates ArchiveWindow::States() {
    TPRINCIPAL& main = Main();
    const auto flag = [](bool on) { return on ? '1' : '0'; };
    const bool drops = (::GetWindowLongA(main.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    return {flag(main.Bcerrar.Enabled()),
            flag(main.Mcerrar.Enabled()),
            flag(main.Banyadir.Enabled()),
            flag(main.Bextraer.Enabled()),
            flag(main.Bborrar.Enabled()),
            flag(main.Bver.Enabled()),
            flag(drops)};
}

std::vector<std::vector<std::wstring>> ArchiveWindow::Rows() {
    return ListRows(Main().lista.Handle());
}

std::vector<std::wstring> ArchiveWindow::Captions() {
    std::vector<std::wstring> captions;
    for (const auto& row : Rows()) {
        captions.push_back(row.at(0));
    }
    return captions;
}

std::vector<std::string> ArchiveWindow::NamesOnDisk(const std::string& archive) {
    std::vector<std::string> names;
    auto file = platform::FileHandle::OpenForReading(archive);
    zipfmt::ArchiveDirectory directory;
    if (file && zipfmt::ReadArchiveDirectory(*file, directory) == zipfmt::DirectoryError::None) {
        for (const auto& entry : directory.entries) {
            names.push_back(entry.name);
        }
    }
    return names;
}

void ArchiveWindow::AnswerFileDialogs(std::vector<std::string> files) {
    dialogAnswer_ = std::move(files);
    if (!answering_) {
        answering_ = true;
        previousDialogs_ = platform::SetOpenFileHandler([this](const platform::OpenFileRequest&) {
            return dialogAnswer_.empty() ? platform::OpenFileResult()
                                         : platform::OpenFileResult(dialogAnswer_);
        });
    }
}

void ArchiveWindow::DropOnWindow(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) {
        names += path + L'\0';
    }
    names += L'\0';
    HGLOBAL drop = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
    ::GlobalUnlock(drop);
    ::SendMessageA(Main().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}
