#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "engineapi/CallBlocks.h"
#include "platform/FileSystem.h"
#include "tests/support/ZipBytes.h"
#include "tests/zipdll/EngineCalls.h"
#include "tests/zipdll/EngineTestSupport.h"

using enginetest::Call;
using enginetest::WorkDir;
using testzip::Stored;

namespace {

Call ExtractCall(const std::string& archive, std::vector<std::string> specs = {}) {
    Call c;
    c.archive = archive;
    c.specs = std::move(specs);
    return c;
}

std::string Repeat(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) {
        s += piece;
    }
    return s;
}

// An archive written by the library itself: deflated, and encrypted when asked.
std::string MakeArchive(const WorkDir& work, const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& files,
                        const std::string& password = "", bool traditional = false) {
    std::vector<std::string> specs;
    for (const auto& [path, data] : files) {
        work.Write("src/" + path, data);
        specs.push_back("src/" + path);
    }
    Call add;
    add.archive = work.Path(name);
    add.specs = specs;
    add.dirNames = true;
    add.password = password;
    add.encrypt = !password.empty();
    add.traditional = traditional;
    EXPECT_EQ(enginetest::Add(add).count, static_cast<std::int32_t>(files.size()));
    std::filesystem::remove_all(work.Path("src"));
    return work.Path(name);
}

TEST(UnzDll, ExtractsEveryEntryWithItsFoldersOrWithout) {
    for (const bool dirNames : {true, false}) {
        WorkDir work;
        const std::string text = Repeat("deflate me ", 20000);
        const std::string archive = MakeArchive(work, "t.zip", {{"a.txt", text}, {"d/b.txt", "B"}});
        Call call = ExtractCall(archive);
        call.dirNames = dirNames;
        const auto r = enginetest::Extract(call);
        EXPECT_EQ(r.count, 2);
        EXPECT_TRUE(r.ErrorCodes().empty());
        EXPECT_EQ(r.Actions().back(), kActionBatchEnd);
        const std::string prefix = dirNames ? "src/" : "";
        EXPECT_EQ(work.Read(prefix + "a.txt"), text);
        EXPECT_EQ(work.Read(prefix + (dirNames ? "d/b.txt" : "b.txt")), "B");
        const std::set<std::string> expected =
            dirNames ? std::set<std::string>{"t.zip", "src", "src/a.txt", "src/d", "src/d/b.txt"}
                     : std::set<std::string>{"t.zip", "a.txt", "b.txt"};
        EXPECT_EQ(work.Tree(), expected);
    }
}

TEST(UnzDll, SpecificationsSelectByWholeNameOrTheNameAfterABackslashOrColon) {
    struct Case {
        std::vector<std::string> specs;
        std::set<std::string> files;
        std::vector<std::int32_t> errors;
    };
    // "c:y.txt" is matched, then refused: a drive has no place in a relative path.
    const Case cases[] = {
        {{}, {"x.txt", "z.log", "w.txt"}, {kErrUnsafeName}},
        {{"dir\\x.txt"}, {"x.txt"}, {}},
        {{"x.txt"}, {"x.txt"}, {}},
        {{"y.txt"}, {}, {kErrUnsafeName}},
        {{"*.txt"}, {"x.txt", "w.txt"}, {kErrUnsafeName}},
        {{"w.txt"}, {}, {kErrNothingMatched}}, // "/" does not cut the name
        {{"sub/w.txt", "none"}, {"w.txt"}, {kErrNothingMatched}},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("t.zip", testzip::Archive({Stored("dir\\x.txt", "1"), Stored("c:y.txt", "2"),
                                              Stored("z.log", "3"), Stored("sub/w.txt", "4")}));
        const auto r = enginetest::Extract(ExtractCall(work.Path("t.zip"), c.specs));
        auto tree = work.Tree();
        tree.erase("t.zip");
        EXPECT_EQ(tree, c.files) << (c.specs.empty() ? "" : c.specs[0]);
        EXPECT_EQ(r.ErrorCodes(), c.errors);
        EXPECT_EQ(r.count, static_cast<std::int32_t>(c.files.size()));
    }
}

