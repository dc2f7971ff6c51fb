// tarvox-cli: the engine component from a terminal, for scripts, benchmarks and
// interop tests.

#include <cstdio>

#include "platform/Console.h"
#include "platform/Messages.h"
#include "tools/tarvox-cli/CommandLine.h"

namespace {

int g_messagesShown = 0;

void Print(const std::string& text, std::FILE* stream) {
    const std::string shown = platform::ConsoleText(text);
    std::fwrite(shown.data(), 1, shown.size(), stream);
}

} // namespace

int MessagesShown() {
    return g_messagesShown;
}

int main(int argc, char** argv) {
    platform::UseBinaryStandardOutput();
    // Messages meant for a box go to standard error here, and nothing waits on them.
    platform::SetMessageBoxHandler([](const platform::MessageBoxRequest& request) {
        ++g_messagesShown;
        platform::WriteErrorLine(request.text);
        return (request.style & platform::kMbYesNo) == platform::kMbYesNo ? platform::kIdNo
                                                                          : platform::kIdOk;
    });
    const Arguments args = platform::ArgumentsUtf8(argc, argv);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        Print(ToolHelp(), stdout);
        return kExitDone;
    }
    for (const CommandInfo& command : AllCommands()) {
        if (!args.empty() && command.name == args[0]) {
            const auto line = ParseCommandLine(command, Arguments(args.begin() + 1, args.end()));
            if (!line) {
                return Usage(command);
            }
            if (line->help) {
                Print(CommandHelp(command), stdout);
                return kExitDone;
            }
            return command.run(*line);
        }
    }
    Print(ToolHelp(), stderr);
    return kExitUsage;
}
