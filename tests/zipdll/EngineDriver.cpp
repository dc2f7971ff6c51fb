// engine_driver: runs one call of an engine library from the command line, for the
// interop scripts and the benchmarks. Prints every callback record as
// "action<TAB>code<TAB>size<TAB>text" (text in UTF-8), then "result<TAB>count", and
// exits with the count.
//
//   engine_driver add|delete|extract ARCHIVE [options] [SPEC...]
//   options: -level N  -password P  -encrypt  -traditional  -hidden  -dirnames  -recurse  -dos
//   -move
//            -update  -freshen  -ziptime  -overwrite  -test  -verbose  -trace
//            -cancel-at N (answer "stop" to the Nth record)
//            -kill-at N (end the process abruptly at the Nth progress record)
//            -quiet (print only the messages)

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/zipdll/EngineCalls.h"
#include "util/Codepage.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <shellapi.h>
#else
#include <csignal>
#endif

namespace {

// Arguments as Windows-1252, the call blocks' encoding, whatever the console uses.
std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) {
        const int n = ::WideCharToMultiByte(1252, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(n), '\0');
        ::WideCharToMultiByte(1252, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
        arg.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
        args.push_back(arg);
    }
    ::LocalFree(wide);
#else
    for (int i = 1; i < argc; ++i) {
        args.push_back(util::Utf8ToCp1252Lossy(argv[i]));
    }
#endif
    return args;
}

[[noreturn]] void DieNow() {
    std::fflush(stdout);
#ifdef _WIN32
    ::TerminateProcess(::GetCurrentProcess(), 99);
#else
    std::raise(SIGKILL);
#endif
    std::abort();
}

int Usage() {
    std::fprintf(stderr, "usage: engine_driver add|delete|extract ARCHIVE [options] [SPEC...]\n");
    return 125;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = Arguments(argc, argv);
    if (args.size() < 2) {
        return Usage();
    }
    const std::string command = args[0];
    enginetest::Call call;
    call.archive = args[1];
    long cancelAt = -1, killAt = -1;
    bool quiet = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "-level" && hasValue) {
            call.level = std::atoi(args[++i].c_str());
        } else if (a == "-password" && hasValue) {
            call.password = args[++i];
        } else if (a == "-cancel-at" && hasValue) {
            cancelAt = std::atol(args[++i].c_str());
        } else if (a == "-kill-at" && hasValue) {
            killAt = std::atol(args[++i].c_str());
        } else if (a == "-encrypt") {
            call.encrypt = true;
        } else if (a == "-traditional") {
            call.traditional = true;
        } else if (a == "-hidden") {
            call.hidden = true;
        } else if (a == "-dirnames") {
            call.dirNames = true;
        } else if (a == "-recurse") {
            call.recurse = true;
        } else if (a == "-dos") {
            call.dosNames = true;
        } else if (a == "-move") {
            call.move = true;
        } else if (a == "-update") {
            call.update = true;
        } else if (a == "-freshen") {
            call.freshen = true;
        } else if (a == "-ziptime") {
            call.zipTime = true;
        } else if (a == "-overwrite") {
            call.overwrite = true;
        } else if (a == "-test") {
            call.test = true;
        } else if (a == "-verbose") {
            call.verbose = true;
        } else if (a == "-trace") {
            call.trace = true;
        } else if (a == "-quiet") {
            quiet = true;
        } else {
            call.specs.push_back(a);
        }
    }
    long seen = 0, progress = 0;
    call.answer = [&](const enginetest::Record& r) -> std::int32_t {
        ++seen;
        if (r.action == 2 && ++progress == killAt) {
            DieNow();
        }
        if (!quiet || r.action >= 4) {
            std::printf("%d\t%d\t%d\t%s\n", r.action, r.code, r.size,
                        util::Cp1252ToUtf8(r.text).c_str());
        }
        return seen == cancelAt ? -1 : 0;
    };
    enginetest::Result result;
    if (command == "add") {
        result = enginetest::Add(call);
    } else if (command == "delete") {
        result = enginetest::Delete(call);
    } else if (command == "extract") {
        result = enginetest::Extract(call);
    } else {
        return Usage();
    }
    std::printf("result\t%d\n", result.count);
    return result.count;
}
