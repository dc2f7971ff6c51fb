#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "engineapi/CallBlocks.h"
#include "tests/support/FileLock.h"
#include "tests/support/ZipBytes.h"
#include "tests/zipdll/EngineCalls.h"
#include "tests/zipdll/EngineTestSupport.h"
#include "tests/zipdll/TestData.h"
#include "zipformat/EntryNames.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using enginetest::Call;
using enginetest::WorkDir;

namespace {

const std::string kText = enginetest::CompressibleText(100000);
using enginetest::Noise;

Call AddCall(const std::string& archive, std::vector<std::string> specs) {
    Call c;
    c.archive = archive;
    c.specs = std::move(specs);
    return c;
}

// Which file a name stands for: the same one after a change in place, another after
// a replace.
std::uint64_t FileIdentity(const std::string& path) {
#ifdef _WIN32
    HANDLE h =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    return static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
#else
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
#endif
}

void SetAge(const std::string& path, std::chrono::hours age) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - age);
}

TEST(ZipDll, AddsFilesReportsEachAndEndsTheBatchOnce) {
    WorkDir work;
    work.Write("a.txt", kText);
    work.Write("b.bin", Noise(3000));
    const auto r = enginetest::Add(AddCall(work.Path("t.zip"), {"a.txt", "b.bin"}));
    EXPECT_EQ(r.count, 2);
    const auto actions = r.Actions();
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions.front(), kActionFileStart);
    EXPECT_EQ(actions.back(), kActionBatchEnd);
    EXPECT_EQ(std::count(actions.begin(), actions.end(), kActionBatchEnd), 1);
    EXPECT_EQ(std::count(actions.begin(), actions.end(), kActionFileStart), 2);
    EXPECT_EQ(r.records[0].text, "a.txt");
    EXPECT_EQ(r.records[0].size, static_cast<std::int32_t>(kText.size()));
    // Progress comes for every file, between its start and the next.
    EXPECT_EQ(actions[1], kActionProgress);
    EXPECT_TRUE(r.ErrorCodes().empty());
    const auto dir = enginetest::ReadBack(work.Path("t.zip"));
    ASSERT_EQ(enginetest::Names(dir), (std::vector<std::string>{"a.txt", "b.bin"}));
    EXPECT_EQ(dir.entries[0].method, 8);
    EXPECT_EQ(dir.entries[1].method, 0); // noise would grow under deflate
}

TEST(ZipDll, StoredNamesFollowTheFolderFlagsAndPatterns) {
    struct Case {
        std::vector<std::string> specs;
        bool dirNames, recurse;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {{"d"}, true, true, {"d/", "d/a.txt", "d/s/", "d/s/b.txt", "d/t/", "d/t/b.txt"}},
        // A folder keeps its tree below itself without folder names too, so that two
        // files of one name in different subfolders never clash.
        {{"d"}, false, true, {"d/", "d/a.txt", "d/s/", "d/s/b.txt", "d/t/", "d/t/b.txt"}},
        {{"d/s"}, false, true, {"s/", "s/b.txt"}},
        {{"d"}, false, false, {"d/a.txt"}},
        {{"d"}, true, false, {"d/a.txt"}},
        {{"d/*.txt"}, true, false, {"d/a.txt"}},
        {{"d/s/b.txt"}, true, false, {"d/s/b.txt"}},
        {{"d/s/b.txt"}, false, false, {"b.txt"}},
        {{"./d/../d/a.txt"}, true, false, {"d/a.txt"}},
        {{"d/?.txt", "d/s/*"}, false, false, {"a.txt", "b.txt"}},
        // One file named twice is added once, and that is no failure.
        {{"d/a.txt", "d/a.txt"}, false, false, {"a.txt"}},
        {{"d/*.txt", "./d/a.txt"}, true, false, {"d/a.txt"}},
        {{"d", "d/s/b.txt"},
         true,
         true,
         {"d/", "d/a.txt", "d/s/", "d/s/b.txt", "d/t/", "d/t/b.txt"}},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("d/a.txt", "A");
        work.Write("d/s/b.txt", "B");
        work.Write("d/t/b.txt", "T");
        Call call = AddCall(work.Path("t.zip"), c.specs);
        call.dirNames = c.dirNames;
        call.recurse = c.recurse;
        const auto r = enginetest::Add(call);
        auto names = enginetest::Names(enginetest::ReadBack(work.Path("t.zip")));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names) << c.specs[0] << " " << c.dirNames << c.recurse;
        EXPECT_EQ(r.count, static_cast<std::int32_t>(c.names.size()));
        EXPECT_TRUE(r.ErrorCodes().empty()) << c.specs[0];
    }
}