TEST(UnzDll, ExistingFilesFollowOverwriteUpdateAndFreshen) {
    struct Case {
        bool overwrite, update, freshen;
        std::string older, newer, missing; // what each file holds afterwards
        std::int32_t count;
        std::vector<std::int32_t> errors; // the files kept for want of overwrite are told
    };
    const Case cases[] = {
        {false, false, false, "old", "new-on-disk", "E", 1, {kErrFileExists, kErrFileExists}},
        {true, false, false, "E", "E", "E", 3, {}},
        {false, true, false, "E", "new-on-disk", "E", 2, {}},
        {false, false, true, "E", "new-on-disk", "", 1, {}},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("t.zip", testzip::Archive({Stored("older", "E"), Stored("newer", "E"),
                                              Stored("missing", "E")}));
        // The entries are from 2021; one file predates them, one does not.
        work.Write("older", "old");
        std::filesystem::last_write_time(work.Path("older"),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(24 * 365 * 10));
        work.Write("newer", "new-on-disk");
        Call call = ExtractCall(work.Path("t.zip"));
        call.overwrite = c.overwrite;
        call.update = c.update;
        call.freshen = c.freshen;
        const auto r = enginetest::Extract(call);
        EXPECT_EQ(r.count, c.count) << c.overwrite << c.update << c.freshen;
        EXPECT_EQ(work.Read("older"), c.older);
        EXPECT_EQ(work.Read("newer"), c.newer);
        EXPECT_EQ(work.Exists("missing") ? work.Read("missing") : "", c.missing);
        EXPECT_EQ(r.ErrorCodes(), c.errors);
    }
}

TEST(UnzDll, ExtractedFilesTakeTheEntrysTime) {
    WorkDir work;
    work.Write("t.zip", testzip::Archive({Stored("a", "1")}));
    ASSERT_EQ(enginetest::Extract(ExtractCall(work.Path("t.zip"))).count, 1);
    // 2021-03-04 05:06:08 local time, as the sample DOS time says.
    std::tm t{};
    t.tm_year = 121;
    t.tm_mon = 2;
    t.tm_mday = 4;
    t.tm_hour = 5;
    t.tm_min = 6;
    t.tm_sec = 8;
    t.tm_isdst = -1;
    const auto expected = std::chrono::system_clock::from_time_t(std::mktime(&t));
    const auto got =
        std::chrono::system_clock::now() + (std::filesystem::last_write_time(work.Path("a")) -
                                            std::filesystem::file_time_type::clock::now());
    EXPECT_LE(std::chrono::abs(got - expected), std::chrono::seconds(1));
}

TEST(UnzDll, TestChecksEveryEntryAndWritesNothing) {
    WorkDir work;
    std::vector<testzip::Entry> entries = {Stored("good", "fine"), Stored("bad", "damaged")};
    std::string bytes = testzip::Archive(entries);
    bytes[bytes.find("damaged")] = 'D'; // the CRC no longer fits
    work.Write("t.zip", bytes);
    Call call = ExtractCall(work.Path("t.zip"));
    call.test = true;
    const auto r = enginetest::Extract(call);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrBadData});
    EXPECT_EQ(work.Tree(), std::set<std::string>{"t.zip"});
}

TEST(UnzDll, NamesThatWouldLeaveTheFolderAreRefused) {
    const char* hostile[] = {
        "../up.txt", "a/../../up.txt", "/abs.txt", "\\abs.txt", "C:\\c.txt", "c:rel.txt",
        "CON",       "aux.txt",        "d/nul",    "...",       "a/ .. /b",  "a:stream"};
    for (const bool dirNames : {true, false}) {
        for (const char* name : hostile) {
            WorkDir work;
            std::filesystem::create_directories(work.Path("inner"));
            const auto outsideBefore = work.Tree();
            work.Write("inner/t.zip",
                       testzip::Archive({Stored(name, "evil"), Stored("ok.txt", "fine")}));
            std::filesystem::current_path(work.Path("inner"));
            Call call = ExtractCall("t.zip");
            call.dirNames = dirNames;
            const auto r = enginetest::Extract(call);
            EXPECT_EQ(r.count, 1) << name;
            EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrUnsafeName}) << name;
            auto tree = work.Tree();
            EXPECT_EQ(tree, (std::set<std::string>{"inner", "inner/t.zip", "inner/ok.txt"}))
                << name;
        }
    }
}

