#include "main/SettingsRules.h"

#include <cmath>

const char kWebPage[] = "www.ruvelsoft.example/tarvox/";

std::string FolderFromSettingsLine(const std::string& line) {
    return line.size() == 3 ? line : line + "\\";
}

std::int32_t LevelFromSliderPosition(int position) {
    // Single-precision arithmetic, truncated toward zero, then raised to 0.
    const float level = static_cast<float>(position) / 5.0f - 1.0f;
    const auto truncated = static_cast<std::int32_t>(std::trunc(level));
    return truncated < 0 ? 0 : truncated;
}

std::string ChooseText(const util::TextLines& table, int languageFlag, int spanishIndex) {
    return table.Get(languageFlag == 1 ? spanishIndex : spanishIndex + 1);
}

std::optional<std::string> LaunchTarget(unsigned number, const std::string& programFolder,
                                        int languageFlag) {
    switch (number) {
    case 1:
        return "notepad.exe";
    case 2:
        return "explorer.exe";
    case 3:
        return "calc.exe";
    case 4:
        return "command.com";
    case 5:
        return programFolder + (languageFlag == 1 ? "ayuda.hlp" : "help.hlp");
    case 6:
        return kWebPage;
    default:
        return std::nullopt;
    }
}

std::vector<std::string> ParseCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    auto next = [&]() -> std::optional<std::string> {
        while (i < commandLine.size() && static_cast<unsigned char>(commandLine[i]) <= ' ') {
            ++i;
        }
        if (i == commandLine.size()) {
            return std::nullopt;
        }
        std::string argument;
        bool quoted = false;
        for (; i < commandLine.size(); ++i) {
            const char c = commandLine[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && static_cast<unsigned char>(c) <= ' ') {
                break;
            } else {
                argument += c;
            }
        }
        return argument;
    };
    next(); // the program's own name
    while (auto argument = next()) {
        arguments.push_back(*argument);
    }
    return arguments;
}

std::string ArchiveNameWithZip(const std::string& name) {
    const auto dot = name.find_last_of('.');
    const auto separator = name.find_last_of("\\:");
    const bool hasExtension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return hasExtension && name.compare(dot, std::string::npos, ".zip") == 0 ? name : name + ".zip";
}

namespace {
constexpr int kRecentArchives = 4;

int FindLine(const util::TextLines& lines, const std::string& text) {
    for (int i = 0; i < lines.Count(); ++i) {
        if (lines.Get(i) == text) {
            return i;
        }
    }
    return -1;
}
} // namespace

bool AddRecentArchive(util::TextLines& recent, const std::string& name) {
    if (name.empty() || FindLine(recent, name) >= 0) {
        return false;
    }
    const int count = recent.Count();
    recent.Insert(0, name);
    // A longer list comes only from an edited file, and is left as long as it is.
    if (count == kRecentArchives) {
        recent.Delete(kRecentArchives);
    }
    return true;
}

bool RemoveRecentArchive(util::TextLines& recent, const std::string& name) {
    const int index = FindLine(recent, name);
    if (index < 0) {
        return false;
    }
    recent.Delete(index);
    return true;
}