TEST(ZipDll, AnAbsolutePathInsideTheCurrentFolderIsStoredRelativeToIt) {
    WorkDir work;
    work.Write("d/a.txt", "A");
    Call call = AddCall(work.Path("t.zip"), {work.Path("d/a.txt")});
    call.dirNames = true;
    EXPECT_EQ(enginetest::Add(call).count, 1);
    EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))),
              std::vector<std::string>{"d/a.txt"});
}

TEST(ZipDll, LevelsAreClampedAndZeroStores) {
    const std::pair<std::int32_t, std::uint16_t> cases[] = {
        {-3, 0}, {0, 0}, {1, 8}, {6, 8}, {9, 8}, {12, 8},
    };
    for (const auto& [level, method] : cases) {
        WorkDir work;
        work.Write("a.txt", kText);
        Call call = AddCall(work.Path("t.zip"), {"a.txt"});
        call.level = level;
        EXPECT_EQ(enginetest::Add(call).count, 1);
        const auto dir = enginetest::ReadBack(work.Path("t.zip"));
        ASSERT_EQ(dir.entries.size(), 1u);
        EXPECT_EQ(dir.entries[0].method, method) << level;
        EXPECT_EQ(dir.entries[0].uncompressedSize, kText.size());
    }
}

TEST(ZipDll, AnEntryOfTheSameNameIsReplacedInPlace) {
    WorkDir work;
    work.Write("a.txt", "first");
    work.Write("b.txt", "other");
    const std::string archive = work.Path("t.zip");
    ASSERT_EQ(enginetest::Add(AddCall(archive, {"a.txt", "b.txt"})).count, 2);
    work.Write("a.txt", "second, longer");
    EXPECT_EQ(enginetest::Add(AddCall(archive, {"a.txt"})).count, 1);
    const auto dir = enginetest::ReadBack(archive);
    ASSERT_EQ(enginetest::Names(dir), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(dir.entries[0].uncompressedSize, 14u);
    EXPECT_EQ(dir.entries[1].uncompressedSize, 5u);
}

TEST(ZipDll, UpdateAndFreshenTakeOnlyNewerFiles) {
    struct Case {
        bool update, freshen;
        std::int32_t count;
        std::vector<std::string> names;
    };
    // old.txt is older than its entry, new.txt newer, extra.txt not in the archive.
    const Case cases[] = {
        {false, false, 3, {"new.txt", "old.txt", "extra.txt"}},
        {true, false, 2, {"new.txt", "old.txt", "extra.txt"}},
        {false, true, 1, {"new.txt", "old.txt"}},
        {true, true, 2, {"new.txt", "old.txt", "extra.txt"}}, // update wins
    };
    for (const Case& c : cases) {
        WorkDir work;
        const std::string archive = work.Path("t.zip");
        work.Write("new.txt", "n");
        work.Write("old.txt", "o");
        SetAge(work.Path("new.txt"), std::chrono::hours(48));
        ASSERT_EQ(enginetest::Add(AddCall(archive, {"new.txt", "old.txt"})).count, 2);
        SetAge(work.Path("new.txt"), std::chrono::hours(0));
        SetAge(work.Path("old.txt"), std::chrono::hours(72));
        work.Write("extra.txt", "e");
        Call call = AddCall(archive, {"new.txt", "old.txt", "extra.txt"});
        call.update = c.update;
        call.freshen = c.freshen;
        EXPECT_EQ(enginetest::Add(call).count, c.count) << c.update << c.freshen;
        EXPECT_EQ(enginetest::Names(enginetest::ReadBack(archive)), c.names);
    }
}

TEST(ZipDll, HiddenFilesNeedTheirFlag) {
    for (const bool flag : {false, true}) {
        WorkDir work;
        work.Write("d/seen.txt", "s");
        const std::string hidden = work.Write("d/.secret", "h");
#ifdef _WIN32
        ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
        (void)hidden;
#endif
        Call call = AddCall(work.Path("t.zip"), {"d"});
        call.recurse = true;
        call.hidden = flag;
        EXPECT_EQ(enginetest::Add(call).count, flag ? 3 : 2);
        auto names = enginetest::Names(enginetest::ReadBack(work.Path("t.zip")));
        std::sort(names.begin(), names.end());
        const std::vector<std::string> expected =
            flag ? std::vector<std::string>{"d/", "d/.secret", "d/seen.txt"}
                 : std::vector<std::string>{"d/", "d/seen.txt"};
        EXPECT_EQ(names, expected);
    }
}

TEST(ZipDll, MoveDeletesTheSourcesOnlyOnceTheArchiveIsInPlace) {
    WorkDir work;
    work.Write("d/a.txt", "A");
    work.Write("d/s/b.txt", "B");
    Call call = AddCall(work.Path("t.zip"), {"d"});
    call.recurse = true;
    call.dirNames = true;
    call.move = true;
    EXPECT_EQ(enginetest::Add(call).count, 4);
    EXPECT_EQ(work.Tree(), std::set<std::string>{"t.zip"});

    // An add that fails moves nothing.
    work.Write("c.txt", "C");
    work.Write("broken.zip", "this is no archive at all, but it is not empty");
    Call failing = AddCall(work.Path("broken.zip"), {"c.txt"});
    failing.move = true;
    const auto r = enginetest::Add(failing);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrArchiveDamaged});
    EXPECT_TRUE(work.Exists("c.txt"));
}

