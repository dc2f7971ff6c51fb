#include <windows.h>

#include "app/Program.h"
#include "main/SettingsRules.h"
#include "main/ShellJobs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::InitializeApplication();
    // A verb of the shell: its one job, without the splash or the main window.
    if (const auto request = ShellRequestFrom(ParseCommandLine(::GetCommandLineA()))) {
        return RunShellJob(*request);
    }
    app::CreateForms();
    return app::Run();
}
