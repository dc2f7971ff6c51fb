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
