#pragma once
// How settings lines and controls become the values the program works with.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/TextLines.h"

// A folder from its settings line: "\" appended, unless the line is exactly three
// characters long (a drive root such as "c:\").
std::string FolderFromSettingsLine(const std::string& line);

// The compression level of a slider position: P div 5 - 1, never below 0.
std::int32_t LevelFromSliderPosition(int position);

// The text of a message pair of the text table: the Spanish entry when the language
// flag is 1, the English one after it otherwise.
std::string ChooseText(const util::TextLines& table, int languageFlag, int spanishIndex);

// What launch number 1 to 6 starts; nothing for any other number.
std::optional<std::string> LaunchTarget(unsigned number, const std::string& programFolder,
                                        int languageFlag);

// The name a new archive is given: ".zip" appended unless the name's extension (from
// its last "." after its last "\" or ":") is exactly ".zip", in that case.
std::string ArchiveNameWithZip(const std::string& name);

// The recent archives, newest first: a name not yet among them goes to the top, and
// with four already there the oldest leaves. True when the list changed.
bool AddRecentArchive(util::TextLines& recent, const std::string& name);
// Takes the name out, the others keeping their order. True when it was there.
bool RemoveRecentArchive(util::TextLines& recent, const std::string& name);

// The maker's web page, a host name and path without a scheme.
extern const char kWebPage[];

// The arguments of a command line after the program's own name: blanks separate them,
// double quotes group blanks into one and are removed.
std::vector<std::string> ParseCommandLine(const std::string& commandLine);
