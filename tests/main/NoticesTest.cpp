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

TEST(FailureReport, ListsAFewReasonsInTheLanguageThenHowManyMore) {
    using resources::Failure;
    const std::string longPath =
        "C:\\" + std::string(60, 'p') + "\\" + std::string(70, 'q') + "\\notas.txt";
    struct Case {
        std::vector<Failure> failures;
        bool english;
        std::vector<std::string> lines;
    };
    const std::vector<Failure> twenty(20, Failure{kErrPassword, "e.txt"});
    const Case cases[] = {
        {{{kErrPassword, "a.txt"}, {kErrArchiveDamaged, "x.zip"}},
         false,
         {"H",
          "a.txt: falta la contrase\xF1"
          "a o no es la correcta",
          "x.zip: el archivo est\xE1 da\xF1"
          "ado o no es un zip"}},
        {{{kErrDuplicateName, "LEEME.txt"}, {99, ""}},
         true,
         {"H", "LEEME.txt: two files would get the same name", "error 99"}},
        {twenty,
         false,
         {"H",
          "e.txt: falta la contrase\xF1"
          "a o no es la correcta",
          "e.txt: falta la contrase\xF1"
          "a o no es la correcta",
          "e.txt: falta la contrase\xF1"
          "a o no es la correcta",
          "e.txt: falta la contrase\xF1"
          "a o no es la correcta",
          "e.txt: falta la contrase\xF1"
          "a o no es la correcta",
          "y 15 m\xE1s"}},
        {twenty, true, {}},
        {{{kErrFileWrite, longPath}}, true, {}},
    };
    for (const Case& c : cases) {
        const auto lines = Lines(resources::FailureReport("H", c.failures, c.english));
        if (!c.lines.empty()) {
            EXPECT_EQ(lines, c.lines);
        }
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), resources::kBoxLineChars) << line;
        }
    }
    const auto english = Lines(resources::FailureReport("H", twenty, true));
    EXPECT_EQ(english.back(), "and 15 more");
    // A long path is broken at its separators and loses nothing.
    std::string joined;
    for (const std::string& line :
         Lines(resources::FailureReport("H", {{kErrFileWrite, longPath}}, true))) {
        joined += line;
    }
    EXPECT_EQ(joined,
              "H" + longPath + ": the file cannot be written (read-only, in use or disk full)");
}

} // namespace
