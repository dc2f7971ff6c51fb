// The shell folder tree against a scratch folder, and extracting through the extract
// dialog with the real engine library.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <shlobj.h>
#include <thread>
#include <windows.h>

#include "dialogs/Cclave.h"
#include "dialogs/Cdesc.h"
#include "main/Cdatos.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"

namespace {

namespace fs = std::filesystem;

std::string DesktopFolder() {
    char path[MAX_PATH] = {};
    ::SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    return path;
}

// The captions of the selected node's children.
std::vector<std::wstring> SelectedChildren(HWND tree) {
    std::vector<std::wstring> names;
    const auto selected =
        reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    for (auto child = reinterpret_cast<HTREEITEM>(
             ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(selected)));
         child != nullptr;
         child = reinterpret_cast<HTREEITEM>(
             ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        names.push_back(TreeItemText(tree, child));
    }
    return names;
}

class ExtractDialog : public ArchiveWindow {
protected:
    Tdescompri& Dialog() { return *descompri; }
    // Shows the dialog from the main window and lets act work in it while it is up.
    // True when the dialog closed.
    bool WithDialog(const std::function<void()>& act) {
        bool closed = false;
        const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
            EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(descompri->Handle()));
            r.show();
            act();
            closed = r.closed();
            r.hide();
        });
        Main().BextraerClick();
        platform::SetModalHandler(fixtureModal);
        return closed;
    }
};

