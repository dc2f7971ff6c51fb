// "Comprobar archivo": every entry tested by the library, the damaged ones named in a
// window of their own.

#include <gtest/gtest.h>

#include "dialogs/Ccomprobar.h"
#include "tests/win32/ArchiveWindowFixture.h"
#include "tests/win32/Readback.h"

namespace {

struct TestCase {
    const char* name;
    int entries;
    std::vector<int> damaged; // entries whose stored data gets one byte changed
    const char* summary;
    std::vector<std::wstring> named; // the rows' entries, in the archive's order
};

class TestArchive : public ArchiveWindow, public ::testing::WithParamInterface<TestCase> {};

TEST_P(TestArchive, NamesEachDamagedEntryAndNoOther) {
    const TestCase& c = GetParam();
    std::vector<testzip::Entry> entries;
    for (int i = 0; i < c.entries; ++i) {
        // Many entries, so that they are tested on several threads at once.
        entries.push_back(testzip::Stored("dir/e" + std::to_string(100 + i) + ".txt",
                                          std::string(1000 + i, static_cast<char>('a' + i % 26))));
    }
    testzip::Layout layout = testzip::Build(entries);
    for (const int d : c.damaged) {
        const std::size_t data = layout.localOffsets[static_cast<std::size_t>(d)] + 30 +
                                 entries[static_cast<std::size_t>(d)].name.size();
        layout.bytes[data + 5] ^= 0x20;
    }
    const std::string archive = WriteScratch("test.zip", layout.bytes);
    StartAndShow({archive});
    ASSERT_TRUE(Main().Mcomprobar.Enabled());

    std::string summary, caption;
    std::vector<std::vector<std::wstring>> rows;
    const auto fixtureModal = platform::SetModalHandler([&](const platform::ModalRequest& r) {
        EXPECT_EQ(r.window, reinterpret_cast<std::uintptr_t>(comprobar->Handle()));
        r.show();
        caption = comprobar->Caption();
        summary = comprobar->resumen.Caption();
        if (::IsWindowVisible(comprobar->danyadas.Handle())) {
            rows = ListRows(comprobar->danyadas.Handle());
        }
        ClickToolButton(comprobar->ToolBar1.Handle(), 0);
        EXPECT_TRUE(r.closed());
        r.hide();
    });
    // Chosen from the menu, as a user does.
    ChooseMenuItem(Main().Handle(), 0, 6);
    platform::SetModalHandler(fixtureModal);

    EXPECT_EQ(caption, "Comprobar archivo");
    EXPECT_EQ(summary, c.summary);
    std::vector<std::wstring> named;
    for (const auto& row : rows) {
        named.push_back(row.at(0));
        EXPECT_EQ(row.at(1), L"datos da\u00F1ados (CRC o tama\u00F1o)");
    }
    EXPECT_EQ(named, c.named);
    EXPECT_EQ(Messages(), std::vector<std::string>{}) << "no box for a damaged entry";
    EXPECT_TRUE(::IsWindowEnabled(Main().Handle()));
}

INSTANTIATE_TEST_SUITE_P(
    Archives, TestArchive,
    ::testing::Values(
        TestCase{"AllCorrect", 3, {}, "Las 3 entradas son correctas.", {}},
        TestCase{"OneEntry", 1, {}, "La única entrada es correcta.", {}},
        TestCase{"OneDamaged", 3, {1}, "1 de 3 entradas están dañadas.", {L"dir/e101.txt"}},
        TestCase{"DamagedAmongManyInOrder",
                 60,
                 {7, 41},
                 "2 de 60 entradas están dañadas.",
                 {L"dir/e107.txt", L"dir/e141.txt"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
