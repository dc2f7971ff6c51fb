// Adding, dropping, deleting and viewing through the main window with the real engine
// libraries, and what the status bar and message boxes show meanwhile.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <shlobj.h>
#include <windows.h>

#include "dialogs/Cborra.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Unit1.h"
#include "main/Cdatos.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"
#include "zipformat/CentralDirectory.h"

namespace {

class Operations : public ArchiveWindow {
protected:
    // The methods of the archive's entries on disk, in its order.
    std::vector<int> Methods(const std::string& archive) {
        std::vector<int> methods;
        auto file = platform::FileHandle::OpenForReading(archive);
        zipfmt::ArchiveDirectory directory;
        if (file &&
            zipfmt::ReadArchiveDirectory(*file, directory) == zipfmt::DirectoryError::None) {
            for (const auto& entry : directory.entries) {
                methods.push_back(entry.method);
            }
        }
        return methods;
    }
};

TEST_F(Operations, AddsEachChosenFileInItsDialogOrderAtTheSliderLevel) {
    const std::string text(4000, 'a');
    const std::vector<std::string> files = {
        WriteScratch("f3.txt", text), WriteScratch("f1.txt", text), WriteScratch("f2.txt", text)};
    struct Case {
        int position, method;
    };
    StartAndShow();
    for (const Case c : {Case{0, 0}, Case{43, 8}}) {
        const std::string name = "level" + std::to_string(c.position);
        AnswerFileDialogs({Scratch(name)});
        Main().BnuevoClick();
        Main().Barra_Nivel.SetPosition(c.position);
        Main().Barra_Nivel.OnChange();
        AnswerFileDialogs(files);
        Main().BanyadirClick();
        const std::string archive = Scratch(name + ".zip");
        EXPECT_EQ(NamesOnDisk(archive), (std::vector<std::string>{"f3.txt", "f1.txt", "f2.txt"}));
        EXPECT_EQ(Methods(archive), std::vector<int>(3, c.method)) << "slider " << c.position;
        EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"f1.txt", L"f2.txt", L"f3.txt"}));
        EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Operations, DroppedFilesAreAddedInTheShellsOrderByTheirOwnNames) {
    const std::string archive = MakeArchive("drop.zip", {testzip::Stored("old", "1")});
    WriteScratch("zeta", "z");
    WriteScratch("alpha", "a");
    // A name the program's code page cannot spell.
    std::ofstream(scratch_.Path() / L"\x0436") << "zhe";
    StartAndShow({archive});
    std::vector<std::wstring> names;
    for (const wchar_t* name : {L"zeta", L"\x0436", L"alpha"}) {
        names.push_back((scratch_.Path() / name).wstring());
    }
    DropOnWindow(names);
    EXPECT_EQ(NamesOnDisk(archive), (std::vector<std::string>{"old", "zeta", "\xD0\xB6", "alpha"}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"alpha", L"old", L"zeta", L"\x0436"}));
    EXPECT_TRUE(Messages().empty());
}

// A folder added (by the add dialog or a drop, the same path) keeps its tree below the
// folder itself, so that two files of one name in different subfolders both go in, and
// an extraction brings them back as they were.
TEST_F(Operations, AnAddedFolderKeepsItsTreeAndComesBackAsItWas) {
    const std::string archive = MakeArchive("tree.zip", {testzip::Stored("old", "1")});
    std::filesystem::create_directories(Scratch("proyecto\\src"));
    std::filesystem::create_directories(Scratch("proyecto\\doc"));
    WriteScratch("proyecto\\src\\LEEME.txt", "fuente");
    WriteScratch("proyecto\\doc\\LEEME.txt", "documentos");
    StartAndShow({archive});
    Main().Anyade(Scratch("proyecto"));
    auto names = NamesOnDisk(archive);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"old", "proyecto/", "proyecto/doc/",
                                               "proyecto/doc/LEEME.txt", "proyecto/src/",
                                               "proyecto/src/LEEME.txt"}));
    EXPECT_TRUE(Messages().empty());
    std::filesystem::create_directory(Scratch("out"));
    Main().zip.ExtrOptions = {ExtrOptsEnum::ExtrDirNames};
    Main().zip.ExtrBaseDir = Scratch("out");
    Main().zip.ExtractFiles();
    EXPECT_EQ(ReadFileBytes(Scratch("out\\proyecto\\src\\LEEME.txt")), "fuente");
    EXPECT_EQ(ReadFileBytes(Scratch("out\\proyecto\\doc\\LEEME.txt")), "documentos");
}