TEST(ZipDll, AFileThatReadsShortOfItsSizeIsNotAddedNorMoved) {
    // A read that ends before the size the file had when it was opened (a read error,
    // or someone cutting the file meanwhile) is no end of file to store as the entry.
    WorkDir work;
    const std::string big = enginetest::CompressibleText(3 << 20);
    work.Write("big.txt", big);
    work.Write("small.txt", "S");
    Call call = AddCall(work.Path("t.zip"), {"big.txt", "small.txt"});
    call.move = true;
    bool cut = false;
    call.answer = [&](const enginetest::Record& r) {
        if (r.action == kActionProgress && !cut) {
            cut = true;
            std::filesystem::resize_file(work.Path("big.txt"), big.size() / 2);
        }
        return 0;
    };
    const auto r = enginetest::Add(call);
    EXPECT_TRUE(cut);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrFileRead});
    EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))),
              std::vector<std::string>{"small.txt"});
    EXPECT_TRUE(work.Exists("big.txt")); // not moved: it was not stored whole
    EXPECT_FALSE(work.Exists("small.txt"));
}

TEST(ZipDll, ZipTimeGivesTheArchiveItsNewestEntrysTime) {
    WorkDir work;
    work.Write("a.txt", "A");
    work.Write("b.txt", "B");
    SetAge(work.Path("a.txt"), std::chrono::hours(24 * 30));
    SetAge(work.Path("b.txt"), std::chrono::hours(24 * 10));
    Call call = AddCall(work.Path("t.zip"), {"a.txt", "b.txt"});
    call.zipTime = true;
    ASSERT_EQ(enginetest::Add(call).count, 2);
    const auto archiveTime = std::filesystem::last_write_time(work.Path("t.zip"));
    const auto newest = std::filesystem::last_write_time(work.Path("b.txt"));
    // DOS times hold even seconds.
    EXPECT_LE(std::chrono::abs(archiveTime - newest), std::chrono::seconds(2));
}

TEST(ZipDll, DosNamesAreShortAndUpperCase) {
    WorkDir work;
    work.Write("Long File Name.text", "x");
    work.Write("sub dir/readme.md", "y");
    Call call = AddCall(work.Path("t.zip"), {"Long File Name.text", "sub dir/readme.md"});
    call.dosNames = true;
    call.dirNames = true;
    ASSERT_EQ(enginetest::Add(call).count, 2);
    EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))),
              (std::vector<std::string>{"LONGFILE.TEX", "SUBDIR/README.MD"}));
}

TEST(ZipDll, ASpecificationThatMatchesNothingIsReportedAndTheRestAdded) {
    WorkDir work;
    work.Write("a.txt", "A");
    const auto r = enginetest::Add(AddCall(work.Path("t.zip"), {"missing.txt", "a.txt", "*.none"}));
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), (std::vector<std::int32_t>{kErrNothingMatched, kErrNothingMatched}));

    const auto none = enginetest::Add(AddCall(work.Path("u.zip"), {"missing.txt"}));
    EXPECT_EQ(none.count, 0);
    EXPECT_FALSE(work.Exists("u.zip")); // nothing to add creates nothing
}