TEST_F(ExtractDialog, TheTreeFollowsPathsAndFallsBackToTheDesktop) {
    fs::create_directories(Scratch("a\\b"));
    StartAndShow();
    controls::ShellFolderTree& tree = Dialog().dir;
    struct Case {
        std::string path, selected;
    };
    for (const Case& c :
         {Case{Scratch("a\\b"), Scratch("a\\b")}, Case{"C:\\", "C:\\"},
          Case{Scratch("a\\missing"), DesktopFolder()}, Case{"", DesktopFolder()},
          // The computer: a folder the shell keeps outside the file system.
          Case{"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", ""}, Case{Scratch("a"), Scratch("a")}}) {
        tree.SetPath(c.path);
        EXPECT_EQ(tree.Path(), c.selected) << c.path;
        EXPECT_EQ(Dialog().direk.Text(), c.selected) << "the selection change shows the path";
    }
    EXPECT_EQ(SelectedChildren(tree.Handle()), std::vector<std::wstring>{L"b"});
    // Icons are asked for when shown: the shell's own, closed and open.
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem =
        reinterpret_cast<HTREEITEM>(::SendMessageW(tree.Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    ASSERT_TRUE(::SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    SHFILEINFOA closed{}, open{};
    const std::string folder = Scratch("a");
    ::SHGetFileInfoA(folder.c_str(), 0, &closed, sizeof closed,
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    ::SHGetFileInfoA(folder.c_str(), 0, &open, sizeof open,
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    EXPECT_EQ(item.iImage, closed.iIcon);
    EXPECT_EQ(item.iSelectedImage, open.iIcon);
}

TEST_F(ExtractDialog, FoldersChangedOutsideShowWhileTheDialogIsUp) {
    fs::create_directories(Scratch("a\\b"));
    StartAndShow();
    controls::ShellFolderTree& tree = Dialog().dir;
    const auto settle = [] {
        for (int i = 0; i < 50; ++i) {
            PumpMessages();
            ::Sleep(20);
        }
    };
    WithDialog([&] {
        tree.SetPath(Scratch("a"));
        fs::create_directory(Scratch("a\\c"));
        settle();
        EXPECT_EQ(SelectedChildren(tree.Handle()), (std::vector<std::wstring>{L"b", L"c"}));
        fs::rename(Scratch("a\\b"), Scratch("a\\d"));
        fs::remove(Scratch("a\\c"));
        settle();
        EXPECT_EQ(SelectedChildren(tree.Handle()), std::vector<std::wstring>{L"d"});
        EXPECT_EQ(tree.Path(), Scratch("a"));
        ClickToolButton(Dialog().ToolBar1.Handle(), 2);
    });
}

// A download folder, a temporary folder: many folders beside the target, one coming and
// going all the time. The tree reads them again while the dialog is up, never in the
// middle of an extraction, and the extraction finishes.
TEST_F(ExtractDialog, AnExtractionBesideFoldersThatComeAndGoFinishes) {
    for (int i = 0; i < 120; ++i) {
        fs::create_directories(Scratch("busy\\f" + std::to_string(i)));
    }
    fs::create_directories(Scratch("busy\\out"));
    std::vector<testzip::Entry> entries;
    for (int i = 0; i < 200; ++i) {
        entries.push_back(
            testzip::Stored("d\\" + std::to_string(i) + ".bin", std::string(200000, 'a' + i % 26)));
    }
    const std::string archive = MakeArchive("big.zip", entries);
    StartAndShow({archive});
    Tdescompri& d = Dialog();
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        const std::string folder = Scratch("busy\\churn");
        while (!stop) {
            ::CreateDirectoryA(folder.c_str(), nullptr);
            ::Sleep(5);
            ::RemoveDirectoryA(folder.c_str());
            ::Sleep(5);
        }
    });
    const bool closed = WithDialog([&] {
        d.dir.SetPath(Scratch("busy\\out"));
        ClickToolButton(d.ToolBar1.Handle(), 0);
    });
    stop = true;
    churn.join();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Main().confi.Get(2), Scratch("busy\\out"));
    for (int i = 0; i < 200; i += 199) {
        const std::string file = Scratch("busy\\out\\d\\" + std::to_string(i) + ".bin");
        EXPECT_EQ(ReadFileBytes(file), std::string(200000, 'a' + i % 26)) << file;
    }
}

TEST_F(ExtractDialog, NewFolderIsMadeSelectedAndRenamedThroughItsLabel) {
    fs::create_directories(Scratch("dest"));
    StartAndShow();
    Tdescompri& d = Dialog();
    const std::string made = Scratch("dest\\") + controls::ShellFolderTree::kNewFolderName;
    WithDialog([&] {
        d.dir.SetPath(Scratch("dest"));
        ClickToolButton(d.ToolBar1.Handle(), 1);
        EXPECT_TRUE(fs::is_directory(made));
        EXPECT_EQ(d.direk.Text(), made);
        EXPECT_EQ(d.dir.Path(), made);
        // The label edit is under way: typing a name renames the folder.
        const auto edit =
            reinterpret_cast<HWND>(::SendMessageW(d.dir.Handle(), TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr);
        ::SetWindowTextW(edit, L"fotos");
        ::SendMessageW(d.dir.Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
        EXPECT_TRUE(fs::is_directory(Scratch("dest\\fotos")));
        EXPECT_FALSE(fs::exists(made));
        EXPECT_EQ(d.dir.Path(), Scratch("dest\\fotos"));
        // A second one beside an existing "New Folder" is numbered.
        d.dir.SetPath(Scratch("dest"));
        ClickToolButton(d.ToolBar1.Handle(), 1);
        ::SendMessageW(d.dir.Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
        ClickToolButton(d.ToolBar1.Handle(), 1);
        EXPECT_EQ(d.dir.Path(), made + "\\" + controls::ShellFolderTree::kNewFolderName);
        d.dir.SetPath(Scratch("dest"));
        ::SendMessageW(d.dir.Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
        ClickToolButton(d.ToolBar1.Handle(), 1);
        EXPECT_EQ(d.dir.Path(), made + " (2)");
        ::SendMessageW(d.dir.Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
        ClickToolButton(d.ToolBar1.Handle(), 2);
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ExtractDialog, GoToTypedFolderMakesAMissingOneOrSaysWhyNot) {
    fs::create_directories(Scratch("there"));
    StartAndShow();
    Tdescompri& d = Dialog();
    struct Case {
        std::string typed, shown, selected;
        std::string message; // the box's, before the folder it names
    };
    const std::string failed =
        "No se puede crear el directorio.Asegúrese de que no es una unidad solo lectura(como cd)";
    const std::string notWhole = "Escriba la carpeta entera, con su unidad (como C:\\destino):";
    // A folder that cannot be made leaves the tree where it was and the field as typed.
    for (const Case& c : {
             Case{Scratch("there"), Scratch("there"), Scratch("there"), ""},
             Case{Scratch("x\\y\\z"), Scratch("x\\y\\z"), Scratch("x\\y\\z"), ""},
             Case{" \"" + Scratch("there") + "\\\" ", Scratch("there"), Scratch("there"), ""},
             Case{"Q:\\x", "Q:\\x", Scratch("there"),
                  "La unidad de esta carpeta no está (¿se ha quitado?):"},
             Case{Scratch("bad<name"), Scratch("bad<name"), Scratch("there"), failed},
             Case{"relativo", "relativo", Scratch("there"), notWhole},
         }) {
        ClearMessages();
        d.direk.SetText(c.typed);
        ::SendMessageA(d.Button1.Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(d.dir.Path(), c.selected) << c.typed;
        EXPECT_EQ(d.direk.Text(), c.shown) << c.typed;
        if (c.message.empty()) {
            EXPECT_TRUE(Messages().empty()) << c.typed;
        } else {
            EXPECT_EQ(Messages(), std::vector<std::string>{c.message + "\n" + c.shown}) << c.typed;
        }
        if (!c.message.empty() && c.message != notWhole) {
            EXPECT_EQ(MessageRequests().at(0).caption, "Imposible crear directorio");
            EXPECT_EQ(MessageRequests().at(0).owner, 0u);
        }
    }
}

// A drive that comes while the program runs, as a memory stick does: under Wine a new
// link among the prefix's devices, made by the system's own program for links, as a
// user makes it. Gone again with the object.
class NewDrive {
public:
    explicit NewDrive(const std::string& folder) {
        const char* prefix = std::getenv("WINEPREFIX");
        using UnixName = char*(CDECL*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        for (char letter = 'Y'; letter > 'D' && root_.empty(); --letter) {
            const std::string root = std::string(1, letter) + ":\\";
            if (::GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR) {
                root_ = root;
            }
        }
        if (prefix == nullptr || unixName == nullptr || root_.empty()) {
            return;
        }
        char* target = unixName(fs::path(folder).wstring().c_str());
        link_ = std::string(prefix) + "/dosdevices/" + char(root_[0] - 'A' + 'a') + ":";
        if (target != nullptr) {
            Unix("/bin/ln -s \"" + std::string(target) + "\" \"" + link_ + "\"", true);
            ::HeapFree(::GetProcessHeap(), 0, target);
        }
    }
    ~NewDrive() { Remove(); }
    // "T:\" when the drive is there.
    std::string Root() const { return There() ? root_ : ""; }
    void Remove() {
        if (!link_.empty()) {
            Unix("/bin/rm -f \"" + link_ + "\"", false);
        }
    }

private:
    bool There() const {
        return !root_.empty() && ::GetFileAttributesA(root_.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The system's program runs apart from Wine's processes: its end is seen on the drive.
    void Unix(std::string command, bool there) const {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process)) {
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
        for (int i = 0; i < 250 && There() != there; ++i) {
            ::Sleep(20);
        }
    }

    std::string root_, link_;
};

// The folder the field shows when "Descomprimir" is pressed is where files go, whether
// typed and gone to with Enter or "---->", or typed alone; on a drive that came after
// the start too, which the tree then shows. A drive that goes takes its folder out of
// the tree and the field, and nothing is extracted anywhere else.
TEST_F(ExtractDialog, FilesGoToTheFolderTheFieldShowsOnADriveThatCameSinceTheStart) {
    const std::string archive = MakeArchive("x.zip", {testzip::Stored("a.txt", "a")});
    fs::create_directories(Scratch("stick"));
    StartAndShow({archive});
    if (::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name") ==
        nullptr) {
        GTEST_SKIP() << "a drive is made here under Wine only";
    }
    NewDrive drive(Scratch("stick"));
    const std::string root = drive.Root();
    ASSERT_FALSE(root.empty()) << "a new drive";
    Tdescompri& d = Dialog();
    const auto enter = [&] {
        ::SetFocus(d.direk.Handle());
        PressKey(VK_RETURN);
    };
    const auto arrow = [&] { ::SendMessageA(d.Button1.Handle(), BM_CLICK, 0, 0); };
    struct Case {
        const char* how;
        std::function<void()> confirm;
    };
    const std::string desktopFile = DesktopFolder() + "\\a.txt";
    fs::remove(desktopFile);
    int n = 0;
    for (const Case& c : {Case{"Enter", enter}, Case{"---->", arrow}, Case{"typed alone", {}}}) {
        SCOPED_TRACE(c.how);
        const std::string folder = root + "destino" + std::to_string(++n);
        const bool closed = WithDialog([&] {
            d.direk.SetText(root + "destino" + std::to_string(n));
            if (c.confirm) {
                c.confirm();
                EXPECT_EQ(d.dir.Path(), folder) << "the tree goes there";
                EXPECT_EQ(d.direk.Text(), folder);
            }
            ClickToolButton(d.ToolBar1.Handle(), 0);
        });
        EXPECT_TRUE(closed);
        EXPECT_EQ(ReadFileBytes(Scratch("stick\\destino" + std::to_string(n) + "\\a.txt")), "a");
        EXPECT_EQ(Main().confi.Get(2), folder);
        EXPECT_TRUE(Messages().empty());
    }
    EXPECT_FALSE(fs::exists(desktopFile));

    // The drive goes while the dialog is up: the tree lets go of it, the field with it,
    // and a folder typed on it is refused by name.
    WithDialog([&] {
        d.dir.SetPath(root + "destino1");
        ASSERT_EQ(d.direk.Text(), root + "destino1");
        drive.Remove();
        for (int i = 0; i < 100 && !d.direk.Text().empty(); ++i) {
            PumpMessages();
            ::Sleep(20);
        }
        EXPECT_EQ(d.direk.Text(), "") << "the computer, which holds no files, is selected";
        ClearMessages();
        ClickToolButton(d.ToolBar1.Handle(), 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{"Elija en el árbol o escriba arriba la "
                                                       "carpeta donde descomprimir."});
        ClearMessages();
        d.direk.SetText(root + "destino1");
        ClickToolButton(d.ToolBar1.Handle(), 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{
                                  "La unidad de esta carpeta no está (¿se ha quitado?):\n" + root +
                                  "destino1"});
        ClickToolButton(d.ToolBar1.Handle(), 2);
    });
    EXPECT_FALSE(fs::exists(desktopFile));
}

struct ExtractCase {
    const char* name;
    bool boxes[4];
    int choice;
    std::vector<int> selected; // rows clicked
    ExtrOpts options;
    // Files under the target afterwards; "*" is written as "_".
    std::map<std::string, std::string> after;
    // The file kept for want of "Sobreescribir", named in a box.
    const char* kept;
};

class Extracting : public ExtractDialog, public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(Extracting, WritesWhatTheOptionsAndChoiceAsk) {
    const ExtractCase& c = GetParam();
    // Rows by caption: "*", "a.txt", "b.txt" (in a folder), the folder "e/" and "e/c.txt"
    // (stored with "/"). The entry "a.txt" is newer than the file already there.
    testzip::Entry a = testzip::Stored("a.txt", "new a");
    a.dosDateTime = 120u << 25 | 1u << 21 | 1u << 16;
    const std::string archive = MakeArchive(
        "x.zip", {a, testzip::Stored("dir\\b.txt", "new b"), testzip::Stored("*", "star"),
                  testzip::Stored("e/", ""), testzip::Stored("e/c.txt", "new c")});
    fs::create_directories(Scratch("out"));
    WriteScratch("out\\a.txt", "old a");
    WriteSettings("c:\\\r\nc:\\\r\n" + Scratch("out") + "\r\n1\r\n", "");
    StartAndShow({archive});
    for (std::size_t i = 0; i < c.selected.size(); ++i) {
        ClickListRow(Main().lista.Handle(), c.selected[i], i > 0);
    }
    Tdescompri& d = Dialog();
    const bool closed = WithDialog([&] {
        EXPECT_EQ(d.dir.Path(), Scratch("out"));
        ui::CheckBox* boxes[] = {&d.c1, &d.c2, &d.c3, &d.c4};
        for (int i = 0; i < 4; ++i) {
            boxes[i]->SetChecked(c.boxes[i]);
        }
        d.opc.SetItemIndex(c.choice);
        ClickToolButton(d.ToolBar1.Handle(), 0);
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(Main().zip.ExtrOptions, c.options);
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(Scratch("out"))) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), Scratch("out")).string()] =
                ReadFileBytes(entry.path().string());
        }
    }
    EXPECT_EQ(files, c.after);
    EXPECT_EQ(Main().confi.Get(2), Scratch("out"));
    EXPECT_EQ(Messages(), c.kept ? std::vector<std::string>{"Ya existen y no se han sustituido "
                                                            "(marque \"Sobreescribir "
                                                            "archivos\"):\n   " +
                                                            std::string(c.kept)}
                                 : std::vector<std::string>{});
    EXPECT_TRUE(::IsWindowEnabled(d.Handle()));
}

using E = ExtrOptsEnum;
INSTANTIATE_TEST_SUITE_P(
    Options, Extracting,
    ::testing::Values(
        ExtractCase{
            "DefaultsRestoreFoldersAndKeepFiles",
            {true, false, false, false},
            0,
            {},
            {E::ExtrDirNames},
            {{"a.txt", "old a"}, {"dir\\b.txt", "new b"}, {"_", "star"}, {"e\\c.txt", "new c"}},
            "a.txt"},
        ExtractCase{
            "Overwrite",
            {true, true, false, false},
            0,
            {},
            {E::ExtrDirNames, E::ExtrOverWrite},
            {{"a.txt", "new a"}, {"dir\\b.txt", "new b"}, {"_", "star"}, {"e\\c.txt", "new c"}},
            nullptr},
        ExtractCase{"WithoutFolders",
                    {false, true, false, false},
                    0,
                    {},
                    {E::ExtrOverWrite},
                    {{"a.txt", "new a"}, {"b.txt", "new b"}, {"_", "star"}, {"c.txt", "new c"}},
                    nullptr},
        ExtractCase{"FreshenOnlyExisting",
                    {true, true, true, false},
                    0,
                    {},
                    {E::ExtrDirNames, E::ExtrOverWrite, E::ExtrFreshen},
                    {{"a.txt", "new a"}},
                    nullptr},
        ExtractCase{"OnlySelectedByStoredName",
                    {true, false, false, false},
                    1,
                    {0, 2},
                    {E::ExtrDirNames},
                    {{"a.txt", "old a"}, {"dir\\b.txt", "new b"}, {"_", "star"}},
                    nullptr},
        ExtractCase{"ASelectedFolderStandsForWhatIsInIt",
                    {true, false, false, false},
                    1,
                    {3},
                    {E::ExtrDirNames},
                    {{"a.txt", "old a"}, {"e\\c.txt", "new c"}},
                    nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractDialog, NothingExtractedKeepsTheDialogOpenAndEveryCloseStoresTheFolder) {
    testzip::Entry unknown = testzip::Stored("odd.txt", "data");
    unknown.method = 99;
    fs::create_directories(Scratch("out"));
    fs::create_directories(Scratch("other"));
    WriteScratch("out\\kept.txt", "old");
    ::SetFileAttributesA(Scratch("out\\kept.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteSettings("c:\\\r\nc:\\\r\n" + Scratch("out") + "\r\n1\r\n", "");
    StartAndShow({});
    Tdescompri& d = Dialog();
    // A method the library cannot read; a read-only file in the way of an overwrite.
    struct Refusal {
        std::string archive;
        std::string box; // the cause first, then the entry it concerns
    };
    for (const auto& [archive, box] :
         {Refusal{MakeArchive("odd.zip", {unknown}),
                  "Método de compresión o cifrado no admitido:\n   odd.txt"},
          Refusal{MakeArchive("kept.zip", {testzip::Stored("kept.txt", "new")}),
                  "No se pueden escribir estos ficheros:\n   kept.txt"}}) {
        Main().Abrir_Archivo(archive);
        ClearMessages();
        const bool closed = WithDialog([&] {
            d.c2.SetChecked(true);
            d.dir.SetPath(Scratch("out"));
            ClickToolButton(d.ToolBar1.Handle(), 0);
            EXPECT_TRUE(::IsWindowEnabled(d.Handle()));
        });
        EXPECT_FALSE(closed) << archive;
        // One box: why, then the entry.
        ASSERT_EQ(MessageRequests().size(), 1u) << archive;
        EXPECT_EQ(MessageRequests().back().text, box);
        EXPECT_EQ(MessageRequests().back().caption, "Imposible descomprimir");
        EXPECT_EQ(MessageRequests().back().owner, 0u);
        EXPECT_FALSE(fs::exists(Scratch("out\\odd.txt")));
        EXPECT_EQ(ReadFileBytes(Scratch("out\\kept.txt")), "old");
    }
    ::SetFileAttributesA(Scratch("out\\kept.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

    // Cancelar, the close box: each close stores the tree's folder; the next showing still
    // starts from the folder the settings gave.
    struct Close {
        std::string folder;
        std::function<void()> close;
    };
    for (const Close& c :
         {Close{Scratch("other"), [&] { ClickToolButton(d.ToolBar1.Handle(), 2); }},
          Close{"C:\\", [&] { ::SendMessageA(d.Handle(), WM_CLOSE, 0, 0); }}}) {
        EXPECT_TRUE(WithDialog([&] {
            EXPECT_EQ(d.dir.Path(), Scratch("out"));
            d.dir.SetPath(c.folder);
            c.close();
        }));
        EXPECT_EQ(Main().confi.Get(2), c.folder);
    }
}

// What a refused operation asked for never reaches the next one, and its count is not
// taken for an extraction that never ran.
TEST_F(ExtractDialog, ARefusedOperationLeavesNothingForTheNext) {
    const std::string archive = MakeArchive("r.zip", {testzip::Stored("old.txt", "old")});
    const std::string ordinary = WriteScratch("ordinary.txt", "new");
    fs::create_directories(Scratch("out"));
    WriteSettings("c:\\\r\nc:\\\r\n" + Scratch("out") + "\r\n1\r\n", "");
    StartAndShow({archive});
    Tdescompri& d = Dialog();
    const auto extractAll = [&] {
        return WithDialog([&] {
            d.dir.SetPath(Scratch("out"));
            d.opc.SetItemIndex(0);
            ClickToolButton(d.ToolBar1.Handle(), 0);
        });
    };
    const std::string tooLong = "C:\\" + std::string(255, 'x');
    Main().Anyade(tooLong);
    Main().Anyade(ordinary);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error - file name too long: " + tooLong});
    EXPECT_EQ(NamesOnDisk(archive), (std::vector<std::string>{"old.txt", "ordinary.txt"}));
    EXPECT_TRUE(extractAll());
    EXPECT_EQ(ReadFileBytes(Scratch("out\\old.txt")), "old");
    EXPECT_EQ(ReadFileBytes(Scratch("out\\ordinary.txt")), "new");

    // "Solo Seleccionados" with no row selected extracts nothing and says so.
    fs::create_directories(Scratch("out2"));
    ClearMessages();
    EXPECT_FALSE(WithDialog([&] {
        d.dir.SetPath(Scratch("out2"));
        d.opc.SetItemIndex(1);
        ClickToolButton(d.ToolBar1.Handle(), 0);
    })) << "the dialog stays for another choice";
    EXPECT_TRUE(fs::is_empty(Scratch("out2")));
    EXPECT_EQ(Messages(), std::vector<std::string>{"No hay ninguna entrada seleccionada."});

    // The archive gone: the extraction is refused, and the dialog does not close as if
    // the earlier one's count were its own.
    fs::remove(archive);
    ClearMessages();
    EXPECT_FALSE(extractAll());
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().front(), "Error - no zip file specified");
    EXPECT_EQ(Main().zip.ResultCount(), 0);
}

// "Nuevo Directorio..." where the file system has no folder: one clear word, and the
// tree stays where it was.
TEST_F(ExtractDialog, NewFolderOnAVirtualFolderSaysSoOnceAndStays) {
    StartAndShow();
    Tdescompri& d = Dialog();
    WithDialog([&] {
        d.dir.SetPath("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
        const std::string before = d.direk.Text();
        ClickToolButton(d.ToolBar1.Handle(), 1);
        EXPECT_EQ(d.dir.Path(), "");
        EXPECT_EQ(d.direk.Text(), before);
        ClickToolButton(d.ToolBar1.Handle(), 2);
    });
    EXPECT_EQ(Messages(),
              std::vector<std::string>{
                  "Aquí no se puede crear una carpeta: elija una carpeta de un disco."});
}

// Twenty entries that need a password: one box says what failed and why, a few lines
// of it, and how many more.
TEST_F(ExtractDialog, EveryFailureOfAnExtractionIsExplainedInOneBox) {
    std::vector<testzip::Entry> entries;
    for (int i = 0; i < 20; ++i) {
        testzip::Entry e = testzip::Stored(std::to_string(i) + ".txt", std::string(20, 'x'));
        e.flags = 1;
        entries.push_back(e);
    }
    fs::create_directories(Scratch("out"));
    StartAndShow({MakeArchive("locked.zip", entries)});
    Tdescompri& d = Dialog();
    int asked = 0;
    WithDialog([&] {
        d.dir.SetPath(Scratch("out"));
        d.opc.SetItemIndex(0);
        // The password is asked for once, and the user gives up.
        const auto dialogModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
            EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(pideClave->Handle()));
            ++asked;
            r.show();
            ::SendMessageA(pideClave->Cancelar.Handle(), BM_CLICK, 0, 0);
            r.hide();
        });
        ClickToolButton(d.ToolBar1.Handle(), 0);
        platform::SetModalHandler(dialogModal);
    });
    EXPECT_EQ(asked, 1);
    // One box: the password not given is the cause, then the entries left, a few of them.
    ASSERT_EQ(Messages().size(), 1u);
    std::string expected =
        "No se ha dado la contraseña; estas entradas cifradas no se han extraído:";
    for (int i = 0; i < 5; ++i) {
        expected += "\n   " + std::to_string(i) + ".txt";
    }
    EXPECT_EQ(Messages()[0], expected + "\n   y 15 más");
    EXPECT_TRUE(fs::is_empty(Scratch("out")));
}

} // namespace
