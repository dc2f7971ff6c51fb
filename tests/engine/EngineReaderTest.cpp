// The engine component's directory reader: what a file's bytes make of the contents
// list, the messages, the errors and the directory-updated event.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "engine/DirectoryWalk.h"
#include "engine/ZipDir.h"
#include "engine/ZipEngine.h"
#include "tests/support/FileLock.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBytes.h"
#include "zipformat/EntryNames.h"

using testzip::Archive;
using testzip::Entry;
using testzip::Overrunning;
using testzip::Stored;

namespace {

const char kNotAnArchive[] = "Fichero vacío o no válido";

struct ReadOutcome {
    std::vector<std::string> names;
    std::vector<std::string> messages;
    std::optional<std::string> error;
    int updates = 0;
    std::size_t entriesAtUpdate = 0;
};

ReadOutcome ReadAs(const TempDir& dir, const std::string& fileName, const std::string& bytes) {
    const std::string path = dir.Write(fileName, bytes);
    MessageRecorder messages;
    ReadOutcome outcome;
    TZipEngine zip;
    zip.OnDirUpdate = [&](TZipEngine& sender) {
        ++outcome.updates;
        outcome.entriesAtUpdate = sender.Entries().size();
    };
    try {
        zip.SetZipFilename(path);
    } catch (const DirectoryWalkError& error) {
        outcome.error = error.what();
    }
    for (const ZipDirEntry& entry : zip.Entries()) {
        outcome.names.push_back(entry.FileName);
    }
    outcome.messages = messages.Texts();
    return outcome;
}

std::string ThreeEntries() {
    return Archive({Stored("a.txt", "alpha"), Stored("dir/b.txt", "bravo!"), Stored("c", "")});
}

struct Case {
    const char* what;
    std::string fileName;
    std::string bytes;
    std::vector<std::string> names;
    std::vector<std::string> messages;
    std::optional<std::string> error;
};

std::vector<Case> Cases() {
    const std::string three = ThreeEntries();
    const std::string noise59999(59999, 'x');
    const std::string noise60000(60000, 'x');
    const std::string longName(300, 'n');
    std::string withZero = "abc";
    withZero += '\0';
    withZero += "def";
    Entry negative = Stored("neg", "data");
    negative.localCompressedSize = 0x80000000u;
    // A zip64 block whose size no file can have: the sum with the position must not wrap.
    Entry huge64 = Stored("huge", "data");
    huge64.localCompressedSize = 0xFFFFFFFFu;
    huge64.extra = testzip::Le16(1) + testzip::Le16(16) + testzip::Le64(4) +
                   testzip::Le64(0x7FFFFFFFFFFFFFFFull);
    // A first header cut inside its 26 bytes: the search goes on from where reading stopped.
    const std::string cutFirst = testzip::LocalHeader(Stored("a", "")).substr(0, 20);
    // A second header cut inside its 26 bytes.
    const std::string oneEntry = testzip::LocalHeader(Stored("a", "1")) + "1";
    // (28 bytes: enough after the first entry to pass its size check, too few for a header.)
    const std::string cutSecond = oneEntry + testzip::LocalHeader(Stored("b", "")).substr(0, 28);

    return {
        {"an empty file", "e.zip", "", {}, {kNotAnArchive}, {}},
        {"an archive whose every entry was deleted", "n.zip", Archive({}), {}, {}, {}},
        {"three stored entries", "t.zip", three, {"a.txt", "dir/b.txt", "c"}, {}, {}},
        {"a header after 59,999 bytes without P",
         "p.zip",
         noise59999 + three,
         {"a.txt", "dir/b.txt", "c"},
         {},
         {}},
        {"a header after 60,000 bytes without P",
         "q.zip",
         noise60000 + three,
         {},
         {kNotAnArchive},
         {}},
        {"a P that breaks the match hides the header after it",
         "pp.zip",
         "P" + three,
         {"dir/b.txt", "c"},
         {},
         {}},
        {"an archive of a .EXE starts at 14000",
         "s.EXE",
         std::string(14000, 'P') + three,
         {"a.txt", "dir/b.txt", "c"},
         {},
         {}},
        {"a .exe is not searched before 14000",
         "s.exe",
         three + std::string(20000, 0),
         {},
         {kNotAnArchive},
         {}},
        {"a .exe shorter than 14000 bytes", "short.Exe", three, {}, {kNotAnArchive}, {}},
        {"other extensions start at 0", "s.exe.zip", three, {"a.txt", "dir/b.txt", "c"}, {}, {}},
        {"junk up to the end after the last entry",
         "j.zip",
         testzip::LocalHeader(Stored("a", "1234")) + "1234" + std::string(30, 'j'),
         {"a"},
         {},
         "Error reading Zip File"},
        {"a first header running past the end is skipped",
         "o1.zip",
         Archive({Overrunning("bad"), Stored("good", "g")}),
         {"good"},
         {},
         {}},
        {"a second header running past the end",
         "o2.zip",
         Archive({Stored("good", "g"), Overrunning("bad")}),
         {"good"},
         {},
         "Error 3 reading Zip file"},
        {"a negative first size is skipped",
         "n1.zip",
         Archive({negative, Stored("ok", "k")}),
         {"ok"},
         {},
         {}},
        {"a negative second size",
         "n2.zip",
         Archive({Stored("ok", "k"), negative}),
         {"ok"},
         {},
         "Error 3 reading Zip file"},
        {"a zip64 first size past any file is skipped",
         "h1.zip",
         Archive({huge64, Stored("ok", "k")}),
         {"ok"},
         {},
         {}},
        {"a zip64 second size past any file",
         "h2.zip",
         Archive({Stored("ok", "k"), huge64}),
         {"ok"},
         {},
         "Error 3 reading Zip file"},
        {"a cut first header leaves nothing to find", "c1.zip", cutFirst, {}, {kNotAnArchive}, {}},
        {"a cut second header", "c2.zip", cutSecond, {"a"}, {}, "Error 2 reading Zip file"},
        {"a name cut short by the end of the file",
         "c3.zip",
         oneEntry + testzip::LocalHeader(Stored("bbbbbbbb", "")).substr(0, 34),
         {"a"},
         {},
         "Error 2 reading Zip file"},
        {"a zero byte ends the name", "z.zip", Archive({Stored(withZero, "d")}), {"abc"}, {}, {}},
        {"a long name keeps its first 256 bytes",
         "l.zip",
         Archive({Stored(longName, "d"), Stored("next", "")}),
         {longName.substr(0, 256), "next"},
         {},
         {}},
        {"an empty name", "m.zip", Archive({Stored("", "d")}), {""}, {}, {}},
        {"an end record alone ends the walk",
         "eo.zip",
         testzip::LocalHeader(Stored("a", "")) + testzip::EndRecord(0, 0, 0),
         {"a"},
         {},
         {}},
    };
}

class EngineReaderCases : public ::testing::TestWithParam<Case> {};

TEST_P(EngineReaderCases, ListsWhatTheWalkMeets) {
    const Case& c = GetParam();
    TempDir dir;
    const ReadOutcome got = ReadAs(dir, c.fileName, c.bytes);
    EXPECT_EQ(got.names, c.names);
    EXPECT_EQ(got.messages, c.messages);
    EXPECT_EQ(got.error, c.error);
    // The event fires once, with the list as the walk left it, also before an error.
    EXPECT_EQ(got.updates, 1);
    EXPECT_EQ(got.entriesAtUpdate, c.names.size());
}

INSTANTIATE_TEST_SUITE_P(Walk, EngineReaderCases, ::testing::ValuesIn(Cases()),
                         [](const auto& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.what)) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(EngineReader, RecordHoldsTheLocalHeaderFields) {
    TempDir dir;
    Entry e = Stored("f.bin", "0123456789");
    e.flags = 0x0002;
    e.method = 0;
    e.dosDateTime = 0x52345678;
    const std::string path = dir.Write("r.zip", Archive({e}));
    TZipEngine zip;
    zip.SetZipFilename(path);
    ASSERT_EQ(zip.EntryCount(), 1);
    const ZipDirEntry& r = zip.Entries()[0];
    EXPECT_EQ(+r.VersionNeeded, 20);
    EXPECT_EQ(+r.GeneralFlags, 0x0002);
    EXPECT_EQ(+r.CompressionMethod, 0);
    EXPECT_EQ(+r.ModDateTime, 0x52345678u);
    EXPECT_EQ(+r.Crc32, testzip::Crc32("0123456789"));
    EXPECT_EQ(+r.CompressedSize, 10);
    EXPECT_EQ(+r.UncompressedSize, 10);
    EXPECT_EQ(+r.NameLength, 5);
    EXPECT_EQ(+r.ExtraLength, 0);
}

TEST(EngineReader, EntriesWithDataDescriptorsListWithTheirRealSizes) {
    // Streaming tools write zero sizes first and the real ones after the data.
    struct Variant {
        bool signature;
        bool zip64;
    };
    for (const Variant v : {Variant{true, false}, Variant{false, false}, Variant{true, true}}) {
        std::vector<Entry> entries;
        for (const char* name : {"one", "two", "three"}) {
            Entry e = Stored(name, std::string(std::string(name).size() * 7, 'z'));
            e.descriptor = true;
            e.descriptorSignature = v.signature;
            e.zip64Descriptor = v.zip64;
            entries.push_back(e);
        }
        TempDir dir;
        TZipEngine zip;
        zip.SetZipFilename(dir.Write("d.zip", Archive(entries)));
        ASSERT_EQ(zip.EntryCount(), 3) << v.signature << v.zip64;
        for (int i = 0; i < 3; ++i) {
            const ZipDirEntry& r = zip.Entries()[i];
            EXPECT_EQ(r.FileName, entries[i].name);
            EXPECT_EQ(+r.CompressedSize, static_cast<int>(entries[i].data.size()));
            EXPECT_EQ(+r.UncompressedSize, static_cast<int>(entries[i].data.size()));
            EXPECT_EQ(+r.Crc32, testzip::Crc32(entries[i].data));
        }
    }
}

TEST(EngineReader, EntriesCarryTheNameAPersonReadsAndTheirRealSizes) {
    struct Case {
        Entry entry;
        std::string shown;
        std::uint64_t size, stored;
        std::int32_t sizeField;
    };
    const auto make = [](std::string name, std::uint16_t flags, std::string extra) {
        Entry e = Stored(std::move(name), "abc");
        e.flags = flags;
        e.extra = std::move(extra);
        return e;
    };
    const std::string latin = "\x80\xF1.txt"; // "€ñ" in Windows-1252, "Çñ" in 437
    const std::string longName = std::string(300, 'n') + "\x81";
    Entry nearly4GiB = Stored("big", "zz");
    nearly4GiB.method = 8;
    nearly4GiB.uncompressedSize = 0xFFFFFFFE;
    Entry localZip64 = Stored("z64", "0123456789");
    localZip64.method = 8;
    localZip64.localCompressedSize = localZip64.localUncompressedSize = 0xFFFFFFFF;
    localZip64.extra =
        testzip::Le16(1) + testzip::Le16(16) + testzip::Le64(5ull << 30) + testzip::Le64(10);
    Entry centralOnly = Stored("c64", "abcdef");
    centralOnly.localCompressedSize = centralOnly.localUncompressedSize = 0xFFFFFFFF;
    const Case cases[] = {
        {make("plain.txt", 0, ""), "plain.txt", 3, 3, 3},
        {make("\x81nter.txt", 0, ""), "\xC3\xBCnter.txt", 3, 3, 3},
        {make("\xCE\xB1.txt", 0x0800, ""), "\xCE\xB1.txt", 3, 3, 3},
        {make("\x81.txt", 0x0800, ""), "\xC3\xBC.txt", 3, 3, 3}, // flagged, not UTF-8
        {make(latin, 0, zipfmt::UnicodePathBlock(latin, "\xE2\x82\xAC\xC3\xB1.txt")),
         "\xE2\x82\xAC\xC3\xB1.txt", 3, 3, 3},
        {make("x.txt", 0, zipfmt::UnicodePathBlock("y.txt", "stale.txt")), "x.txt", 3, 3, 3},
        {make(longName, 0, ""), std::string(300, 'n') + "\xC3\xBC", 3, 3, 3},
        {make(std::string(300, 'a'), 0, ""), std::string(300, 'a'), 3, 3, 3},
        {nearly4GiB, "big", 0xFFFFFFFE, 2, -2},
        {localZip64, "z64", 5ull << 30, 10, -1},
        {centralOnly, "c64", 6, 6, 6},
    };
    std::vector<Entry> entries;
    for (const Case& c : cases) {
        entries.push_back(c.entry);
    }
    TempDir dir;
    const std::string path = dir.Write("names.zip", Archive(entries));
    TZipEngine zip;
    zip.SetZipFilename(path);
    TZipDir standalone;
    standalone.SetZipFileName(path);
    for (const auto* list : {&zip.Entries(), &standalone.Entries()}) {
        ASSERT_EQ(list->size(), std::size(cases));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const ZipDirEntry& r = (*list)[i];
            const Case& c = cases[i];
            EXPECT_EQ(r.FileName, c.entry.name.substr(0, 256)) << i;
            EXPECT_EQ(r.ShownName(), c.shown) << i;
            EXPECT_EQ(r.UncompressedSize64, c.size) << i;
            EXPECT_EQ(r.CompressedSize64, c.stored) << i;
            EXPECT_EQ(+r.UncompressedSize, c.sizeField) << i;
        }
    }
}