TEST(ZipDll, TheArchiveIsNeverAddedToItself) {
    WorkDir work;
    work.Write("a.txt", "A");
    ASSERT_EQ(enginetest::Add(AddCall(work.Path("t.zip"), {"a.txt"})).count, 1);
    EXPECT_EQ(enginetest::Add(AddCall(work.Path("t.zip"), {"*"})).count, 1);
    EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))),
              std::vector<std::string>{"a.txt"});
}

TEST(ZipDll, EncryptionWithoutAPasswordAddsNothing) {
    WorkDir work;
    work.Write("a.txt", "A");
    Call call = AddCall(work.Path("t.zip"), {"a.txt"});
    call.encrypt = true;
    const auto r = enginetest::Add(call);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrPassword});
    EXPECT_FALSE(work.Exists("t.zip"));
}

TEST(ZipDll, TwoFilesForOneNameKeepTheFirst) {
    WorkDir work;
    work.Write("x/a.txt", "first");
    work.Write("y/a.txt", "second");
    const auto r = enginetest::Add(AddCall(work.Path("t.zip"), {"x/a.txt", "y/a.txt"}));
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrDuplicateName});
    EXPECT_EQ(enginetest::ReadBack(work.Path("t.zip")).entries.at(0).uncompressedSize, 5u);
}

TEST(ZipDll, NonAsciiNamesAreStoredAsGivenWithTheirUnicodeForm) {
    WorkDir work;
    const std::string utf8Name = "\xC3\xB1"
                                 "and\xC3\xBA.txt"; // ñandú.txt
    std::ofstream(std::filesystem::path(work.Path("")) /
                  std::filesystem::path(reinterpret_cast<const char8_t*>(utf8Name.c_str())))
        << "data";
    const auto r = enginetest::Add(AddCall(work.Path("t.zip"), {"\xF1"
                                                                "and\xFA.txt"}));
    ASSERT_EQ(r.count, 1);
    const auto dir = enginetest::ReadBack(work.Path("t.zip"));
    ASSERT_EQ(dir.entries.size(), 1u);
    EXPECT_EQ(dir.entries[0].name, "\xF1"
                                   "and\xFA.txt");
    EXPECT_EQ(dir.entries[0].flags & 0x0800, 0);
    EXPECT_EQ(zipfmt::UnicodePathOf(dir.entries[0].name, dir.entries[0].extra), utf8Name);
}

TEST(ZipDll, DeleteRemovesWhatTheSpecificationsName) {
    struct Case {
        std::vector<std::string> specs;
        std::int32_t count;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{"a.txt"}, 1, {"b.log", "d/c.txt"}},
        {{"*.txt"}, 2, {"b.log"}},
        {{"d/c.txt", "b.log"}, 2, {"a.txt"}},
        {{"c.txt"}, 0, {"a.txt", "b.log", "d/c.txt"}}, // "/" does not cut names
        {{"nothing"}, 0, {"a.txt", "b.log", "d/c.txt"}},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("a.txt", "A");
        work.Write("b.log", "B");
        work.Write("d/c.txt", "C");
        Call add = AddCall(work.Path("t.zip"), {"a.txt", "b.log", "d/c.txt"});
        add.dirNames = true;
        ASSERT_EQ(enginetest::Add(add).count, 3);
        const std::string before = work.Read("t.zip");
        const auto r = enginetest::Delete(AddCall(work.Path("t.zip"), c.specs));
        EXPECT_EQ(r.count, c.count) << c.specs[0];
        EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))), c.left);
        if (c.count == 0) {
            EXPECT_EQ(work.Read("t.zip"), before);
        }
    }
}

TEST(ZipDll, DeleteMatchesTheNameAfterABackslashOrColon) {
    WorkDir work;
    // Names as old tools stored them.
    work.Write("t.zip",
               testzip::Archive({testzip::Stored("dir\\x.txt", "1"),
                                 testzip::Stored("c:y.txt", "2"), testzip::Stored("z.txt", "3")}));
    const auto r = enginetest::Delete(AddCall(work.Path("t.zip"), {"x.txt", "y.txt"}));
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))),
              std::vector<std::string>{"z.txt"});
}

