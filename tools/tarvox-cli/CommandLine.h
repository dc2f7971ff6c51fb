#pragma once
// A command's options and operands, and its help text, from one description.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tarvox-cli/Commands.h"

struct OptionInfo {
    std::string_view flag;
    std::string_view value; // empty for a flag without one
    std::string_view help;
};

struct CommandInfo {
    std::string_view name;
    std::string_view operands; // "ARCHIVE FILE..."
    std::string_view summary;
    std::vector<OptionInfo> options;
    std::size_t minOperands;
    std::size_t maxOperands;
    int (*run)(const CommandLine&);
};

struct CommandLine {
    const CommandInfo* command = nullptr;
    bool help = false; // --help or -h: nothing else is looked at
    Arguments operands;
    std::vector<std::string> flags;
    // (flag, value) in the order given; a flag may come more than once.
    std::vector<std::pair<std::string, std::string>> values;

    bool Has(std::string_view flag) const;
    std::optional<std::string> Last(std::string_view flag) const;
    std::vector<std::string> All(std::string_view flag) const;
};

// The code page of --names (0 for auto or none); nothing for one not offered.
std::optional<unsigned> NamesCodePage(const CommandLine& line);

// The commands, in the order the help lists them.
const std::vector<CommandInfo>& AllCommands();

// Options before or among the operands; "--" ends them. Nothing on bad usage.
std::optional<CommandLine> ParseCommandLine(const CommandInfo& command, const Arguments& args);

// "usage: tarvox-cli add ARCHIVE FILE... [-r] ..."
std::string UsageLine(const CommandInfo& command);
// The usage line, what the command does and each option on a line of its own.
std::string CommandHelp(const CommandInfo& command);
// Every command's usage line, and the exit codes.
std::string ToolHelp();

// Prints the usage line on standard error: the exit code of bad usage.
int Usage(const CommandInfo& command);
