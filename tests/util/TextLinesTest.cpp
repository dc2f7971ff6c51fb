#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/TextLines.h"

namespace {

std::vector<std::string> LinesOf(const util::TextLines& lines) {
    std::vector<std::string> out;
    for (int i = 0; i < lines.Count(); ++i) {
        out.push_back(lines.Get(i));
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(TextLines, ReadsEveryKindOfLineBreak) {
    struct Case {
        const char* text;
        Lines lines;
        const char* written;
    };
    const Case cases[] = {
        {"", {}, ""},
        {"\r\n", {""}, "\r\n"},
        {"a", {"a"}, "a\r\n"},
        {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
        {"a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
        {"a\nb\rc\r\n", {"a", "b", "c"}, "a\r\nb\r\nc\r\n"},
        {"a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        {"a\r\n\r\n", {"a", ""}, "a\r\n\r\n"},
        {"\r\r", {"", ""}, "\r\n\r\n"},
        {"c:\\\r\nc:\\\r\nc:\\\r\n1\r\nextra\r\n",
         {"c:\\", "c:\\", "c:\\", "1", "extra"},
         "c:\\\r\nc:\\\r\nc:\\\r\n1\r\nextra\r\n"},
    };
    for (const Case& c : cases) {
        util::TextLines lines;
        lines.SetText(c.text);
        EXPECT_EQ(LinesOf(lines), c.lines) << c.text;
        EXPECT_EQ(lines.Text(), c.written) << c.text;
    }
}

TEST(TextLines, ReadingPastTheEndGivesEmptyText) {
    util::TextLines lines{"a", "b"};
    EXPECT_EQ(lines.Get(1), "b");
    EXPECT_EQ(lines.Get(2), "");
    EXPECT_EQ(lines.Get(100), "");
    EXPECT_EQ(lines.Get(-1), "");
}

TEST(TextLines, WritingPastTheEndIsIgnoredButTheLineAfterAFinalBreakCanBeWritten) {
    struct Case {
        const char* text;
        int index;
        Lines after;
    };
    const Case cases[] = {
        {"a\r\nb", 1, {"a", "x"}},
        {"a\r\nb", 2, {"a", "b"}},          // no such line
        {"a\r\nb", 5, {"a", "b"}},          // far past it
        {"a\r\nb\r\n", 2, {"a", "b", "x"}}, // the empty line after the final break
        {"a\r\nb\r\n", 3, {"a", "b"}},
        {"", 0, {"x"}}, // an empty text has one writable line
        {"", 1, {}},
        {"a", -1, {"a"}},
    };
    for (const Case& c : cases) {
        util::TextLines lines;
        lines.SetText(c.text);
        lines.Set(c.index, "x");
        EXPECT_EQ(LinesOf(lines), c.after) << c.text << " @" << c.index;
    }
}

TEST(TextLines, LanguageLineOfShortSettings) {
    // Three lines and a final break: line 4 does not exist, but is writable.
    util::TextLines withBreak;
    withBreak.SetText("c:\\\r\nc:\\\r\nc:\\\r\n");
    withBreak.Set(3, "2");
    EXPECT_EQ(withBreak.Text(), "c:\\\r\nc:\\\r\nc:\\\r\n2\r\n");
    // Two lines: writing line 4 changes nothing.
    util::TextLines twoLines;
    twoLines.SetText("c:\\\r\nc:\\");
    twoLines.Set(3, "2");
    EXPECT_EQ(twoLines.Text(), "c:\\\r\nc:\\\r\n");
}

TEST(TextLines, AddInsertAndDeleteKeepTheLineRules) {
    util::TextLines lines;
    lines.Add("a");
    lines.Add("b");
    EXPECT_EQ(LinesOf(lines), (Lines{"a", "b"}));
    lines.Insert(0, "z");
    EXPECT_EQ(LinesOf(lines), (Lines{"z", "a", "b"}));
    lines.Insert(3, "c");
    lines.Insert(9, "ignored");
    EXPECT_EQ(LinesOf(lines), (Lines{"z", "a", "b", "c"}));
    lines.Delete(1);
    EXPECT_EQ(LinesOf(lines), (Lines{"z", "b", "c"}));
    lines.Delete(2);
    EXPECT_EQ(LinesOf(lines), (Lines{"z", "b"}));
    lines.Delete(7);
    EXPECT_EQ(LinesOf(lines), (Lines{"z", "b"}));

    util::TextLines noBreak;
    noBreak.SetText("a\r\nb");
    noBreak.Add("c");
    EXPECT_EQ(noBreak.Text(), "a\r\nb\r\nc\r\n");
    noBreak.Delete(2); // the last line of a text without final break
    EXPECT_EQ(LinesOf(noBreak), (Lines{"a", "b"}));
    noBreak.Clear();
    EXPECT_EQ(noBreak.Count(), 0);
}

TEST(TextLines, AWrittenLineBreakMakesSeveralLines) {
    util::TextLines lines{"a", "b"};
    lines.Set(0, "x\r\ny");
    EXPECT_EQ(LinesOf(lines), (Lines{"x", "y", "b"}));
}

} // namespace