TEST(ZipDll, ACancelLeavesTheArchiveAsItWas) {
    WorkDir work;
    work.Write("a.txt", kText);
    // Big enough that a cancel at its first progress finds blocks of it, and the
    // files after it, still being deflated.
    work.Write("big.txt", enginetest::CompressibleText(3 << 20));
    work.Write("c.txt", kText);
    ASSERT_EQ(enginetest::Add(AddCall(work.Path("t.zip"), {"a.txt"})).count, 1);
    SetAge(work.Path("t.zip"), std::chrono::hours(5));
    const std::string before = work.Read("t.zip");
    const auto timeBefore = std::filesystem::last_write_time(work.Path("t.zip"));
    const auto treeBefore = work.Tree();
    for (const std::int32_t stopAt : {kActionFileStart, kActionProgress}) {
        Call call = AddCall(work.Path("t.zip"), {"big.txt", "c.txt"});
        call.answer = [&](const enginetest::Record& r) { return r.action == stopAt ? -1 : 0; };
        const auto r = enginetest::Add(call);
        EXPECT_EQ(r.count, 0);
        EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrCancelled});
        EXPECT_EQ(r.Actions().back(), kActionBatchEnd);
        EXPECT_EQ(work.Read("t.zip"), before);
        EXPECT_EQ(std::filesystem::last_write_time(work.Path("t.zip")), timeBefore);
        EXPECT_EQ(work.Tree(), treeBefore); // no temporary file nor journal left
    }
}

TEST(ZipDll, OnlyNewNamesAddedToAPlainArchiveGrowItInPlace) {
    struct Case {
        const char* what;
        std::string (*reshape)(std::string archive);
        const char* spec;
        bool update, move, encrypt;
        bool inPlace;
    };
    const auto same = [](std::string a) { return a; };
    const auto commented = [](std::string a) {
        a[a.size() - 2] = 7; // the end record's comment length
        return a + "comment";
    };
    const auto trailed = [](std::string a) { return a + "trailing bytes"; };
    const auto stubbed = [](std::string a) { return std::string("MZ a stub before it") + a; };
    const Case cases[] = {
        {"plain", same, "new.txt", false, false, false, true},
        {"encrypted add", same, "new.txt", false, false, true, true},
        {"a comment", commented, "new.txt", false, false, false, true},
        {"bytes after the end record", trailed, "new.txt", false, false, false, false},
        {"a stub before the entries", stubbed, "new.txt", false, false, false, false},
        {"a name it holds", same, "a.txt", false, false, false, false},
        {"update", same, "new.txt", true, false, false, false},
        {"move", same, "new.txt", false, true, false, false},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("a.txt", kText);
        work.Write("b.bin", Noise(5000));
        const std::string archive = work.Path("t.zip");
        ASSERT_EQ(enginetest::Add(AddCall(archive, {"a.txt", "b.bin"})).count, 2);
        work.Write("t.zip", c.reshape(work.Read("t.zip")));
        work.Write("new.txt", "new " + kText);
        work.Write("a.txt", "changed " + kText);
        const auto identity = FileIdentity(archive);
        Call call = AddCall(archive, {c.spec});
        call.update = c.update;
        call.move = c.move;
        call.encrypt = c.encrypt;
        call.password = c.encrypt ? "pw" : "";
        const auto r = enginetest::Add(call);
        EXPECT_EQ(r.count, 1) << c.what;
        EXPECT_TRUE(r.ErrorCodes().empty()) << c.what;
        EXPECT_EQ(FileIdentity(archive) == identity, c.inPlace) << c.what;
        const auto dir = enginetest::ReadBack(archive);
        auto names = enginetest::Names(dir);
        std::sort(names.begin(), names.end());
        const bool added = std::string(c.spec) == "new.txt";
        const std::vector<std::string> expected =
            added ? std::vector<std::string>{"a.txt", "b.bin", "new.txt"}
                  : std::vector<std::string>{"a.txt", "b.bin"};
        EXPECT_EQ(names, expected) << c.what;
        EXPECT_EQ(dir.comment, std::string(c.what) == "a comment" ? "comment" : "") << c.what;
        std::filesystem::remove(work.Path("a.txt"));
        std::filesystem::remove(work.Path("new.txt"));
        Call test = AddCall(archive, {});
        test.test = true;
        test.password = call.password;
        const auto checked = enginetest::Extract(test);
        EXPECT_EQ(checked.count, added ? 3 : 2) << c.what;
        EXPECT_TRUE(checked.ErrorCodes().empty()) << c.what;
        // No journal nor temporary file left.
        EXPECT_EQ(work.Tree(), (std::set<std::string>{"t.zip", "b.bin"})) << c.what;
    }
}

