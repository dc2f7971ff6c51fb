// The current archive in the main window: the list of its entries, the enabled states,
// new-archive names, the recent archives, and archives that cannot be read.

#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include "main/Cdatos.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"
#include "ui/Guard.h"

namespace {

// An entry whose data stands for a compressed size: the list reads headers only.
testzip::Entry Sized(std::string name, std::uint32_t size, std::uint32_t stored) {
    testzip::Entry entry = testzip::Stored(std::move(name), std::string(stored, 'x'));
    entry.uncompressedSize = size;
    return entry;
}

class CurrentArchive : public ArchiveWindow {};

TEST_F(CurrentArchive, ListsEveryEntrySortedWithItsCells) {
    testzip::Entry undated = testzip::Stored("zero.dat", "");
    undated.dosDateTime = 0;
    // Past 4 GiB: the sizes live in the zip64 block of the extra field.
    testzip::Entry big = testzip::Stored("big", std::string(10, 'z'));
    big.localUncompressedSize = big.localCompressedSize = 0xFFFFFFFF;
    big.extra =
        testzip::Le16(1) + testzip::Le16(16) + testzip::Le64(4294967297) + testzip::Le64(10);
    testzip::Entry utf8 = testzip::Stored("\xC3\xB1"
                                          "and\xC3\xBA.txt",
                                          "n");
    utf8.flags = 0x800;
    const std::string path =
        MakeArchive("cells.zip", {Sized("dir\\b.txt", 1000, 400), Sized("a/c.txt", 200, 100),
                                  Sized("twelve", 8, 7), Sized("half", 8, 5), Sized("neg", 10, 12),
                                  Sized("same", 5, 5), undated, utf8, big,
                                  testzip::Stored("\x81"
                                                  "ber.txt",
                                                  "u")});
    StartAndShow({path});

    struct Expected {
        const wchar_t *caption, *size, *ratio;
        bool dated;
    };
    const Expected expected[] = {
        {L"a/c.txt", L"200", L"50%", true},
        {L"b.txt", L"1000", L"60%", true},
        {L"big", L"4294967297", L"100%", true},
        {L"half", L"8", L"38%", true},
        {L"\xF1"
         L"and\xFA.txt",
         L"1", L"0%", true},
        {L"neg", L"10", L"-20%", true},
        {L"same", L"5", L"0%", true},
        {L"twelve", L"8", L"12%", true},
        {L"\xFC"
         L"ber.txt",
         L"1", L"0%", true},
        {L"zero.dat", L"0", L"", false},
    };
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        EXPECT_EQ(row[0], expected[i].caption) << i;
        EXPECT_EQ(row[2], expected[i].size) << i;
        EXPECT_EQ(row[4], expected[i].ratio) << i;
        if (expected[i].dated) {
            EXPECT_NE(row[1].find(L"2021"), std::wstring::npos) << i;
            EXPECT_TRUE(row[1].ends_with(L"  ") && row[3].starts_with(L" 5:06")) << i;
        } else {
            EXPECT_EQ(row[1] + row[3], L"") << "no date for a value that names no moment";
        }
    }
    EXPECT_EQ(StatusText(Main().archivo.Handle(), 0), path);
    EXPECT_EQ(Datos.ArchivoActual, path);
    const auto size = std::filesystem::file_size(path);
    EXPECT_EQ(StatusText(Main().estado.Handle(), 1), std::to_string(size) + " bytes");
    EXPECT_EQ(StatusText(Main().estado.Handle(), 0), "  Listo");
}

// Opciones -> "Codificación de nombres": the last item of Opciones.
HMENU NameEncodings(HWND window) {
    HMENU opciones = ::GetSubMenu(::GetMenu(window), 1);
    return ::GetSubMenu(opciones, ::GetMenuItemCount(opciones) - 1);
}

// Chooses the item of "Codificación de nombres" at a place of its list.
void ChooseNameEncoding(HWND window, int item) {
    HMENU encodings = NameEncodings(window);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(::GetMenuItemID(encodings, item), 0), 0);
    PumpMessages();
}

