// The list rows' shortcut menu, Escape while the engine works, and what the status bar
// says an extraction or a delete did.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <windows.h>

#include "dialogs/Cborra.h"
#include "dialogs/Ccomprobar.h"
#include "dialogs/Cdesc.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Menu.h"

namespace {

namespace fs = std::filesystem;

class RowMenu : public ArchiveWindow {
protected:
    // Opens the rows' menu as open does and chooses the item at choose (-1: none).
    // Returns the menu as it was shown, or nothing when none was.
    std::optional<std::vector<MenuEntry>> MenuFrom(const std::function<void()>& open,
                                                   int choose = -1) {
        std::optional<std::vector<MenuEntry>> shown;
        const auto previous = ui::SetPopupHandler([&](HMENU menu, HWND owner, POINT) -> UINT {
            EXPECT_EQ(owner, Main().Handle());
            shown = MenuEntries(menu);
            return choose >= 0 ? ::GetMenuItemID(menu, choose) : 0;
        });
        open();
        ui::SetPopupHandler(previous);
        return shown;
    }
    // A right click on a row (-1: below the rows).
    std::optional<std::vector<MenuEntry>> RightClick(int row, int choose = -1) {
        return MenuFrom([&] { RightClickListRow(Main().lista.Handle(), row); }, choose);
    }
    // Shift+F10 on the list, with Shift held as the keyboard's state tells it.
    std::optional<std::vector<MenuEntry>> ShiftF10() {
        HWND list = Main().lista.Handle();
        return MenuFrom([&] {
            BYTE keys[256] = {};
            ::GetKeyboardState(keys);
            const BYTE shift = keys[VK_SHIFT];
            keys[VK_SHIFT] = 0x80;
            ::SetKeyboardState(keys);
            ::SendMessageW(list, WM_SYSKEYDOWN, VK_F10, 1);
            keys[VK_SHIFT] = shift;
            ::SetKeyboardState(keys);
            PumpMessages();
        });
    }
};

TEST_F(RowMenu, OffersTheCommandsThatApplyByTheButtonsRulesAndRunsThem) {
    const std::string archive =
        MakeArchive("r.zip", {testzip::Stored("a.txt", "A"), testzip::Stored("b.txt", "BB"),
                              testzip::Stored("c.txt", "CCC")});
    StartAndShow({archive});
    EXPECT_FALSE(RightClick(-1)) << "no menu away from the rows";

    // Two rows selected, then a right click on one of them: the selection stays.
    ClickListRow(Main().lista.Handle(), 0);
    ClickListRow(Main().lista.Handle(), 2, true);
    const auto menu = RightClick(2);
    ASSERT_TRUE(menu);
    EXPECT_EQ(Main().lista.SelectedRows(), (std::vector<int>{0, 2}));
    const std::vector<MenuEntry> expected = {{"&Ver", Main().Bver.Enabled()},
                                             {"E&xtraer...", Main().Bextraer.Enabled()},
                                             {"&Borrar...", Main().Bborrar.Enabled()},
                                             {"-", true},
                                             {"&Comprobar archivo", Main().Mcomprobar.Enabled()}};
    EXPECT_EQ(*menu, expected);
    EXPECT_FALSE(Main().Bver.Enabled()) << "two rows: nothing to view, as for the button";
    EXPECT_TRUE(Main().Bborrar.Enabled());
    // From the keyboard the menu goes by the focused row, if it is selected.
    EXPECT_EQ(ShiftF10(), menu);
    ClickListRow(Main().lista.Handle(), 2, true);
    EXPECT_FALSE(ShiftF10()) << "the focused row was unselected";

    // A right click on another row selects it alone; "Ver" views that one.
    shell_.reset(); // the fixture's recorder gives the shell back as it goes
    shell_ = std::make_unique<ShellRecorder>(42);
    const auto one = RightClick(1, 0);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->front(), (MenuEntry{"&Ver", true}));
    EXPECT_EQ(Main().lista.SelectedRows(), std::vector<int>{1});
    ASSERT_EQ(shell_->requests.size(), 1u);
    EXPECT_EQ(ReadFileBytes(shell_->requests[0].file), "BB");

