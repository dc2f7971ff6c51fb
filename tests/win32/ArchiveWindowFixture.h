#pragma once
// The program started on archives of a test's own: what a user sees of the current
// archive, and the enabled state of every control that follows it.

#include <string>
#include <vector>

#include "platform/FileDialogs.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"
#include "tests/win32/ProgramFixture.h"

// Enabled states, in the order C&errar, Cerrar, Aña&dir, E&xtraer, &Borrar, &Ver, drops.
using ControlStates = std::string; // one '1' or '0' each

class ArchiveWindow : public ProgramFixture {
protected:
    ~ArchiveWindow() override;

    // Writes an archive into the scratch folder and returns its path.
    std::string MakeArchive(const std::string& name, const std::vector<testzip::Entry>& entries);
    std::string Scratch(const std::string& name) const { return scratch_.File(name); }
    std::string WriteScratch(const std::string& name, const std::string& bytes) const {
        return scratch_.Write(name, bytes);
    }

    ControlStates States();
    std::vector<std::vector<std::wstring>> Rows();
    std::vector<std::wstring> Captions();
    // The stored names of the archive on disk, in its order.
    std::vector<std::string> NamesOnDisk(const std::string& archive);
    // The open-file dialogs answer with these files, or cancel when there are none.
    void AnswerFileDialogs(std::vector<std::string> files);
    // Files dropped from the shell on the main window, in this order.
    void DropOnWindow(const std::vector<std::wstring>& paths);

    TempDir scratch_;

private:
    std::vector<std::string> dialogAnswer_;
    bool answering_ = false;
    platform::OpenFileHandler previousDialogs_;
};
