#pragma once
// Texts the window words itself in the interface's language: questions and notices of
// the delete and extract dialogs, and why an engine library refused, from its error
// code. Windows-1252 bytes, like the text table.

#include <cstdint>
#include <string>
#include <vector>

namespace resources {

enum class Notice {
    ConfirmDeleteAll, // asked before "Todos" deletes while rows are selected
    NothingSelected,  // "Solo Seleccionados" with no row selected
    AndMore,          // after the last line shown of a list of failures
    NoFolderHere,     // a new folder asked for where the file system has none
    NoDestination,    // the extract dialog's field shows no folder
    NotAWholePath,    // the extract dialog's field shows a path without its drive
    NoSuchDrive,      // the extract dialog's field shows a folder on a drive not there
    NothingFits,      // an extraction did nothing, and nothing failed
    EmptyArchive,     // an archive without entries, to extract or test
    NoViewFolder,     // no folder for a view's copy can be made (the cause line of a box)
};

// The notice in Spanish or English; count fills the texts that name a number.
std::string NoticeText(Notice notice, bool english, std::int64_t count = 0);

// Why a library refused, for its error code (the engine libraries' codes): a few words
// that follow what they concern.
std::string ReasonText(std::int32_t errorCode, bool english);

// The same as the first line of a box: a sentence, ended by a colon where what it
// concerns follows.
std::string CauseText(std::int32_t errorCode, bool english);

// Whether a failure of this code concerns the archive as a whole rather than the entry
// or file at work.
bool ConcernsTheArchive(std::int32_t errorCode);

// One failure of an operation: the library's error code and what it concerned (a file,
// an entry or the archive), as a person reads it.
struct Failure {
    std::int32_t code;
    std::string subject;
};

// Details listed one a line below their cause, at most this many, then "and N more".
inline constexpr std::size_t kFailuresListed = 5;
// No detail line of a box is longer than this: a long path is broken at its separators.
inline constexpr std::size_t kBoxLineChars = 80;

// The text of a box: the cause on its first line, then what it concerns, one a line
// and indented.
std::string BoxText(const std::string& cause, const std::vector<std::string>& details,
                    bool english);

// The text of the one box that reports an operation's failures: a paragraph for each
// cause, in the order they came, the first cause on the box's first line.
std::string FailureReport(const std::vector<Failure>& failures, bool english);

} // namespace resources
