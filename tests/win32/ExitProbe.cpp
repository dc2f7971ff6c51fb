// A test-only program: starts Tarvox through the program entry's code with a given
// program folder and scratch registry, then leaves by one of the ways a user has, so
// that the test can see the real end of the process.
// Usage: exit_probe FOLDER CLASSES_ROOT_KEY WAY

#include <string>
#include <windows.h>

#include "app/Program.h"
#include "main/Cprinc.h"
#include "platform/Messages.h"
#include "tests/win32/Readback.h"
#include "tests/win32/ScratchClassesRoot.h"

namespace {

std::string folder;
std::string way;

// Exit codes of a probe that did not get as far as leaving.
constexpr UINT kStillRunning = 3;
constexpr UINT kUnknownWay = 4;

void CALLBACK Leave(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    TPRINCIPAL& main = *PRINCIPAL;
    // A language choice and three temporary files to be deleted, one of them missing and
    // one read-only.
    ClickToolButton(main.ToolBar1.Handle(), 1);
    for (const char* name : {"copia.txt", "gone.txt", "readonly.txt"}) {
        main.borrafil.Add(folder + "\\" + name);
    }
    HWND window = main.Handle();
    if (way == "button") {
        ClickToolButton(main.barra1.Handle(), 7);
    } else if (way == "menu") {
        ChooseMenuItem(window, 0, 4);
    } else if (way == "close") {
        ::SendMessageA(window, WM_CLOSE, 0, 0);
    } else if (way == "system-menu") {
        ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (way == "alt-f4") {
        ::SendMessageA(window, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(KF_ALTDOWN) << 16);
        PumpMessages();
    } else if (way == "end-session") {
        ::SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
    } else {
        ::ExitProcess(kUnknownWay);
    }
    ::ExitProcess(kStillRunning);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || !OverrideClassesRoot(argv[2])) {
        return 2;
    }
    folder = argv[1];
    way = argv[3];
    platform::SetMessageBoxHandler(
        [](const platform::MessageBoxRequest&) { return platform::kIdOk; });
    app::InitializeApplication();
    app::CreateForms();
    // The probe's own arguments are no archive to hand over.
    PRINCIPAL->Parametros.clear();
    // Well after the start timer has shown the main window.
    ::SetTimer(nullptr, 0, 1200, Leave);
    return app::Run();
}