TEST(UnzDll, TrailingDotsAndBlanksLeaveEveryPartOfAName) {
    // Windows would make "d " the folder "d" and then find no "d " to write into.
    WorkDir work;
    work.Write("t.zip", testzip::Archive({Stored("d /e", "1"), Stored("f./g. ", "2")}));
    Call call = ExtractCall(work.Path("t.zip"));
    call.dirNames = true;
    const auto r = enginetest::Extract(call);
    EXPECT_EQ(r.count, 2);
    EXPECT_TRUE(r.ErrorCodes().empty());
    EXPECT_EQ(work.Tree(), (std::set<std::string>{"t.zip", "d", "d/e", "f", "f/g"}));
    EXPECT_EQ(work.Read("f/g"), "2");
}

TEST(UnzDll, DataThatDisagreesWithTheDirectoryIsReportedAndNotKept) {
    const std::string data = "twelve bytes";
    struct Case {
        const char* what;
        testzip::Entry entry;
        std::string mangled; // replaces the data in the archive when not empty
        std::int32_t code;
    };
    testzip::Entry sizeLie = Stored("f", data);
    sizeLie.uncompressedSize = 5; // data longer than the size claims
    testzip::Entry bzip = Stored("f", data);
    bzip.method = 12;
    testzip::Entry pkware = Stored("f", data);
    pkware.flags = 0x0041; // strong encryption
    testzip::Entry noPassword = Stored("f", data);
    noPassword.flags = 0x0001;
    const Case cases[] = {
        {"bad crc", Stored("f", data), "twelve BYTES", kErrBadData},
        {"size lie", sizeLie, "", kErrBadData},
        {"method 12", bzip, "", kErrUnsupported},
        {"strong encryption", pkware, "", kErrUnsupported},
        {"no password", noPassword, "", kErrPassword},
    };
    for (const Case& c : cases) {
        WorkDir work;
        std::string bytes = testzip::Archive({c.entry});
        if (!c.mangled.empty()) {
            bytes.replace(bytes.find(data), data.size(), c.mangled);
        }
        work.Write("t.zip", bytes);
        work.Write("f", "the user's own file"); // overwrite must not cost it
        Call call = ExtractCall(work.Path("t.zip"));
        call.overwrite = true;
        const auto r = enginetest::Extract(call);
        EXPECT_EQ(r.count, 0) << c.what;
        EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{c.code}) << c.what;
        EXPECT_EQ(work.Read("f"), "the user's own file") << c.what;
        EXPECT_EQ(work.Tree(), (std::set<std::string>{"t.zip", "f"})) << c.what;
    }
}

// Without a whole central directory the entries come from their local headers: those
// whose data is whole are written, the others named.
TEST(UnzDll, DamagedArchivesAreReportedAndGiveBackTheirWholeEntries) {
    WorkDir work;
    const auto good = testzip::Build({Stored("a", "1"), Stored("b", "2")});
    // Changes to the last entry, which no other entry's data can overlap.
    const std::size_t lastRecord = good.centralOffset + 46 + 1; // after the record of "a"
    std::string wrongOffset = good.bytes;
    wrongOffset.replace(lastRecord + 42, 4, testzip::Le32(good.centralOffset)); // no header there
    std::string hugeSize = good.bytes;
    hugeSize.replace(lastRecord + 20, 4, testzip::Le32(0x7FFFFFF0)); // compressed size
    const std::size_t endRecord = good.bytes.size() - 22;
    std::string directoryPastEnd = good.bytes;
    directoryPastEnd.replace(endRecord + 16, 4, testzip::Le32(0x7FFFFFF0)); // central offset
    std::string brokenHeader = good.bytes;
    brokenHeader[good.centralOffset + 2] = 'X'; // the first central signature
    // A zip64 locator before the end record that points past the file.
    std::string badLocator = good.bytes;
    badLocator.insert(endRecord, testzip::Le32(0x07064B50) + testzip::Le32(0) +
                                     testzip::Le32(0x7FFFFFF0) + testzip::Le32(0) +
                                     testzip::Le32(1));
    struct Case {
        const char* what;
        std::string bytes;
        std::int32_t count;
        std::vector<std::int32_t> codes;
        const char* cause; // in the error's text
    };
    const Case cases[] = {
        {"truncated",
         good.bytes.substr(0, good.bytes.size() - 30),
         2,
         {kErrArchiveDamaged},
         "no end of central directory"},
        {"cut inside the last entry's data",
         good.bytes.substr(0, good.centralOffset - 1),
         1,
         {kErrArchiveDamaged, kErrArchiveDamaged},
         "b: the archive ends inside it"},
        {"empty", "", 0, {kErrArchiveDamaged}, "no end of central directory"},
        {"directory past the end",
         directoryPastEnd,
         2,
         {kErrArchiveDamaged},
         "central directory outside the file"},
        {"broken central header", brokenHeader, 2, {kErrArchiveDamaged}, "bad central directory"},
        {"bad zip64 locator", badLocator, 2, {kErrArchiveDamaged}, "bad zip64 end record"},
        {"wrong offset", wrongOffset, 1, {kErrArchiveDamaged}, "no local header"},
        {"lying size", hugeSize, 1, {kErrBadData}, "damaged data"},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("t.zip", c.bytes);
        const auto r = enginetest::Extract(ExtractCall(work.Path("t.zip")));
        EXPECT_EQ(r.count, c.count) << c.what;
        EXPECT_EQ(r.ErrorCodes(), c.codes) << c.what;
        std::string errors;
        for (const enginetest::Record& record : r.records) {
            errors += record.code != 0 ? record.text + "\n" : "";
        }
        EXPECT_NE(errors.find(c.cause), std::string::npos) << c.what << ":\n" << errors;
        EXPECT_LE(work.Tree().size(), 1u + c.count) << c.what;
    }
    WorkDir empty;
    const auto missing = enginetest::Extract(ExtractCall(empty.Path("none.zip")));
    EXPECT_EQ(missing.ErrorCodes(), std::vector<std::int32_t>{kErrArchiveOpen});
}

