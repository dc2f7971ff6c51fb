#include <gtest/gtest.h>

#include "util/Codepage.h"
#include "zipformat/EntryNames.h"
#include "zipformat/EntryPaths.h"
#include "zipformat/Wildcard.h"

namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Wildcard, MatchesStarsAndQuestionMarks) {
    struct Case {
        const char* pattern;
        const char* text;
        bool ignoreCase, match;
    };
    const Case cases[] = {
        {"*", "", false, true},
        {"*.txt", "a.txt", false, true},
        {"*.txt", "a.txt.bak", false, false},
        {"a?c", "abc", false, true},
        {"a?c", "ac", false, false},
        {"*a*b*c*", "xxaxxbxxcxx", false, true},
        {"*.TXT", "a.txt", false, false},
        {"*.TXT", "a.txt", true, true},
        {"a*", "b", false, false},
        {"**x", "yyx", false, true},
        {"", "", false, true},
        {"", "a", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zipfmt::WildcardMatch(c.pattern, c.text, c.ignoreCase), c.match)
            << c.pattern << " " << c.text;
    }
    // Many stars against a long miss stay quick: no exponential backtracking.
    EXPECT_FALSE(zipfmt::WildcardMatch(std::string(60, '*') + "b", std::string(5000, 'a'), false));
}

TEST(EntryPaths, KeepExtractionInsideTheFolder) {
    struct Case {
        const char* name;
        bool keepFolders;
        bool safe;
        std::vector<std::string> folders;
        std::string leaf;
    };
    const Case cases[] = {
        {"a/b/c.txt", true, true, {"a", "b"}, "c.txt"},
        {"a/b/c.txt", false, true, {}, "c.txt"},
        {"a\\b\\c.txt", true, true, {"a", "b"}, "c.txt"},
        {"a//b/./c", true, false, {}, ""}, // a "." step is a name of dots
        {"dir/", true, true, {}, "dir"},
        {"../x", true, false, {}, ""},
        {"../x", false, false, {}, ""},
        {"a/../../x", true, false, {}, ""},
        {"/etc/passwd", true, false, {}, ""},
        {"\\windows\\x", true, false, {}, ""},
        {"C:\\x", true, false, {}, ""},
        {"C:x", false, false, {}, ""},
        {"a/CON", true, false, {}, ""},
        {"lpt1.txt", true, false, {}, ""},
        {"com0", true, true, {}, "com0"},
        {"CONSOLE.txt", true, true, {}, "CONSOLE.txt"},
        {"...", true, false, {}, ""},
        {"a/ . /b", true, false, {}, ""},
        {"q?<>|*\".txt", true, true, {}, "q______.txt"},
        // Windows drops trailing dots and blanks from a name it creates, but not from a
        // folder on the way to another name: both are dropped from every part.
        {"d /e", true, true, {"d"}, "e"},
        {"a./b.", true, true, {"a"}, "b"},
        {"f. . .", false, true, {}, "f"},
        {"COM\xC2\xB9", true, false, {}, ""}, // superscript digits name devices too
        {"d/lpt\xC2\xB3.txt", true, false, {}, ""},
        {"", true, false, {}, ""},
    };
    for (const Case& c : cases) {
        const auto out = zipfmt::SafeOutputPath(c.name, c.keepFolders);
        ASSERT_EQ(out.has_value(), c.safe) << c.name;
        if (out) {
            EXPECT_EQ(out->folders, c.folders) << c.name;
            EXPECT_EQ(out->leaf, c.leaf) << c.name;
        }
    }
}

TEST(EntryPaths, StoredNamesDropDrivesRootsAndSteps) {
    struct Case {
        const char* path;
        const char* cwd;
        bool keepFolders;
        const char* stored;
    };
    const Case cases[] = {
        {"a/b.txt", "/home/u", true, "a/b.txt"},
        {"a/b.txt", "/home/u", false, "b.txt"},
        {"/home/u/d/b.txt", "/home/u", true, "d/b.txt"},
        {"/elsewhere/b.txt", "/home/u", true, "elsewhere/b.txt"},
        {"C:\\Users\\u\\d\\b.txt", "C:\\Users\\u", true, "d/b.txt"},
        {"D:\\data\\b.txt", "C:\\Users\\u", true, "data/b.txt"},
        {"..\\..\\b.txt", "C:\\x", true, "b.txt"},
        {"./a/../c/./b.txt", "/", true, "c/b.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zipfmt::StoredPathFor(c.path, c.cwd, c.keepFolders), c.stored) << c.path;
    }
}

TEST(EntryPaths, SpecificationsMatchWholeNamesOrTheirLastPart) {
    struct Case {
        const char* spec;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"dir/a.txt", "dir/a.txt", true},
        {"a.txt", "dir/a.txt", false},
        {"a.txt", "dir\\a.txt", true},
        {"a.txt", "c:a.txt", true},
        {"*.txt", "dir/a.txt", true},
        {"A.TXT", "a.txt", false},
        {"", "a", false},
        {"x\\*", "x\\y\\z", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zipfmt::SpecMatchesEntry(c.spec, c.name), c.match) << c.spec << " " << c.name;
    }
}

TEST(EntryNames, TheUnicodePathFieldBelongsToItsName) {
    const std::string raw = "a\xF1o.txt";
    const std::string utf8 = "a\xC3\xB1o.txt";
    const std::string block = zipfmt::UnicodePathBlock(raw, utf8);
    EXPECT_EQ(zipfmt::UnicodePathOf(raw, Bytes(block)), utf8);
    // Renamed by a tool that kept the field: the field no longer applies.
    EXPECT_EQ(zipfmt::UnicodePathOf("other.txt", Bytes(block)), std::nullopt);
    std::string badUtf8 = zipfmt::UnicodePathBlock(raw, "\xFF\xFE");
    EXPECT_EQ(zipfmt::UnicodePathOf(raw, Bytes(badUtf8)), std::nullopt);
    EXPECT_EQ(zipfmt::UnicodePathOf(raw, Bytes(block.substr(0, 8))), std::nullopt);
}