struct DeleteCase {
    const char* name;
    int choice;                // 0 all, 1 only the selected
    std::vector<int> selected; // rows clicked (Ctrl held after the first)
    int button;                // 0 "Borrar", 1 "Cancelar"
    int answer;                // to a question the dialog asks
    std::vector<std::string> left;
    std::vector<std::string> messages;
    bool closes, viewAfter;
};

class DeleteDialog : public Operations, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteDialog, DeletesWhatTheChoiceNames) {
    const DeleteCase& c = GetParam();
    // Rows: "*" (a name some tools store), "a.txt", "b.txt" (in a folder), "c.txt", and
    // the folder "f/" with one file in it.
    const std::vector<std::string> all = {"*", "a.txt", "dir\\b.txt", "c.txt", "f/", "f/g.txt"};
    std::vector<testzip::Entry> entries;
    for (const std::string& name : all) {
        entries.push_back(testzip::Stored(name, name));
    }
    const std::string archive = MakeArchive("del.zip", entries);
    StartAndShow({archive});
    ASSERT_EQ(Captions(),
              (std::vector<std::wstring>{L"*", L"a.txt", L"b.txt", L"c.txt", L"f/", L"f/g.txt"}));
    for (std::size_t i = 0; i < c.selected.size(); ++i) {
        ClickListRow(Main().lista.Handle(), c.selected[i], i > 0);
    }
    bool closed = false;
    const MessageRecorder answers(c.answer);
    const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
        EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(borra->Handle()));
        r.show();
        borra->opc.SetItemIndex(c.choice);
        ClickToolButton(borra->ToolBar1.Handle(), c.button);
        closed = r.closed();
        r.hide();
    });
    const bool viewBefore = Main().Bver.Enabled();
    Main().BborrarClick();
    platform::SetModalHandler(fixtureModal);
    EXPECT_EQ(closed, c.closes);
    EXPECT_EQ(answers.Texts(), c.messages);
    EXPECT_EQ(NamesOnDisk(archive), c.left);
    EXPECT_EQ(Main().Bver.Enabled(), closed && c.button == 0 ? c.viewAfter : viewBefore);
    EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
    EXPECT_EQ(Rows().size(), c.left.size());
    // Emptied, it is still an archive, which the window works on without a word.
    EXPECT_TRUE(Main().zip.IsArchive());
    // "No" is the answer Enter gives to emptying the archive.
    for (const auto& request : answers.Requests()) {
        if ((request.style & platform::kMbYesNo) != 0) {
            EXPECT_EQ(request.style & platform::kMbDefButton2, platform::kMbDefButton2);
        }
    }
}

const std::vector<std::string> kAllRows = {"*", "a.txt", "dir\\b.txt", "c.txt", "f/", "f/g.txt"};