TEST(ZipDll, BadArchivesAndPlacesAreReportedAndLeftAlone) {
    WorkDir work;
    work.Write("a.txt", "A");
    ASSERT_EQ(enginetest::Add(AddCall(work.Path("good.zip"), {"a.txt"})).count, 1);
    const std::string good = work.Read("good.zip");
    work.Write("cut.zip", good.substr(0, good.size() - 10));
    work.Write("garbage.zip", std::string(300, 'g'));
    std::string lying = good;
    lying[lying.size() - 22 + 16] = 0x7F; // the directory's offset points nowhere
    work.Write("lying.zip", lying);
    work.Write("readonly.zip", good);
    std::filesystem::permissions(work.Path("readonly.zip"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    struct Case {
        std::string archive;
        bool remove;
        std::int32_t code;
    };
    const Case cases[] = {
        {"cut.zip", false, kErrArchiveDamaged},
        {"garbage.zip", false, kErrArchiveDamaged},
        {"lying.zip", false, kErrArchiveDamaged},
        {"readonly.zip", false, kErrArchiveReadOnly},
        {"readonly.zip", true, kErrArchiveReadOnly},
        {"no/such/folder/t.zip", false, kErrArchiveWrite},
        {"missing.zip", true, kErrArchiveOpen},
        {"cut.zip", true, kErrArchiveDamaged},
    };
    for (const Case& c : cases) {
        const bool existed = work.Exists(c.archive);
        const std::string before = existed ? work.Read(c.archive) : "";
        const auto treeBefore = work.Tree();
        Call call = AddCall(work.Path(c.archive), {"a.txt"});
        const auto r = c.remove ? enginetest::Delete(call) : enginetest::Add(call);
        EXPECT_EQ(r.count, 0) << c.archive;
        EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{c.code}) << c.archive;
        EXPECT_EQ(work.Tree(), treeBefore) << c.archive;
        if (existed) {
            EXPECT_EQ(work.Read(c.archive), before) << c.archive;
        }
    }
    std::filesystem::permissions(work.Path("readonly.zip"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST(ZipDll, TextsAreReadOnlyWithinTheirBuffers) {
    WorkDir work;
    work.Write("a.txt", "A");
    // A specification that fills its whole buffer without a terminator names nothing
    // that exists, and is read no further.
    Call call = AddCall(work.Path("t.zip"), {std::string(kFileSpecBufferSize + 50, 'q'), "a.txt"});
    const auto r = enginetest::Add(call);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrNothingMatched});
    EXPECT_EQ(enginetest::ZipVersion(), enginetest::UnzVersion());
    EXPECT_GT(enginetest::ZipVersion(), 0);
}

TEST(ZipDll, AnUnusableCallBlockIsRefusedByBothLibraries) {
    WorkDir work;
    work.Write("a.txt", "A");
    ASSERT_EQ(enginetest::Add(AddCall(work.Path("t.zip"), {"a.txt"})).count, 1);
    const std::string before = work.Read("t.zip");
    const auto treeBefore = work.Tree();
    enum class Op { Add, Delete, Extract };
    struct Case {
        const char* what;
        bool noBlock;
        std::string archive;
        std::optional<std::int32_t> count;
        std::vector<std::int32_t> codes;
    };
    const std::int32_t tooMany = static_cast<std::int32_t>(kMaxFileSpecs) + 1;
    const Case cases[] = {
        {"no block", true, "t.zip", std::nullopt, {}},
        {"no archive name", false, "", std::nullopt, {kErrBadCall}},
        {"negative count", false, "t.zip", -1, {kErrBadCall}},
        {"count past the block", false, "t.zip", tooMany, {kErrBadCall}},
        {"largest count", false, "t.zip", INT32_MAX, {kErrBadCall}},
    };
    for (const Case& c : cases) {
        for (const Op op : {Op::Add, Op::Delete, Op::Extract}) {
            Call call = AddCall(c.archive.empty() ? "" : work.Path(c.archive), {"a.txt"});
            call.noBlock = c.noBlock;
            call.specCount = c.count;
            call.overwrite = true;
            const auto r = op == Op::Add      ? enginetest::Add(call)
                           : op == Op::Delete ? enginetest::Delete(call)
                                              : enginetest::Extract(call);
            const int which = static_cast<int>(op);
            EXPECT_EQ(r.count, 0) << c.what << which;
            EXPECT_EQ(r.ErrorCodes(), c.codes) << c.what << which;
            // Nothing is heard from a call without a block; every other ends its batch.
            EXPECT_EQ(r.records.empty(), c.noBlock) << c.what << which;
            EXPECT_EQ(work.Read("t.zip"), before) << c.what << which;
            EXPECT_EQ(work.Tree(), treeBefore) << c.what << which;
        }
    }
}

TEST(ZipDll, AnArchiveThatCannotBeReplacedIsLeftAsItWas) {
    WorkDir work;
    work.Write("a.txt", kText);
    work.Write("b.txt", "B");
    ASSERT_EQ(enginetest::Add(AddCall(work.Path("t.zip"), {"a.txt", "b.txt"})).count, 2);
    const std::string before = work.Read("t.zip");
    const auto treeBefore = work.Tree();
    const HeldOpenFile held(work.Path("t.zip"));
    if (!held.Holds()) {
        GTEST_SKIP() << "only Windows keeps a file that is open from being replaced";
    }
    // Held by a reader: the archive is read and rewritten beside, never grown in place,
    // and the replace at the end fails.
    for (const bool remove : {false, true}) {
        work.Write("c.txt", "C");
        const Call call = AddCall(work.Path("t.zip"), {remove ? "b.txt" : "c.txt"});
        const auto r = remove ? enginetest::Delete(call) : enginetest::Add(call);
        std::filesystem::remove(work.Path("c.txt"));
        EXPECT_EQ(r.count, 0) << remove;
        EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrArchiveWrite}) << remove;
        EXPECT_EQ(work.Read("t.zip"), before) << remove;
        EXPECT_EQ(work.Tree(), treeBefore) << remove;
    }
}

