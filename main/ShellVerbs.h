#pragma once
// The Explorer verbs: which job a command line asks for, and the decisions each job
// takes before any work, where an archive's entries go and which archive files join.
// Paths are Windows paths in the program's code page.

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class ShellJob { ExtractHere, ExtractTo, Test, Add };

struct ShellRequest {
    ShellJob job;
    std::vector<std::string> paths;
};

// "/extracthere", "/extractto" and "/test" with one archive, "/add" with one or more
// files, in any case; nothing when the first argument is no switch, and nothing with a
// switch whose paths are missing or too many.
std::optional<ShellRequest> ShellRequestFrom(const std::vector<std::string>& arguments);

// True when something of that name is on disk.
using PathTest = std::function<bool(const std::string&)>;

// The last part of a path: what follows its last "\", "/" or ":".
std::string LeafOf(const std::string& path);

// The path itself when nothing has its name, else the first free of "PATH (2)",
// "PATH (3)"...; empty when none is.
std::string FreePath(const std::string& path, const PathTest& exists,
                     const std::string& extension = "");

// The folder every entry sits in, when all of them sit in one, by its name as the
// archive writes it; nothing for loose entries or an empty archive.
std::optional<std::string> SingleTopFolder(const std::vector<std::string>& entryNames);

struct ExtractionTarget {
    // Where the entries go, ending in "\"; empty when no folder name is free.
    std::string folder;
    // The archive's one top folder when it is left out: its contents go straight into
    // folder.
    std::string dropTop;
};

// Where the entries of an archive are extracted. "Smart", when they all sit in one top
// folder: that folder appears beside the archive, or, when one of its name is there
// already, its contents go into "NAME (2)", "NAME (3)"... Otherwise a new folder named
// after the archive, numbered the same way.
ExtractionTarget ExtractionFolder(const std::string& archive,
                                  const std::vector<std::string>& entryNames, bool smart,
                                  const PathTest& exists);

// The archive that adding these files makes or adds to: NAME.zip beside one file
// (less its extension) or folder, or in the folder that holds several (their nearest
// common folder when they come from several) and named after it. Never one of the
// files themselves.
std::string ArchiveForAdding(const std::vector<std::string>& paths, const PathTest& isFolder,
                             const PathTest& exists);