TEST(UnzDll, OverlappingEntriesMakeTheArchiveRefusedBeforeAnythingIsWritten) {
    // Ten central records on one local entry: 100 kB of zeros would be written ten times.
    const auto one = testzip::Build({Stored("zeros", std::string(100000, '\0'))});
    const std::string record = one.bytes.substr(one.centralOffset, 46 + 5);
    std::string shared = one.bytes.substr(0, one.centralOffset);
    for (int i = 0; i < 10; ++i) {
        shared += record;
    }
    shared +=
        testzip::EndRecord(10, static_cast<std::uint32_t>(10 * record.size()), one.centralOffset);
    // The first entry's data would run over the second's local header.
    const auto two = testzip::Build({Stored("a", "1"), Stored("b", "2")});
    std::string runsOver = two.bytes;
    runsOver.replace(two.centralOffset + 20, 4, testzip::Le32(two.localOffsets[1]));
    for (const std::string& bytes : {shared, runsOver}) {
        for (const bool test : {false, true}) {
            WorkDir work;
            work.Write("t.zip", bytes);
            Call call = ExtractCall(work.Path("t.zip"));
            call.test = test;
            const auto r = enginetest::Extract(call);
            EXPECT_EQ(r.count, 0) << bytes.size() << test;
            EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrArchiveDamaged});
            EXPECT_EQ(work.Tree(), std::set<std::string>{"t.zip"});
        }
    }
}

TEST(UnzDll, AReadOnlyFileIsNeverReplaced) {
    for (const bool update : {false, true}) {
        WorkDir work;
        work.Write("t.zip", testzip::Archive({Stored("f", "from the archive")}));
        work.Write("f", "the user's own file");
        std::filesystem::last_write_time(work.Path("f"),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(24 * 365 * 10));
        const auto write = std::filesystem::perms::owner_write |
                           std::filesystem::perms::group_write |
                           std::filesystem::perms::others_write;
        std::filesystem::permissions(work.Path("f"), write, std::filesystem::perm_options::remove);
        Call call = ExtractCall(work.Path("t.zip"));
        call.overwrite = !update;
        call.update = update;
        const auto r = enginetest::Extract(call);
        std::filesystem::permissions(work.Path("f"), write, std::filesystem::perm_options::add);
        EXPECT_EQ(r.count, 0) << update;
        EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrFileWrite}) << update;
        EXPECT_EQ(work.Read("f"), "the user's own file") << update;
        EXPECT_EQ(work.Tree(), (std::set<std::string>{"t.zip", "f"})) << update;
    }
}

TEST(UnzDll, NamesTooLongForTheFileSystemAreRefusedAsSuch) {
    const std::string longest(255, 'n'), tooLong(256, 'n');
    WorkDir work;
    work.Write("t.zip", testzip::Archive({Stored(tooLong, "1"), Stored(tooLong + "/f", "2"),
                                          Stored("d/" + longest, "3")}));
    Call call = ExtractCall(work.Path("t.zip"));
    call.dirNames = true;
    const auto r = enginetest::Extract(call);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), (std::vector<std::int32_t>{kErrFileWrite, kErrFileWrite}));
    int explained = 0;
    for (const enginetest::Record& record : r.records) {
        explained += record.code == kErrFileWrite &&
                     record.text.find("too long for the file system") != std::string::npos;
    }
    EXPECT_EQ(explained, 2);
    EXPECT_EQ(work.Tree(), (std::set<std::string>{"t.zip", "d", "d/" + longest}));
}

