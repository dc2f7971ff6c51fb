#pragma once
// The settings files as text lists: read whole at start-up, written whole at exit.

#include <string>

#include "util/TextLines.h"

// Replaces the lines with the file's. Raises util::FileOpenError ("Cannot open file
// <path>") when the file cannot be opened or is too large to be a settings file.
void LoadTextFile(util::TextLines& lines, const std::string& path);

// Creates or replaces the file with the lines, each ended by CR LF. Raises
// util::FileCreateError ("Cannot create file <path>") when it cannot be written.
void SaveTextFile(const util::TextLines& lines, const std::string& path);