TEST(ZipDll, AMovedFileThatCannotBeDeletedIsReportedAndKept) {
    WorkDir work;
    work.Write("a.txt", "A");
    work.Write("held.txt", kText);
    const HeldOpenFile held(work.Path("held.txt"));
    if (!held.Holds()) {
        GTEST_SKIP() << "only Windows keeps a file that is open from being deleted";
    }
    Call call = AddCall(work.Path("t.zip"), {"a.txt", "held.txt"});
    call.move = true;
    const auto r = enginetest::Add(call);
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrMoveFailed});
    EXPECT_EQ(enginetest::Names(enginetest::ReadBack(work.Path("t.zip"))),
              (std::vector<std::string>{"a.txt", "held.txt"}));
    EXPECT_FALSE(work.Exists("a.txt"));
    EXPECT_EQ(work.Read("held.txt"), kText);
}

} // namespace

namespace {

// Action 2 records between one file's start and the next record of another kind.
int ProgressAfterStart(const enginetest::Result& r, const std::string& name) {
    int count = 0;
    bool inFile = false;
    for (const auto& record : r.records) {
        if (record.action == kActionFileStart) {
            inFile = record.text == name;
        } else if (inFile && record.action == kActionProgress) {
            ++count;
        }
    }
    return count;
}

TEST(ZipDll, ProgressComesAboutEveryMebibyteBothWays) {
    WorkDir work;
    work.Write("big.txt", enginetest::CompressibleText(6 << 20));
    work.Write("tiny.txt", "t");
    const auto added = enginetest::Add(AddCall(work.Path("t.zip"), {"big.txt", "tiny.txt"}));
    ASSERT_EQ(added.count, 2);
    EXPECT_GE(ProgressAfterStart(added, "big.txt"), 6);
    EXPECT_GE(ProgressAfterStart(added, "tiny.txt"), 1);
    std::filesystem::remove(work.Path("big.txt"));
    const auto extracted = enginetest::Extract(AddCall(work.Path("t.zip"), {"big.txt"}));
    ASSERT_EQ(extracted.count, 1);
    EXPECT_GE(ProgressAfterStart(extracted, "big.txt"), 6);
}

} // namespace