TEST(UnzDll, DescriptorsAndZip64DescriptorsAreRead) {
    WorkDir work;
    testzip::Entry a = Stored("a", "with a descriptor");
    a.descriptor = true;
    testzip::Entry b = Stored("b", "with a zip64 descriptor");
    b.descriptor = true;
    b.zip64Descriptor = true;
    testzip::Entry c = Stored("c", "without its signature");
    c.descriptor = true;
    c.descriptorSignature = false;
    work.Write("t.zip", testzip::Archive({a, b, c}));
    EXPECT_EQ(enginetest::Extract(ExtractCall(work.Path("t.zip"))).count, 3);
    EXPECT_EQ(work.Read("b"), "with a zip64 descriptor");
}

TEST(UnzDll, EncryptedEntriesOpenWithTheirPasswordOnly) {
    // AES-256 keeps the CRC-32 of all but the smallest entries; both encryptions.
    for (const bool traditional : {false, true}) {
        WorkDir work;
        const std::string text = Repeat("secret text ", 500);
        const std::string archive = MakeArchive(
            work, "t.zip", {{"s.txt", text}, {"tiny.txt", "tiny"}}, "pa55word", traditional);
        for (const std::string password : {"wrong", ""}) {
            Call call = ExtractCall(archive);
            call.password = password;
            const auto r = enginetest::Extract(call);
            EXPECT_EQ(r.count, 0);
            EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>(2, kErrPassword));
            EXPECT_EQ(work.Tree(), std::set<std::string>{"t.zip"});
        }
        Call call = ExtractCall(archive);
        call.password = "pa55word";
        EXPECT_EQ(enginetest::Extract(call).count, 2) << traditional;
        EXPECT_EQ(work.Read("s.txt"), text);
        EXPECT_EQ(work.Read("tiny.txt"), "tiny");
    }
}

TEST(UnzDll, NonAsciiNamesComeBackUnderTheirOwnNames) {
    WorkDir work;
    // Written by the library from a Windows-1252 name; read back through the Unicode
    // field. A name flagged UTF-8 and an old OEM name are read as peers read them.
    const std::string archive = work.Path("t.zip");
    work.Write("src.txt", "x");
    std::filesystem::rename(work.Path("src.txt"), std::filesystem::path(work.Path("")) /
                                                      std::filesystem::path(u8"a\u00F1o.txt"));
    Call add;
    add.archive = archive;
    add.specs = {"a\xF1o.txt"};
    ASSERT_EQ(enginetest::Add(add).count, 1);
    std::filesystem::remove(std::filesystem::path(work.Path("")) /
                            std::filesystem::path(u8"a\u00F1o.txt"));
    testzip::Entry flagged = Stored("\xC3\xBC"
                                    "ber.txt",
                                    "u");
    flagged.flags = 0x0800;
    const auto own = ReadFileBytes(archive);
    work.Write("peer.zip", testzip::Archive({flagged, Stored("\x81"
                                                             "ber2.txt",
                                                             "o")}));
    EXPECT_EQ(enginetest::Extract(ExtractCall(archive)).count, 1);
    EXPECT_EQ(enginetest::Extract(ExtractCall(work.Path("peer.zip"))).count, 2);
    const auto tree = work.Tree();
    for (const char8_t* name : {u8"a\u00F1o.txt", u8"\u00FCber.txt", u8"\u00FCber2.txt"}) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(work.Path("")) / name))
            << reinterpret_cast<const char*>(name);
    }
}

TEST(UnzDll, ACancelStopsAndRemovesThePartlyWrittenFile) {
    WorkDir work;
    const std::string big = Repeat("0123456789abcdef", 300000); // several MiB
    const std::string archive = MakeArchive(work, "t.zip", {{"a.txt", "A"}, {"big.txt", big}});
    Call call = ExtractCall(archive);
    int progress = 0;
    bool inBig = false;
    call.answer = [&](const enginetest::Record& r) {
        inBig = inBig || (r.action == kActionFileStart && r.text == "src/big.txt");
        return inBig && r.action == kActionProgress && ++progress == 2 ? -1 : 0;
    };
    const auto r = enginetest::Extract(call);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrCancelled});
    EXPECT_EQ(work.Tree(), (std::set<std::string>{"t.zip", "a.txt"}));
}