std::vector<std::wstring> SortedNames(const std::vector<std::vector<std::wstring>>& rows) {
    std::vector<std::wstring> names;
    for (const auto& row : rows) {
        names.push_back(row[0]);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Names written without a UTF-8 marker show as their writer meant them. A lone short
// name is too little to tell: it reads in 437 until the user picks its code page,
// which holds for that archive and goes back to detection for the next.
TEST_F(CurrentArchive, NamesShowInTheCodePageTheyWereWrittenInOrTheOneChosen) {
    const std::string lone =
        MakeArchive("lone.zip", {testzip::Stored("\x8E\x91\x97\xBF.doc", "c")});
    const std::string japanese = MakeArchive(
        "sjis.zip", {testzip::Stored("\x93\xFA\x96{\x8C\xEA\x82\xCC\x83t\x83@\x83"
                                     "C\x83\x8B.txt",
                                     "a"),
                     testzip::Stored("\x89\xC4\x8Bx\x82\xDD\x82\xCC\x8E\xCA\x90^.jpg", "b"),
                     testzip::Stored("\x8E\x91\x97\xBF.docx", "c")});
    StartAndShow({lone});
    const HWND window = Main().Handle();
    HMENU encodings = NameEncodings(window);
    ASSERT_NE(encodings, nullptr);
    EXPECT_EQ(::GetMenuItemCount(encodings), 12);
    const auto checked = [&](int item) {
        return (::GetMenuState(encodings, static_cast<UINT>(item), MF_BYPOSITION) & MF_CHECKED) !=
               0;
    };
    EXPECT_TRUE(checked(0)) << "Automática";
    EXPECT_EQ(SortedNames(Rows()), std::vector<std::wstring>{L"\x00C4\x00E6\x00F9\x2510.doc"});

    ChooseNameEncoding(window, 4); // 932
    EXPECT_EQ(SortedNames(Rows()), std::vector<std::wstring>{L"\x8CC7\x6599.doc"});
    EXPECT_TRUE(checked(4));
    EXPECT_FALSE(checked(0));

    ui::Guarded([&] { Main().Abrir_Archivo(japanese); });
    EXPECT_TRUE(checked(0)) << "another archive is detected afresh";
    EXPECT_EQ(SortedNames(Rows()),
              (std::vector<std::wstring>{L"\x590F\x4F11\x307F\x306E\x5199\x771F.jpg",
                                         L"\x65E5\x672C\x8A9E\x306E\x30D5\x30A1\x30A4\x30EB.txt",
                                         L"\x8CC7\x6599.docx"}));
}

TEST_F(CurrentArchive, EnabledStatesFollowTheArchiveAndTheSelection) {
    const std::string path =
        MakeArchive("three.zip", {testzip::Stored("a", "1"), testzip::Stored("b", "2"),
                                  testzip::Stored("c", "3")});
    AnswerFileDialogs({Scratch("fresh")});
    HWND list = nullptr;
    struct Step {
        const char* what;
        std::function<void()> act;
        ControlStates expected; // close, Cerrar, add, extract, delete, view, drops
    };
    const Step steps[] = {
        {"start", [] {}, "0000000"},
        {"open", [&] { Main().Abrir_Archivo(path); }, "1111101"},
        {"click one row", [&] { ClickListRow(list, 0); }, "1111111"},
        {"Ctrl+click a second", [&] { ClickListRow(list, 1, true); }, "1111101"},
        {"Down by keyboard",
         [&] {
             ::SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
             PumpMessages();
         },
         "1111111"},
        {"click where no row is", [&] { ClickListBlank(list); }, "1111101"},
        {"close", [&] { Main().BcerrarClick(); }, "0000000"},
        {"new", [&] { Main().BnuevoClick(); }, "1111001"},
    };
    StartAndShow();
    list = Main().lista.Handle();
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(States(), step.expected) << step.what;
    }
    EXPECT_EQ(Datos.ArchivoActual, Scratch("fresh") + ".zip");
    EXPECT_EQ(Rows().size(), 0u);
    EXPECT_EQ(StatusText(Main().estado.Handle(), 1), "") << "no size for an archive not yet made";
}

struct NewName {
    const char* chosen;
    const char* existing; // a file there before, or ""
    int answer;           // to the question, when it is asked
    const char* current;  // the current archive afterwards, or ""
    bool asked;
    std::size_t rows;
};

class NewArchive : public ArchiveWindow, public ::testing::WithParamInterface<NewName> {};

TEST_P(NewArchive, NamesTheArchiveAsTheRulesSay) {
    const NewName& c = GetParam();
    if (*c.existing != '\0') {
        MakeArchive(c.existing, {testzip::Stored("inside", "1")});
    }
    std::vector<platform::MessageBoxRequest> asked;
    const auto previous =
        platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
            asked.push_back(request);
            return c.answer;
        });
    StartAndShow();
    AnswerFileDialogs({Scratch(c.chosen)});
    Main().MnuevoClick();
    platform::SetMessageBoxHandler(previous);
    EXPECT_EQ(Datos.ArchivoActual, *c.current ? Scratch(c.current) : "");
    EXPECT_EQ(StatusText(Main().archivo.Handle(), 0), Datos.ArchivoActual);
    EXPECT_EQ(Rows().size(), c.rows);
    ASSERT_EQ(asked.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(asked[0].text, "El archivo ya existe,¿desea abrirlo?");
        EXPECT_EQ(asked[0].caption, "tx40");
        EXPECT_EQ(asked[0].owner, 0u);
        EXPECT_EQ(asked[0].style, platform::kMbYesNo) << "no icon";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, NewArchive,
    ::testing::Values(NewName{"plain", "", 0, "plain.zip", false, 0},
                      NewName{"notes.txt", "", 0, "notes.txt.zip", false, 0},
                      NewName{"UP.ZIP", "", 0, "UP.ZIP.zip", false, 0},
                      NewName{"ok.zip", "", 0, "ok.zip", false, 0},
                      NewName{"there.zip", "there.zip", platform::kIdNo, "", true, 0},
                      NewName{"there.zip", "there.zip", platform::kIdYes, "there.zip", true, 1},
                      // The name completed with ".zip" is an archive: it opens, entries shown.
                      NewName{"old", "old.zip", 0, "old.zip", false, 1}));

