#include "tools/tarvox-cli/CommandLine.h"

#include <algorithm>

#include "platform/Console.h"
#include "util/AsciiCase.h"
#include "util/NameCodePages.h"

namespace {

const OptionInfo kHelpOption{"--help", "", "show this help (also -h)"};
const OptionInfo kNamesOption{"--names", "CODEPAGE",
                              "read names written without a UTF-8 marker in CODEPAGE: 437, 850, "
                              "866, 932, 936, 949, 950, 1250, 1251, 1252 or utf-8 (auto, the "
                              "default, detects it from the archive's names)"};

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

const std::vector<CommandInfo>& AllCommands() {
    static const std::vector<CommandInfo> commands = {
        {"list",
         "ARCHIVE",
         "Prints one line per entry, in archive order: name, date and time, size, stored size "
         "and ratio, separated by tabs.",
         {kNamesOption},
         1,
         1,
         RunList},
        {"add",
         "ARCHIVE FILE...",
         "Adds files and folders (with everything in them) to ARCHIVE, made when missing; one "
         "library call per FILE.",
         {{"-r", "", "keep folder names, relative to the current folder"},
          {"-x", "PATTERN", "leave out files and folders whose path or name matches (* and ?)"},
          {"-l", "LEVEL", "0 stores, 9 compresses most (7 by default)"},
          {"-p", "PASSWORD", "encrypt what is added with PASSWORD"},
          {"-e", "METHOD", "aes (AES-256, the default) or zipcrypto (for old tools)"},
          {"--batch", "", "hand all FILEs to one library call"}},
         2,
         SIZE_MAX,
         RunAdd},
        {"extract",
         "ARCHIVE FOLDER [NAME...]",
         "Writes the named entries (all when none is named) into FOLDER, made when missing. A "
         "NAME is a name as list prints it, a stored name, or a pattern with * and ?.",
         {{"-o", "", "overwrite existing files (never a read-only one)"},
          {"-j", "", "drop the entries' folders"},
          {"-p", "PASSWORD", "the password of encrypted entries (asked for when needed)"},
          kNamesOption},
         2,
         SIZE_MAX,
         RunExtract},
        {"delete",
         "ARCHIVE NAME...",
         "Removes the named entries; a NAME is as for extract.",
         {kNamesOption},
         2,
         SIZE_MAX,
         RunDelete},
        {"test",
         "ARCHIVE",
         "Checks every entry's data and CRC-32 (and the authentication code of AES entries).",
         {{"-p", "PASSWORD", "the password of encrypted entries (asked for when needed)"},
          kNamesOption},
         1,
         1,
         RunTest},
    };
    return commands;
}

std::optional<unsigned> NamesCodePage(const CommandLine& line) {
    const std::optional<std::string> value = line.Last(kNamesOption.flag);
    if (!value || *value == "auto") {
        return 0u;
    }
    if (util::AsciiUpper(*value) == "UTF-8" || util::AsciiUpper(*value) == "UTF8") {
        return util::kCodePageUtf8;
    }
    for (const unsigned codePage : util::kNameCodePages) {
        if (*value == std::to_string(codePage)) {
            return codePage;
        }
    }
    return std::nullopt;
}

bool CommandLine::Has(std::string_view flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::optional<std::string> CommandLine::Last(std::string_view flag) const {
    std::optional<std::string> last;
    for (const auto& [f, value] : values) {
        if (f == flag) {
            last = value;
        }
    }
    return last;
}

std::vector<std::string> CommandLine::All(std::string_view flag) const {
    std::vector<std::string> all;
    for (const auto& [f, value] : values) {
        if (f == flag) {
            all.push_back(value);
        }
    }
    return all;
}

std::optional<CommandLine> ParseCommandLine(const CommandInfo& command, const Arguments& args) {
    CommandLine line;
    line.command = &command;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnd || a.size() < 2 || a[0] != '-') {
            line.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnd = true;
            continue;
        }
        if (IsHelp(a)) {
            line.help = true;
            return line;
        }
        const auto option = std::find_if(command.options.begin(), command.options.end(),
                                         [&](const OptionInfo& o) { return o.flag == a; });
        if (option == command.options.end()) {
            return std::nullopt;
        }
        if (option->value.empty()) {
            line.flags.push_back(a);
        } else if (i + 1 < args.size()) {
            line.values.emplace_back(a, args[++i]);
        } else {
            return std::nullopt;
        }
    }
    if (line.operands.size() < command.minOperands || line.operands.size() > command.maxOperands) {
        return std::nullopt;
    }
    return line;
}

std::string UsageLine(const CommandInfo& command) {
    std::string line("usage: tarvox-cli ");
    line.append(command.name).append(" ").append(command.operands);
    for (const OptionInfo& option : command.options) {
        line.append(" [").append(option.flag);
        if (!option.value.empty()) {
            line.append(" ").append(option.value);
        }
        line.append("]");
    }
    return line;
}

std::string CommandHelp(const CommandInfo& command) {
    std::string text = UsageLine(command);
    text.append("\n").append(command.summary).append("\n");
    std::vector<OptionInfo> options = command.options;
    options.push_back(kHelpOption);
    for (const OptionInfo& option : options) {
        std::string left("  ");
        left.append(option.flag);
        if (!option.value.empty()) {
            left.append(" ").append(option.value);
        }
        left.resize(std::max<std::size_t>(left.size() + 2, 16), ' ');
        text.append(left).append(option.help).append("\n");
    }
    return text;
}

std::string ToolHelp() {
    std::string text;
    for (const CommandInfo& command : AllCommands()) {
        text += UsageLine(command) + "\n";
    }
    text += "\"tarvox-cli COMMAND --help\" tells more of a command.\n"
            "Exit codes: 0 done; 1 something failed (any file or entry, a name that matched "
            "nothing, a damaged or not a zip archive, a missing or wrong password); 2 bad usage or "
            "no such archive.\n";
    return text;
}

int Usage(const CommandInfo& command) {
    platform::WriteErrorLine(UsageLine(command));
    return kExitUsage;
}