// Enough small files in enough folders for several to be written at once: ten to
// a folder "f<i / 10>", each named by its number.
std::string FolderOf(int i) {
    std::string folder = "f";
    return folder += std::to_string(i / 10);
}

std::string FileOf(int i) {
    return FolderOf(i) + '/' + std::to_string(i);
}

std::vector<testzip::Entry> ManySmallFiles(int count) {
    std::vector<testzip::Entry> entries;
    for (int i = 0; i < count; ++i) {
        std::string data = "data of ";
        entries.push_back(Stored(FileOf(i), data += std::to_string(i)));
    }
    return entries;
}

TEST(UnzDll, ManyFilesAreToldInTheirOrderWhateverBecomesOfEach) {
    constexpr int kBad = 120, kLeftAlone = 200, kRefused = 250;
    auto entries = ManySmallFiles(300);
    entries[kRefused].name = "../f25/250";
    std::string bytes = testzip::Archive(entries);
    bytes.replace(bytes.find("data of 120"), 11, "DATA OF 120"); // its CRC no longer fits
    WorkDir work;
    work.Write("t.zip", bytes);
    work.Write("f20/200", "the user's own file");
    Call call = ExtractCall(work.Path("t.zip"));
    call.dirNames = true;
    call.verbose = true;
    const auto r = enginetest::Extract(call);

    // As one file after the other: each start, then that file's own records.
    std::vector<std::string> expected, got;
    for (int i = 0; i < 300; ++i) {
        expected.push_back("1 " + entries[i].name);
        const char* after = i == kBad         ? "4 9"
                            : i == kRefused   ? "4 7"
                            : i == kLeftAlone ? "4 17"
                                              : "4 0";
        if (i != kBad && i != kRefused && i != kLeftAlone) {
            expected.push_back("2 100");
        }
        expected.push_back(after);
    }
    expected.push_back("3 0");
    for (const enginetest::Record& record : r.records) {
        got.push_back(std::to_string(record.action) + " " +
                      (record.action == kActionFileStart  ? record.text
                       : record.action == kActionProgress ? std::to_string(record.size)
                                                          : std::to_string(record.code)));
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(r.count, 297);
    for (int i = 0; i < 300; ++i) {
        const std::string name = FileOf(i);
        const std::string want = i == kLeftAlone ? "the user's own file" : entries[i].data;
        EXPECT_EQ(work.Exists(name) ? work.Read(name) : "<none>",
                  i == kBad || i == kRefused ? "<none>" : want)
            << name;
    }
}

TEST(UnzDll, EntriesForOnePlaceTakeItInTheirOrder) {
    struct Case {
        std::vector<testzip::Entry> entries;
        std::map<std::string, std::string> files;
        std::vector<std::int32_t> errors;
        bool folders = true;
    };
    using Files = std::map<std::string, std::string>;
    using Errors = std::vector<std::int32_t>;
    // Two names for one file (where case does not count, or with folders dropped): the
    // first entry keeps it, and the second is refused rather than lost without a word.
    const bool folds = platform::NamesIgnoreCase();
    const auto utf8 = [](testzip::Entry e) {
        e.flags = 0x0800;
        return e;
    };
    const std::string upper = "d/\xC3\x84.txt", lower = "d/\xC3\xA4.txt"; // Ä, ä
    const Case cases[] = {
        {{Stored("x", "file"), Stored("x/y", "under it")}, {{"x", "file"}}, {kErrFileWrite}},
        {{Stored("d/a", "first"), Stored("d/a", "second")}, {{"d/a", "second"}}, {}},
        {{Stored("d/A.txt", "upper"), Stored("D/a.txt", "lower")},
         folds ? Files{{"d/A.txt", "upper"}} : Files{{"d/A.txt", "upper"}, {"D/a.txt", "lower"}},
         folds ? Errors{kErrDuplicateName} : Errors{}},
        {{utf8(Stored(upper, "upper")), utf8(Stored(lower, "lower"))},
         folds ? Files{{upper, "upper"}} : Files{{upper, "upper"}, {lower, "lower"}},
         folds ? Errors{kErrDuplicateName} : Errors{}},
        {{Stored("x/r.txt", "first"), Stored("y/r.txt", "second")},
         {{"r.txt", "first"}},
         {kErrDuplicateName},
         false},
    };
    for (const Case& c : cases) {
        WorkDir work;
        work.Write("t.zip", testzip::Archive(c.entries));
        Call call = ExtractCall(work.Path("t.zip"));
        call.dirNames = c.folders;
        call.overwrite = true;
        const auto r = enginetest::Extract(call);
        EXPECT_EQ(r.ErrorCodes(), c.errors) << c.entries[1].name;
        for (const auto& [name, data] : c.files) {
            std::ifstream in(std::filesystem::path(work.Path("")) /
                                 std::u8string(name.begin(), name.end()),
                             std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), data)
                << c.entries[1].name;
        }
    }
}