struct RecentCase {
    const char* name;
    std::vector<const char*> before;
    // Letters close their archive after opening it; digits click that item.
    const char* actions;
    std::vector<const char*> after;
    const char* open; // the archive open at the end, or ""
};

class RecentArchives : public ArchiveWindow, public ::testing::WithParamInterface<RecentCase> {};

TEST_P(RecentArchives, FollowClosingAndReopening) {
    const RecentCase& c = GetParam();
    std::string recent;
    for (const char* line : c.before) {
        recent += Scratch(line) + "\r\n";
    }
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G"}) {
        MakeArchive(name, {testzip::Stored("x", "1")});
    }
    WriteSettings("c:\\\r\nc:\\\r\nc:\\\r\n1\r\n", recent);
    StartAndShow();
    ui::MenuItem* items[] = {&Main().ult1, &Main().ult2, &Main().ult3, &Main().ult4};
    for (const char* a = c.actions; *a != '\0'; ++a) {
        if (*a >= '1' && *a <= '4') {
            items[*a - '1']->OnClick();
        } else if (*a == 'x') {
            Main().Cerrar_Archivo();
        } else {
            Main().Abrir_Archivo(Scratch(std::string(1, *a)));
            Main().Cerrar_Archivo();
        }
    }
    std::vector<std::string> expected;
    for (const char* line : c.after) {
        expected.push_back(Scratch(line));
    }
    std::vector<std::string> lines, shown;
    for (int i = 0; i < Main().ultimos.Count(); ++i) {
        lines.push_back(Main().ultimos.Get(i));
    }
    for (ui::MenuItem* item : items) {
        if (item->Visible()) {
            shown.push_back(item->Caption());
        }
    }
    EXPECT_EQ(lines, expected);
    expected.resize(std::min<std::size_t>(expected.size(), 4));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(Datos.ArchivoActual, *c.open ? Scratch(c.open) : "");
    Main().Salir();
    std::string written;
    for (const std::string& line : lines) {
        written += line + "\r\n";
    }
    EXPECT_EQ(ReadFileBytes(FolderFile("ult.txm")), written);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RecentArchives,
    ::testing::Values(
        RecentCase{"FullListDropsTheOldest", {"A", "B", "C", "D"}, "E", {"E", "A", "B", "C"}, ""},
        RecentCase{"ShortListGrows", {"A", "B"}, "C", {"C", "A", "B"}, ""},
        RecentCase{
            "ReopenedLeavesAndComesBackOnTop", {"A", "B", "C", "D"}, "3", {"A", "B", "D"}, "C"},
        RecentCase{"ClosedAgainGoesOnTop", {"A", "B", "C", "D"}, "3x", {"C", "A", "B", "D"}, ""},
        RecentCase{"KnownArchiveKeepsItsPlace", {"A", "B", "C"}, "B", {"A", "B", "C"}, ""},
        RecentCase{"LastItemReopenedEmptiesTheMenu", {}, "A1", {}, "A"},
        RecentCase{"EditedLongListShowsFourAndGrows",
                   {"A", "B", "C", "D", "E", "F"},
                   "G",
                   {"G", "A", "B", "C", "D", "E", "F"},
                   ""},
        RecentCase{"MissingArchiveOpensNothingAndLeaves", {"Z", "A"}, "1", {"A"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CurrentArchive, AnArchiveThatCannotBeReadLeavesTheWindowAgreeingWithTheEngine) {
    const std::string good = MakeArchive("good.zip", {testzip::Stored("kept", "1")});
    const std::string damaged =
        MakeArchive("damaged.zip", {testzip::Stored("first", "1"), testzip::Overrunning("second")});
    StartAndShow({good});
    ui::Guarded([&] { Main().Abrir_Archivo(damaged); });
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error 3 reading Zip file"});
    EXPECT_EQ(Main().zip.ZipFilename(), damaged);
    EXPECT_EQ(Datos.ArchivoActual, damaged);
    EXPECT_EQ(StatusText(Main().archivo.Handle(), 0), damaged);
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"first"});
    EXPECT_EQ(States(), "1111101");
}

} // namespace
