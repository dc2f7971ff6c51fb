// tarvox-cli: the engine component from a terminal, for scripts, benchmarks and
// interop tests.

#include <cstdio>
#include <string_view>

#include "platform/Console.h"
#include "platform/Messages.h"
#include "tools/tarvox-cli/Commands.h"

namespace {

const char kUsage[] = "usage: tarvox-cli list ARCHIVE\n"
                      "       tarvox-cli add ARCHIVE FILE... [-l LEVEL] [--batch]\n"
                      "       tarvox-cli extract ARCHIVE FOLDER [NAME...] [-o] [-j]\n"
                      "       tarvox-cli delete ARCHIVE NAME...\n"
                      "       tarvox-cli test ARCHIVE\n";

int g_messagesShown = 0;

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
};

constexpr Command kCommands[] = {
    {"list", RunList},     {"add", RunAdd},   {"extract", RunExtract},
    {"delete", RunDelete}, {"test", RunTest},
};

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
    if (argc >= 2) {
        for (const Command& command : kCommands) {
            if (command.name == argv[1]) {
                return command.run(Arguments(argv + 2, argv + argc));
            }
        }
    }
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