INSTANTIATE_TEST_SUITE_P(Choices, DeleteDialog,
                         ::testing::Values(DeleteCase{"AllAsksFirstAndLeavesAnEmptyArchive",
                                                      0,
                                                      {},
                                                      0,
                                                      platform::kIdYes,
                                                      {},
                                                      {"¿Borrar las 6 entradas del archivo?"},
                                                      true,
                                                      false},
                                           DeleteCase{"AllWithRowsSelectedAsksFirst",
                                                      0,
                                                      {1},
                                                      0,
                                                      platform::kIdYes,
                                                      {},
                                                      {"¿Borrar las 6 entradas del archivo?"},
                                                      true,
                                                      false},
                                           DeleteCase{"AllRefusedKeepsEverythingAndTheDialog",
                                                      0,
                                                      {1},
                                                      0,
                                                      platform::kIdNo,
                                                      kAllRows,
                                                      {"¿Borrar las 6 entradas del archivo?"},
                                                      false,
                                                      true},
                                           DeleteCase{"OnlySelectedTakesExactlyThoseEntries",
                                                      1,
                                                      {0, 3},
                                                      0,
                                                      0,
                                                      {"a.txt", "dir\\b.txt", "f/", "f/g.txt"},
                                                      {},
                                                      true,
                                                      false},
                                           DeleteCase{"SelectedInAFolder",
                                                      1,
                                                      {2},
                                                      0,
                                                      0,
                                                      {"*", "a.txt", "c.txt", "f/", "f/g.txt"},
                                                      {},
                                                      true,
                                                      false},
                                           DeleteCase{"AFolderStandsForWhatIsInIt",
                                                      1,
                                                      {4},
                                                      0,
                                                      0,
                                                      {"*", "a.txt", "dir\\b.txt", "c.txt"},
                                                      {},
                                                      true,
                                                      false},
                                           DeleteCase{"NothingSelectedRunsNothingAndSaysSo",
                                                      1,
                                                      {},
                                                      0,
                                                      0,
                                                      kAllRows,
                                                      {"No hay ninguna entrada seleccionada."},
                                                      false,
                                                      false},
                                           DeleteCase{
                                               "Cancel", 0, {1}, 1, 0, kAllRows, {}, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each operation that fails says so in one box whose first line is the real cause, in
// the interface's language, and names what it concerns: "read-only" only when something is.
struct CauseCase {
    const char* name;
    int language;
    std::vector<std::string> boxes;
    const char* caption; // nullptr: the program's title
};

class Causes : public Operations, public ::testing::WithParamInterface<CauseCase> {
protected:
    // Extracts every entry into out with the dialog's options as they stand.
    void ExtractAll() {
        const auto fixtureModal = platform::SetModalHandler([](const platform::ModalRequest& r) {
            r.show();
            descompri->opc.SetItemIndex(0);
            ClickToolButton(descompri->ToolBar1.Handle(), 0);
            r.hide();
        });
        Main().BextraerClick();
        platform::SetModalHandler(fixtureModal);
    }
    // Deletes the first row through the dialog.
    void DeleteFirst() {
        Main().lista.SetSelected(0, true);
        const auto fixtureModal = platform::SetModalHandler([](const platform::ModalRequest& r) {
            r.show();
            ClickToolButton(borra->ToolBar1.Handle(), 0);
            r.hide();
        });
        Main().BborrarClick();
        platform::SetModalHandler(fixtureModal);
    }
};

TEST_P(Causes, OneBoxSaysTheRealCauseFirst) {
    const CauseCase& c = GetParam();
    std::filesystem::create_directory(Scratch("out"));
    WriteSettings(
        "c:\\\r\nc:\\\r\n" + Scratch("out") + "\r\n" + std::to_string(c.language) + "\r\n", "");
    const std::vector<testzip::Entry> entries = {testzip::Stored("a.txt", "A"),
                                                 testzip::Stored("b.txt", "B")};
    const std::string name = c.name;
    if (name.starts_with("Exist")) {
        StartAndShow({MakeArchive("e.zip", entries)});
        ExtractAll();
        ClearMessages();
        ExtractAll(); // again, without "Sobreescribir"
        EXPECT_EQ(ReadFileBytes(Scratch("out\\a.txt")), "A");
    } else if (name.starts_with("Missing")) {
        // Two files gone between their choice and their add: one box for the add.
        StartAndShow({MakeArchive("m.zip", entries)});
        AnswerFileDialogs({Scratch("gone1.txt"), Scratch("gone2.txt")});
        Main().BanyadirClick();
    } else if (name.starts_with("ReadOnly")) {
        const std::string archive = MakeArchive("ro.zip", entries);
        ::SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY);
        StartAndShow({archive});
        DeleteFirst();
        DeleteFirst(); // a second try says it again
        ::SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(NamesOnDisk(archive).size(), 2u);
    } else {
        // The last part of an archive split in two, as a tool that splits writes it.
        std::string split = testzip::Archive(entries);
        split.replace(split.size() - 22 + 4, 4, testzip::Le16(1) + testzip::Le16(1));
        StartAndShow({WriteScratch("s.zip", split)});
        EXPECT_TRUE(Rows().empty()) << "none of the entries of one part";
    }
    EXPECT_EQ(Messages(), c.boxes);
    for (const auto& request : MessageRequests()) {
        EXPECT_EQ(request.caption, c.caption ? c.caption : "Tarvox");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, Causes,
    ::testing::Values(
        CauseCase{"ExistingFilesNotReplaced",
                  1,
                  {"Ya existen y no se han sustituido (marque \"Sobreescribir archivos\"):\n"
                   "   a.txt\n   b.txt"},
                  "Imposible descomprimir"},
        CauseCase{
            "ExistingFilesNotReplacedEnglish",
            2,
            {"Already there and not replaced (tick \"Overwrite files\"):\n   a.txt\n   b.txt"},
            "Imposible descomprimir"},
        CauseCase{"MissingFilesOfOneAdd",
                  1,
                  {"No hay nada con estos nombres:\n   gone1.txt\n   gone2.txt"},
                  nullptr},
        CauseCase{"ReadOnlyArchive",
                  1,
                  {"El archivo es de sólo lectura; no ha cambiado:\n   ro.zip",
                   "El archivo es de sólo lectura; no ha cambiado:\n   ro.zip"},
                  nullptr},
        CauseCase{"SplitArchive",
                  1,
                  {"Archivo dividido en partes (.z01, .z02...): únalas en uno solo con el "
                   "programa que lo dividió.\n   s.zip"},
                  nullptr},
        CauseCase{"SplitArchiveEnglish",
                  2,
                  {"Archive split into parts (.z01, .z02...): join them into one with the "
                   "program that split it.\n   s.zip"},
                  nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// After a delete the list keeps its order without sorting again: each row must still
// show its own entry where a fresh read would put it, with captions that tie and repeat.
TEST_F(Operations, TheListAfterADeleteIsTheListAFreshReadShows) {
    std::vector<testzip::Entry> entries;
    int size = 0;
    for (const char* name : {"z/Same.txt", "B.txt", "a\\same.txt", "a.txt", "y\\SAME.txt", "c.txt",
                             "A.TXT", "x\\same.txt", "b.txt"}) {
        entries.push_back(
            testzip::Stored(name, std::string(static_cast<std::size_t>(++size), 'x')));
    }
    StartAndShow({MakeArchive("order.zip", entries)});
    const auto fresh = [this] {
        const auto shown = Rows();
        Main().lista.Clear();
        Main().lista.Fill(Main().zip.Entries());
        return std::pair{shown, Rows()};
    };
    const auto deleting = [this](const std::vector<int>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            ClickListRow(Main().lista.Handle(), rows[i], i > 0);
        }
        const auto fixtureModal = platform::SetModalHandler([](const platform::ModalRequest& r) {
            r.show();
            borra->opc.SetItemIndex(1);
            ClickToolButton(borra->ToolBar1.Handle(), 0);
            r.hide();
        });
        Main().BborrarClick();
        platform::SetModalHandler(fixtureModal);
    };
    // Rows to delete, in turn; then how many are left.
    const std::vector<std::pair<std::vector<int>, std::size_t>> steps = {
        {{1}, 8}, {{0, 4, 7}, 5}, {{2}, 4}, {{0, 3}, 2}};
    for (const auto& [rows, left] : steps) {
        deleting(rows);
        const auto [shown, expected] = fresh();
        ASSERT_EQ(shown.size(), left);
        EXPECT_EQ(shown, expected) << "after deleting " << rows.size() << " rows";
    }
}

struct ViewCase {
    const char* name;
    std::intptr_t shellAnswer;
    bool restoreFolders; // the extract dialog last asked for folders
    int language;
};

class Viewing : public Operations, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(Viewing, OpensACopyInAFolderOfItsOwnAndNeverTouchesTheUsersFiles) {
    const ViewCase& c = GetParam();
    std::filesystem::create_directory(Scratch("tmp"));
    WriteSettings(
        "c:\\\r\n" + Scratch("tmp") + "\r\nc:\\\r\n" + std::to_string(c.language) + "\r\n", "");
    // "ño" in code page 437, and a name the program's code page cannot spell.
    const testzip::Entry unusual = testzip::Stored("\xA4o.txt", "enye");
    testzip::Entry cyrillic = testzip::Stored("\xD0\xB6.txt", "zhe");
    cyrillic.flags = 0x800;
    const std::string archive =
        MakeArchive("view.zip", {testzip::Stored("dir\\note.txt", "hello"), unusual, cyrillic});
    StartAndShow({archive});
    shell_.reset(); // first: a recorder restores the handler it replaced
    shell_ = std::make_unique<ShellRecorder>(c.shellAnswer);
    if (c.restoreFolders) {
        Main().zip.ExtrOptions = {ExtrOptsEnum::ExtrDirNames};
    }
    const ExtrOpts before = Main().zip.ExtrOptions;
    struct Row {
        const wchar_t* caption;
        std::string copy, bytes;
    };
    const auto captions = Captions();
    // A file of the user's own in the temporary folder, of the name a view gives its copy.
    WriteScratch("tmp\\note.txt", "mine");
    const std::string views =
        Scratch("tmp") + "\\Tarvox-vistas-" + std::to_string(::GetCurrentProcessId());
    for (Row r : {Row{L"note.txt", views + "\\note.txt", "hello"},
                  Row{L"\xF1o.txt", views + "\\\xF1o.txt", "enye"}, Row{L"\x0436.txt", "", "zhe"},
                  Row{L"note.txt", views + "\\note.txt", "hello"}}) {
        const auto row = std::find(captions.begin(), captions.end(), r.caption) - captions.begin();
        ASSERT_LT(static_cast<std::size_t>(row), captions.size());
        DoubleClickListRow(Main().lista.Handle(), static_cast<int>(row));
        ASSERT_FALSE(shell_->requests.empty()) << "row " << row;
        const platform::ShellExecuteRequest& open = shell_->requests.front();
        // The file the shell is asked to open is the one the library wrote.
        EXPECT_EQ(ReadFileBytes(open.file), r.bytes);
        if (r.copy.empty()) {
            r.copy = open.file;
        }
        EXPECT_EQ(open.owner, reinterpret_cast<std::uintptr_t>(Form1->Handle()));
        EXPECT_EQ(open.verb, std::optional<std::string>("open"));
        EXPECT_EQ(open.file, r.copy);
        EXPECT_EQ(open.directory, ".");
        EXPECT_EQ(open.showCommand, 5);
        if (c.shellAnswer > 32) {
            EXPECT_EQ(shell_->requests.size(), 1u);
        } else {
            ASSERT_EQ(shell_->requests.size(), 2u);
            EXPECT_EQ(shell_->requests[1].file, "notepad.exe");
            EXPECT_EQ(shell_->requests[1].parameters, r.copy);
            EXPECT_EQ(shell_->requests[1].showCommand, 1);
        }
        shell_->requests.clear();
    }
    EXPECT_EQ(Main().zip.ExtrOptions, before) << "the extract dialog's options stay";
    const std::vector<std::string> expectedMessages(
        c.shellAnswer > 32 ? 0 : 4,
        c.language == 1 ? "Este fichero no tiene asociación;se abrirá con el Notepad."
                        : "This file hasn´t association;it will be opened with Notepad.");
    EXPECT_EQ(Messages(), expectedMessages);
    EXPECT_EQ(Main().borrafil.Count(), 4);
    EXPECT_EQ(ReadFileBytes(Scratch("tmp\\note.txt")), "mine");
    Main().Salir();
    EXPECT_FALSE(std::filesystem::exists(views)) << "the views' folder goes at exit";
    EXPECT_EQ(ReadFileBytes(Scratch("tmp\\note.txt")), "mine") << "never the user's file";
}

INSTANTIATE_TEST_SUITE_P(Associations, Viewing,
                         ::testing::Values(ViewCase{"Associated", 42, false, 1},
                                           ViewCase{"NoAssociationSpanish", 31, false, 1},
                                           ViewCase{"NoAssociationEnglish", 31, false, 2},
                                           ViewCase{"AfterRestoringFolders", 42, true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Operations, AnEntryThatCannotBeExtractedIsRefusedAndNotOpened) {
    std::filesystem::create_directory(Scratch("tmp"));
    WriteSettings("c:\\\r\n" + Scratch("tmp") + "\r\nc:\\\r\n1\r\n", "");
    testzip::Entry unknown = testzip::Stored("odd.txt", "data");
    unknown.method = 99;
    StartAndShow({MakeArchive("odd.zip", {unknown})});
    WriteScratch("tmp\\odd.txt", "an older copy");
    DoubleClickListRow(Main().lista.Handle(), 0);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Método de compresión o cifrado no admitido:\n   odd.txt"});
    EXPECT_TRUE(shell_->requests.empty());
    EXPECT_EQ(Main().borrafil.Count(), 0);
}

class Progress : public Operations, public ::testing::WithParamInterface<int> {};

TEST_P(Progress, TheStatusBarSaysBusyWhileTheEngineWorksAndFailuresAreRefused) {
    const std::string archive = MakeArchive("busy.zip", {testzip::Stored("x", "1")});
    {
        const int language = GetParam();
        WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n" + std::to_string(language) + "\r\n", "");
        StartAndShow({archive});
        const bool spanish = language == 1;
        struct Step {
            ProgressType kind;
            const char *panel0, *panel1;
            bool red;
        };
        const std::string size = std::to_string(std::filesystem::file_size(archive)) + " bytes";
        const Step steps[] = {
            {ProgressType::ProgrFileStart, spanish ? "  Listo" : "  Ready", "big.bin  0%", false},
            {ProgressType::ProgrStep, spanish ? "  Ocupado" : "  Busy", "big.bin  0%", true},
            {ProgressType::ProgrBatchEnd, spanish ? "  Listo" : "  Ready", size.c_str(), false},
        };
        for (const Step& step : steps) {
            Main().zipProgress(Main().zip, step.kind,
                               step.kind == ProgressType::ProgrFileStart ? "big.bin" : " ", 0);
            EXPECT_EQ(StatusText(Main().estado.Handle(), 0), step.panel0);
            EXPECT_EQ(StatusText(Main().estado.Handle(), 1), step.panel1);
            EXPECT_EQ(Main().estado.Color(),
                      step.red ? std::optional<COLORREF>(255) : std::nullopt);
        }
        // A file that is not there: the refusal box says why, in the interface's language,
        // and names it.
        Main().Anyade(Scratch("missing.txt"));
        EXPECT_EQ(Messages(), std::vector<std::string>{
                                  spanish ? "No hay nada con estos nombres:\n   missing.txt"
                                          : "Nothing has these names:\n   missing.txt"});
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Progress, ::testing::Values(1, 2));

} // namespace
