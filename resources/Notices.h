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
};

// The notice in Spanish or English; count fills the texts that name a number.
std::string NoticeText(Notice notice, bool english, std::int64_t count = 0);

// Why a library refused, for its error code (the engine libraries' codes).
std::string ReasonText(std::int32_t errorCode, bool english);

// Whether a failure of this code concerns the archive as a whole rather than the entry
// or file at work.
bool ConcernsTheArchive(std::int32_t errorCode);

// One failure of an operation: the library's error code and what it concerned (a file,
// an entry or the archive), as a person reads it.
struct Failure {
    std::int32_t code;
    std::string subject;
};

// Failures listed one a line below the header, at most this many, then "and N more".
inline constexpr std::size_t kFailuresListed = 5;
// No failure line of a box is longer than this: a long path is broken at its separators.
inline constexpr std::size_t kBoxLineChars = 80;

// The text of the one box that reports an operation's failures.
std::string FailureReport(const std::string& header, const std::vector<Failure>& failures,
                          bool english);

} // namespace resources