TEST(UnzDll, AFolderThatTakesNoFilesGetsAnErrorForEachEntry) {
    // The kernel's own folder refuses new files and folders even to root, whom a folder
    // without write permission does not stop.
#ifdef _WIN32
    const std::string readOnly = "Z:\\sys\\kernel";
#else
    const std::string readOnly = "/sys/kernel";
#endif
    if (!std::filesystem::is_directory(readOnly)) {
        GTEST_SKIP() << "no " << readOnly;
    }
    for (const bool dirNames : {false, true}) {
        WorkDir work;
        work.Write("t.zip",
                   testzip::Archive({Stored("tarvox-a.txt", "a"), Stored("tarvox-d/b.txt", "b")}));
        std::filesystem::current_path(readOnly);
        Call call = ExtractCall(work.Path("t.zip"));
        call.dirNames = dirNames;
        const auto r = enginetest::Extract(call);
        EXPECT_EQ(r.count, 0) << dirNames;
        EXPECT_EQ(r.ErrorCodes(), (std::vector<std::int32_t>{kErrFileWrite, kErrFileWrite}))
            << dirNames;
        EXPECT_FALSE(std::filesystem::exists(readOnly + "/tarvox-a.txt"));
        EXPECT_FALSE(std::filesystem::exists(readOnly + "/tarvox-d"));
    }
}

TEST(UnzDll, AStopTakesBackWhatWasWrittenAheadOfIt) {
    // Entry 150 is the first of folder f15; a stop at its start leaves no f15.
    struct Case {
        std::int32_t stopAt;
        bool itsFolderStays;
    };
    for (const Case c : {Case{kActionFileStart, false}, Case{kActionProgress, true}}) {
        WorkDir work;
        const auto entries = ManySmallFiles(300);
        work.Write("t.zip", testzip::Archive(entries));
        Call call = ExtractCall(work.Path("t.zip"));
        call.dirNames = true;
        std::string current;
        call.answer = [&](const enginetest::Record& r) {
            current = r.action == kActionFileStart ? r.text : current;
            return current == "f15/150" && r.action == c.stopAt ? -1 : 0;
        };
        const auto r = enginetest::Extract(call);
        EXPECT_EQ(r.count, 150) << c.stopAt;
        EXPECT_EQ(r.ErrorCodes(), std::vector<std::int32_t>{kErrCancelled}) << c.stopAt;
        std::set<std::string> expected = {"t.zip"};
        for (int i = 0; i < 150; ++i) {
            expected.insert(FolderOf(i));
            expected.insert(entries[i].name);
        }
        if (c.itsFolderStays) {
            expected.insert("f15");
        }
        EXPECT_EQ(work.Tree(), expected) << c.stopAt;
    }
}

} // namespace

namespace {

#ifndef _WIN32
// Windows does not let a process's current folder be removed; elsewhere it can go.
TEST(UnzDll, AMissingDestinationFolderIsReportedForEachEntry) {
    WorkDir work;
    work.Write("t.zip", testzip::Archive({Stored("a", "1"), Stored("b", "2")}));
    std::filesystem::create_directories(work.Path("gone"));
    std::filesystem::current_path(work.Path("gone"));
    std::filesystem::remove(work.Path("gone"));
    Call call = ExtractCall(work.Path("t.zip"));
    const auto r = enginetest::Extract(call);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.ErrorCodes(), (std::vector<std::int32_t>{kErrFileWrite, kErrFileWrite}));
    EXPECT_EQ(work.Tree(), std::set<std::string>{"t.zip"});
}
#endif

} // namespace
