// Runs a verb of the shell as Explorer's right-click menu does: through the registry's
// command for it, one program per selected item, all started at once, and waits for
// them. Exits with 0 when every one of them ended with 0.
// Usage: verb_probe VERB ITEM...

#include <cstdio>
#include <vector>
#include <windows.h>

#include <shellapi.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: verb_probe VERB ITEM...\n");
        return 2;
    }
    std::vector<HANDLE> started;
    for (int i = 2; i < argc; ++i) {
        SHELLEXECUTEINFOA run{};
        run.cbSize = sizeof run;
        run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        run.lpVerb = argv[1];
        run.lpFile = argv[i];
        run.nShow = SW_SHOWNORMAL;
        if (!::ShellExecuteExA(&run) || run.hProcess == nullptr) {
            std::fprintf(stderr, "verb_probe: no %s for %s\n", argv[1], argv[i]);
            return 1;
        }
        started.push_back(run.hProcess);
    }
    int result = 0;
    for (HANDLE process : started) {
        DWORD code = 1;
        if (::WaitForSingleObject(process, 60000) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(process, &code) || code != 0) {
            result = 1;
        }
        ::CloseHandle(process);
    }
    return result;
}