    // "Comprobar archivo" from the menu tests the archive.
    std::string summary;
    const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
        EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(comprobar->Handle()));
        r.show();
        summary = comprobar->resumen.Caption();
        ClickToolButton(comprobar->ToolBar1.Handle(), 0);
        r.hide();
    });
    RightClick(1, 4);
    platform::SetModalHandler(fixtureModal);
    EXPECT_EQ(summary, "Las 3 entradas son correctas.");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RowMenu, HasEnglishCaptionsInEnglish) {
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n2\r\n", "");
    StartAndShow({MakeArchive("e.zip", {testzip::Stored("a.txt", "A")})});
    const auto menu = RightClick(0);
    ASSERT_TRUE(menu);
    EXPECT_EQ(*menu, (std::vector<MenuEntry>{{"&View", true},
                                             {"E&xtract...", true},
                                             {"&Delete...", true},
                                             {"-", true},
                                             {"&Test archive", true}}));
}

// Escape where the keyboard is, as the message loop receives it: the window that has
// the focus, or the active one when none has.
void PressEscape() {
    HWND focus = ::GetFocus();
    if (focus != nullptr) {
        ::PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    } else {
        ::PostMessageA(::GetActiveWindow(), WM_SYSKEYDOWN, VK_ESCAPE, 1);
    }
}

enum class Op { Add, Extract, Delete, Test };

struct CancelCase {
    const char* name;
    Op op;
    int escapeAt; // the entry whose start Escape follows; -1: never pressed
    int language; // 1 Spanish, 2 English
    // The first and second panels afterwards; %d is the number of entries done.
    const char* panel0;
    const char* panel1; // nullptr: no note of a cancel
};

std::string WithCount(const char* format, int count) {
    char text[96];
    std::snprintf(text, sizeof text, format, count);
    return text;
}

class Cancelling : public RowMenu, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(Cancelling, EscapeStopsTheEngineAndTheStatusBarSaysWhatWasDone) {
    const CancelCase& c = GetParam();
    constexpr int kEntries = 40;
    constexpr int kSelected = 30; // what a delete takes
    std::vector<testzip::Entry> entries;
    for (int i = 0; i < kEntries; ++i) {
        std::string name = "e";
        name += std::to_string(100 + i) + ".bin";
        entries.push_back(
            testzip::Stored(name, std::string(200000, static_cast<char>('a' + i % 26))));
    }
    const std::string archive = MakeArchive("c.zip", entries);
    fs::create_directories(Scratch("out"));
    fs::create_directories(Scratch("in"));
    for (int i = 0; i < kEntries; ++i) {
        WriteScratch("in\\f" + std::to_string(i) + ".bin",
                     testzip::Incompressible(300000, static_cast<unsigned>(i)));
    }
    WriteSettings(
        "c:\\\r\nc:\\\r\n" + Scratch("out") + "\r\n" + std::to_string(c.language) + "\r\n", "");
    StartAndShow({archive});
    const std::string before = ReadFileBytes(archive);
    for (int row = 0; row < kSelected; ++row) {
        Main().lista.SetSelected(row, true);
    }