TEST(EngineReader, DescriptorEntriesWithoutCentralDirectoryStillEndInTheReadError) {
    Entry e = Stored("cut", "some data here");
    e.descriptor = true;
    const auto layout = testzip::Build({e, Stored("next", "n")});
    // Cut the archive inside its central directory: nothing tells the sizes.
    const std::string cut = layout.bytes.substr(0, layout.centralOffset - 3);
    TempDir dir;
    const ReadOutcome got = ReadAs(dir, "cut.zip", cut);
    EXPECT_EQ(got.names, (std::vector<std::string>{"cut"}));
    EXPECT_EQ(got.error, "Error reading Zip File");
}

TEST(EngineReader, MissingOrEmptyNameEmptiesTheListQuietly) {
    TempDir dir;
    MessageRecorder messages;
    TZipEngine zip;
    int updates = 0;
    zip.OnDirUpdate = [&](TZipEngine&) { ++updates; };
    zip.SetZipFilename(dir.Write("a.zip", ThreeEntries()));
    ASSERT_EQ(zip.EntryCount(), 3);
    for (const std::string& name : {std::string(), dir.File("missing.zip"), dir.Path().string()}) {
        zip.SetZipFilename(name);
        EXPECT_EQ(zip.EntryCount(), 0) << name;
        EXPECT_TRUE(zip.Entries().empty()) << name;
    }
    EXPECT_EQ(updates, 4);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(EngineReader, EntryCountIsZeroWhileTheNameIsEmpty) {
    TempDir dir;
    TZipEngine zip;
    zip.SetZipFilename(dir.Write("a.zip", ThreeEntries()));
    zip.SetZipFilename("");
    EXPECT_EQ(zip.EntryCount(), 0);
}

TEST(EngineReader, SameNameTwiceReadsTwice) {
    TempDir dir;
    const std::string path = dir.Write("a.zip", ThreeEntries());
    TZipEngine zip;
    int updates = 0;
    zip.OnDirUpdate = [&](TZipEngine&) { ++updates; };
    zip.SetZipFilename(path);
    dir.Write("a.zip", Archive({Stored("only", "")}));
    zip.SetZipFilename(path);
    EXPECT_EQ(updates, 2);
    ASSERT_EQ(zip.EntryCount(), 1);
    EXPECT_EQ(zip.Entries()[0].FileName, "only");
}

TEST(EngineReader, UnopenableFileRaisesWithoutTheEvent) {
    TempDir dir;
    const std::string path = dir.File("locked.zip");
    UnreadableFile locked(path);
    TZipEngine zip;
    int updates = 0;
    zip.OnDirUpdate = [&](TZipEngine&) { ++updates; };
    try {
        zip.SetZipFilename(path);
        FAIL() << "no error";
    } catch (const util::FileOpenError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
    }
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(zip.EntryCount(), 0);
}

TEST(EngineReader, FileIsClosedOnEveryWayOut) {
    TempDir dir;
    for (const std::string& bytes : {ThreeEntries(), std::string(), std::string("PK\3\4")}) {
        const std::string path = dir.Write("c.zip", bytes);
        MessageRecorder quiet;
        TZipEngine zip;
        try {
            zip.SetZipFilename(path);
        } catch (const DirectoryWalkError&) {
        }
        // Windows refuses to delete a file that is still open.
        std::error_code error;
        EXPECT_TRUE(std::filesystem::remove(path, error)) << error.message();
    }
}

TEST(EngineReader, TheMessageBoxIsClosedBeforeTheEvent) {
    TempDir dir;
    const std::string path = dir.Write("empty.zip", "");
    std::vector<std::string> order;
    MessageRecorder messages;
    platform::MessageBoxHandler previous =
        platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
            order.push_back("message:" + r.text);
            EXPECT_EQ(r.caption, "Tarvox");
            EXPECT_EQ(r.style, platform::kMbOk);
            return platform::kIdOk;
        });
    TZipEngine zip;
    zip.OnDirUpdate = [&](TZipEngine&) { order.push_back("update"); };
    zip.SetZipFilename(path);
    platform::SetMessageBoxHandler(previous);
    EXPECT_EQ(order, (std::vector<std::string>{std::string("message:") + kNotAnArchive, "update"}));
}