// Each archive's names, read together: what an entry says of itself comes first, the
// rest share one code page.
TEST(EntryNames, NamesAreReadInTheEncodingTheirWriterUsed) {
    const std::string field = zipfmt::UnicodePathBlock("\x81.txt", "\xE2\x82\xAC.txt");
    const std::string utf8Field = zipfmt::UnicodePathBlock("\xC3\xBC.txt", "\xE2\x82\xAC.txt");
    const std::string stale = zipfmt::UnicodePathBlock("other.txt", "\xE2\x82\xAC.txt");
    struct Name {
        std::uint16_t flags;
        std::string raw, extra, utf8;
    };
    struct Case {
        unsigned chosen;
        std::vector<Name> names;
        unsigned codePage; // what the names that need one are read in
    };
    const Case cases[] = {
        {0, {{0, "\x81.txt", "", "\xC3\xBC.txt"}}, 437},
        {0, {{0x0800, "\xC3\xBC.txt", "", "\xC3\xBC.txt"}}, 437},
        // Unmarked, but all valid UTF-8: raw UTF-8.
        {0, {{0, "\xC3\xBC.txt", "", "\xC3\xBC.txt"}, {0, "a.txt", "", "a.txt"}}, 65001},
        // One name that is not UTF-8 makes the archive's names a legacy code page.
        {0,
         {{0, "\xC3\xBC.txt", "", "\xE2\x94\x9C\xE2\x95\x9D.txt"}, {0, "\x81", "", "\xC3\xBC"}},
         437},
        // A flag on bytes that are not UTF-8 is wrong; the code page reads them.
        {0, {{0x0800, "\x81.txt", "", "\xC3\xBC.txt"}}, 437},
        {0, {{0, "\x81.txt", field, "\xE2\x82\xAC.txt"}}, 437},
        {0, {{0x0800, "\xC3\xBC.txt", utf8Field, "\xE2\x82\xAC.txt"}}, 437},
        {0, {{0, "\x81.txt", stale, "\xC3\xBC.txt"}}, 437},
        {1252,
         {{0, "\x81.txt", field, "\xE2\x82\xAC.txt"}, {0, "\xFC.txt", "", "\xC3\xBC.txt"}},
         1252},
    };
    for (const Case& c : cases) {
        zipfmt::ArchiveNames names(c.chosen);
        std::vector<std::optional<std::string>> offered;
        for (const Name& n : c.names) {
            offered.emplace_back(names.Offer(n.flags, n.raw, Bytes(n.extra)));
        }
        EXPECT_EQ(names.CodePage(), c.codePage) << c.names[0].raw;
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(offered[i] ? *offered[i] : names.Read(c.names[i].raw), c.names[i].utf8)
                << c.names[i].raw;
        }
    }
}

TEST(EntryNames, StoredNamesAreWindows1252WhenTheyFitAndUtf8Otherwise) {
    const auto ascii = zipfmt::MakeStoredName("d/a.txt");
    EXPECT_EQ(ascii.bytes, "d/a.txt");
    EXPECT_TRUE(ascii.extra.empty());
    EXPECT_FALSE(ascii.utf8);
    const auto latin = zipfmt::MakeStoredName("\xE2\x82\xAC\xC3\xB1.txt"); // "€ñ.txt"
    EXPECT_EQ(latin.bytes, "\x80\xF1.txt");
    EXPECT_FALSE(latin.utf8);
    EXPECT_EQ(zipfmt::UnicodePathOf(latin.bytes, Bytes(latin.extra)), "\xE2\x82\xAC\xC3\xB1.txt");
    const auto greek = zipfmt::MakeStoredName("\xCE\xB1.txt"); // "α.txt"
    EXPECT_EQ(greek.bytes, "\xCE\xB1.txt");
    EXPECT_TRUE(greek.utf8);
    EXPECT_TRUE(greek.extra.empty());
}

TEST(EntryNames, DosNamesAreEightDotThree) {
    const std::pair<const char*, const char*> cases[] = {
        {"readme.txt", "README.TXT"},
        {"Long File Name.html", "LONGFILE.HTM"},
        {"a.b.c.d", "ABC.D"},
        {"dir.ext/file", "DIR.EXT/FILE"},
        {"x+y;z=w[1].txt", "X_Y_Z_W_.TXT"},
        {".profile", "_.PRO"},
        {"\xC3\xB1u.txt", "_U.TXT"},
    };
    for (const auto& [name, dos] : cases) {
        EXPECT_EQ(zipfmt::DosStyleName(name), dos) << name;
    }
}

TEST(Codepages, ConvertBothWays) {
    EXPECT_EQ(util::Cp437ToUtf8("\x80\x81\xE1\xFF"), "\xC3\x87\xC3\xBC\xC3\x9F\xC2\xA0");
    EXPECT_EQ(util::Utf8ToCp1252("\xE2\x82\xAC\xC3\xA9"), std::optional<std::string>("\x80\xE9"));
    EXPECT_EQ(util::Utf8ToCp1252("\xCE\xB1"), std::nullopt);
    EXPECT_EQ(util::Utf8ToCp1252Lossy("a\xCE\xB1\xFF"), "a??");
    const char* invalid[] = {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80"};
    for (const char* text : invalid) {
        EXPECT_FALSE(util::IsValidUtf8(text)) << text;
    }
    EXPECT_TRUE(util::IsValidUtf8("\xF0\x9F\x98\x80 ok"));
}

} // namespace
