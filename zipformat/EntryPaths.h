#pragma once
// Where entries go and which entries a specification names: the checks that keep
// extraction inside its folder, and the names stored for added files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zipfmt {

struct OutputPath {
    std::vector<std::string> folders; // to create, outermost first
    std::string leaf;                 // the file's (or folder's) own name; may be empty
    bool isDirectory = false;         // the entry names a folder
};

// The relative place of an entry (UTF-8 name, "/" or "\" between folders), or
// nothing when it would land outside the current folder: an absolute path, a
// drive, a ".." step, a device name, a name of dots. With keepFolders false only
// the last part is used. Characters Windows forbids in names become "_".
std::optional<OutputPath> SafeOutputPath(std::string_view name, bool keepFolders);

// A specification names an entry when it matches the whole stored name or the part
// after its last "\" or ":" ("*" and "?" are wildcards). The libraries choose
// through EntrySelector, which puts a whole stored name before any wildcard.
bool SpecMatchesEntry(std::string_view spec, std::string_view storedName);

// The name stored for a file found at path (UTF-8, either separator): its own
// name, or, keeping folders, the path relative to cwd when it lies inside it, else
// the path without drive and root, "." and ".." resolved (never above its start).
// "/" between folders.
std::string StoredPathFor(std::string_view path, std::string_view cwd, bool keepFolders);

// Splits at "/" and "\", dropping empty parts.
std::vector<std::string> SplitPath(std::string_view path);

} // namespace zipfmt