// A part of a split archive would list the few entries that begin in it: it lists none,
// and the engine tells why with its code, for the caller to word.
TEST(EngineReader, APartOfASplitArchiveListsNothingAndSaysWhy) {
    std::string last = Archive({Stored("a", "1"), Stored("b", "2")});
    last.replace(last.size() - 22 + 4, 4, testzip::Le16(1) + testzip::Le16(1));
    const std::string first =
        testzip::Le32(0x08074B50) + testzip::LocalHeader(Stored("a", "1")) + "1";
    for (const std::string& bytes : {last, first}) {
        TempDir dir;
        const std::string path = dir.Write("s.zip", bytes);
        MessageRecorder boxes;
        TZipEngine zip;
        std::vector<std::int32_t> codes;
        zip.OnMessage = [&](TZipEngine&, std::int32_t code, const std::string&) {
            codes.push_back(code);
        };
        zip.SetZipFilename(path);
        EXPECT_EQ(zip.EntryCount(), 0);
        EXPECT_FALSE(zip.IsArchive());
        EXPECT_EQ(codes, std::vector<std::int32_t>{kErrSplitArchive});
        EXPECT_TRUE(boxes.Texts().empty());
    }
}

TEST(EngineReader, HasExeExtension) {
    const std::pair<const char*, bool> cases[] = {
        {"a.exe", true},   {"A.EXE", true},          {"b.eXe", true},      {"c.exe.zip", false},
        {"exe", false},    {"dir.exe\\file", false}, {"dir.exe/f", false}, {"", false},
        {"x.exec", false}, {".exe", true},
    };
    for (const auto& [name, exe] : cases) {
        EXPECT_EQ(HasExeExtension(name), exe) << name;
    }
}

} // namespace
