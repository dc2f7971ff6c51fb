// The one box that reports an operation's failures: its lines, their language, their
// width, and where the list stops.

#include <gtest/gtest.h>

#include <sstream>

#include "engineapi/CallBlocks.h"
#include "resources/Notices.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Each cause heads its own paragraph, in the order the causes came: the first is the
// box's first line. Its subjects follow, indented, each once, five at most.
TEST(FailureReport, PutsEachCauseFirstThenWhatItConcernsThenHowManyMore) {
    using resources::Failure;
    struct Case {
        std::vector<Failure> failures;
        bool english;
        std::vector<std::string> lines;
    };
    std::vector<Failure> seven;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g"}) {
        seven.push_back({kErrFileExists, name});
    }
    const Case cases[] = {
        {{{kErrPassword, "a.txt"}, {kErrPassword, "b.txt"}},
         false,
         {"No se ha dado la contraseña; estas entradas cifradas no se han extraído:", "   a.txt",
          "   b.txt"}},
        {{{kErrFileExists, "x.txt"},
          {kErrArchiveReadOnly, "r.zip"},
          {kErrFileExists, "y.txt"},
          {kErrFileExists, "x.txt"}},
         true,
         {"Already there and not replaced (tick \"Overwrite files\"):", "   x.txt", "   y.txt", "",
          "The archive is read-only; it is unchanged:", "   r.zip"}},
        {seven,
         false,
         {"Ya existen y no se han sustituido (marque \"Sobreescribir archivos\"):", "   a", "   b",
          "   c", "   d", "   e", "   y 2 más"}},
        {{{kErrSplitArchive, "fotos.zip"}, {99, ""}},
         true,
         {"Archive split into parts (.z01, .z02...): join them into one with the program that "
          "split it.",
          "   fotos.zip", "", "Error 99:"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lines(resources::FailureReport(c.failures, c.english)), c.lines);
    }
    // A long path is broken at its separators, every piece indented, and loses nothing.
    const std::string longPath =
        "C:\\" + std::string(60, 'p') + "\\" + std::string(70, 'q') + "\\notas.txt";
    const auto lines = Lines(resources::FailureReport({{kErrFileWrite, longPath}}, true));
    ASSERT_EQ(lines.size(), 4u);
    std::string joined;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), resources::kBoxLineChars) << lines[i];
        ASSERT_EQ(lines[i].substr(0, 3), "   ");
        joined += lines[i].substr(3);
    }
    EXPECT_EQ(joined, longPath);
}

} // namespace