    // Escape comes while the library works, and the program's next look at its
    // messages finds it.
    int started = 0;
    const TProgressEvent program = Main().zip.OnProgress;
    Main().zip.OnProgress = [&](TZipEngine& z, ProgressType type, const std::string& name,
                                std::int32_t size) {
        if (type == ProgressType::ProgrFileStart && started++ == c.escapeAt) {
            PressEscape();
            ::Sleep(40);
        }
        program(z, type, name, size);
    };
    const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
        r.show();
        if (r.window == reinterpret_cast<std::uintptr_t>(descompri->Handle())) {
            descompri->opc.SetItemIndex(0);
            ClickToolButton(descompri->ToolBar1.Handle(), 0);
        } else if (r.window == reinterpret_cast<std::uintptr_t>(borra->Handle())) {
            borra->opc.SetItemIndex(1); // the selected rows
            ClickToolButton(borra->ToolBar1.Handle(), 0);
        } else {
            ADD_FAILURE() << "a cancelled test shows no result";
        }
        r.hide();
    });
    switch (c.op) {
    case Op::Add:
        Main().AnyadeVarios({Scratch("in")});
        break;
    case Op::Extract:
        Main().BextraerClick();
        break;
    case Op::Delete:
        Main().BborrarClick();
        break;
    case Op::Test:
        Main().McomprobarClick();
        break;
    }
    platform::SetModalHandler(fixtureModal);
    Main().zip.OnProgress = program;

    int extracted = 0;
    for (const auto& file : fs::directory_iterator(Scratch("out"))) {
        extracted += file.is_regular_file() ? 1 : 0;
    }
    const bool cancelled = c.escapeAt >= 0;
    if (cancelled) {
        EXPECT_EQ(ReadFileBytes(archive), before) << "the archive is as it was";
        EXPECT_LT(started, kEntries) << "stopped before the end";
    }
    if (c.op == Op::Extract) {
        EXPECT_EQ(extracted, cancelled ? c.escapeAt : kEntries) << "whole entries only";
    }
    const int done = cancelled ? c.escapeAt : extracted;
    EXPECT_EQ(StatusText(Main().estado.Handle(), 0), WithCount(c.panel0, done));
    const std::string panel1 = StatusText(Main().estado.Handle(), 1);
    if (c.panel1 != nullptr) {
        EXPECT_EQ(panel1, WithCount(c.panel1, done));
    } else {
        EXPECT_EQ(panel1.find("Cancel"), std::string::npos) << panel1;
    }
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Cancelling,
    ::testing::Values(
        CancelCase{"AddCancelled", Op::Add, 2, 1, "  Listo", "Cancelado: 0 de 1 añadidos"},
        CancelCase{"ExtractCancelled", Op::Extract, 5, 1, "Extraídas: %d",
                   "Cancelado: %d entradas hechas"},
        CancelCase{"ExtractWhole", Op::Extract, -1, 1, "Extraídas: %d", nullptr},
        CancelCase{"DeleteCancelled", Op::Delete, 5, 1, "Borradas: 0",
                   "Cancelado: archivo sin cambios"},
        CancelCase{"DeleteWhole", Op::Delete, -1, 1, "Borradas: 30", nullptr},
        CancelCase{"TestCancelled", Op::Test, 5, 1, "  Listo", "Cancelado: %d entradas hechas"},
        CancelCase{"ExtractCancelledEnglish", Op::Extract, 5, 2, "Extracted: %d",
                   "Cancelled: %d entries done"},
        CancelCase{"DeleteWholeEnglish", Op::Delete, -1, 2, "Deleted: 30", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Escape during a multi-file add, chosen in the dialog or dropped: the file at work is
// not added, no later one starts, those before stay, and the status bar says how many.
struct MultiAddCase {
    const char* name;
    bool drop;
    int escapeAt; // the file whose start Escape follows
    int language;
    const char* panel1;
};

class MultiAddCancelling : public RowMenu, public ::testing::WithParamInterface<MultiAddCase> {};

TEST_P(MultiAddCancelling, KeepsTheFilesBeforeAndStartsNoneAfter) {
    const MultiAddCase& c = GetParam();
    constexpr int kFiles = 6;
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) of "f" + ... + ".bin".
    const auto fileName = [](int i) {
        return std::string("f").append(std::to_string(i)).append(".bin");
    };
    const std::string archive = MakeArchive("m.zip", {testzip::Stored("old.txt", "old")});
    std::vector<std::string> paths;
    std::vector<std::wstring> widePaths;
    for (int i = 0; i < kFiles; ++i) {
        paths.push_back(
            WriteScratch(fileName(i), testzip::Incompressible(2 << 20, static_cast<unsigned>(i))));
        widePaths.push_back(std::filesystem::path(paths.back()).wstring());
    }
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n" + std::to_string(c.language) + "\r\n", "");
    StartAndShow({archive});
    std::vector<std::string> started;
    const TProgressEvent program = Main().zip.OnProgress;
    Main().zip.OnProgress = [&](TZipEngine& z, ProgressType type, const std::string& name,
                                std::int32_t size) {
        if (type == ProgressType::ProgrFileStart) {
            started.push_back(name);
            if (static_cast<int>(started.size()) == c.escapeAt + 1) {
                PressEscape();
                ::Sleep(40);
            }
        }
        program(z, type, name, size);
    };
    if (c.drop) {
        DropOnWindow(widePaths);
    } else {
        AnswerFileDialogs(paths);
        Main().BanyadirClick();
    }
    Main().zip.OnProgress = program;

    std::vector<std::string> kept = {"old.txt"};
    for (int i = 0; i < c.escapeAt; ++i) {
        kept.push_back(fileName(i));
    }
    EXPECT_EQ(NamesOnDisk(archive), kept);
    EXPECT_EQ(static_cast<int>(started.size()), c.escapeAt + 1) << "no file started after";
    EXPECT_EQ(Rows().size(), kept.size());
    EXPECT_EQ(StatusText(Main().estado.Handle(), 1), WithCount(c.panel1, c.escapeAt));
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
}

INSTANTIATE_TEST_SUITE_P(
    Adds, MultiAddCancelling,
    ::testing::Values(MultiAddCase{"Dialog", false, 3, 1, "Cancelado: %d de 6 añadidos"},
                      MultiAddCase{"DialogFirstFile", false, 0, 1, "Cancelado: %d de 6 añadidos"},
                      MultiAddCase{"DropEnglish", true, 2, 2, "Cancelled: %d of 6 added"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
