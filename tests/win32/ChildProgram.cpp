#include "tests/win32/ChildProgram.h"

#include <windows.h>

std::string ProgramBesideTests(const std::string& fileName) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1) + fileName;
}

int RunAndWait(std::string commandLine) {
    return RunTogether({std::move(commandLine)}).front();
}

std::vector<int> RunTogether(std::vector<std::string> commandLines) {
    std::vector<PROCESS_INFORMATION> started(commandLines.size());
    std::vector<int> codes(commandLines.size(), -1);
    for (std::size_t i = 0; i < commandLines.size(); ++i) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessA(nullptr, commandLines[i].data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &started[i])) {
            started[i] = {};
        }
    }
    const ULONGLONG deadline = ::GetTickCount64() + 60000;
    for (std::size_t i = 0; i < started.size(); ++i) {
        const PROCESS_INFORMATION& process = started[i];
        if (process.hProcess == nullptr) {
            continue;
        }
        const ULONGLONG now = ::GetTickCount64();
        DWORD code = static_cast<DWORD>(-1);
        if (::WaitForSingleObject(process.hProcess,
                                  now < deadline ? static_cast<DWORD>(deadline - now) : 0) ==
            WAIT_OBJECT_0) {
            ::GetExitCodeProcess(process.hProcess, &code);
        } else {
            ::TerminateProcess(process.hProcess, 99);
        }
        codes[i] = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    return codes;
}
