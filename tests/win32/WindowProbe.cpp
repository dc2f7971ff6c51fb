// Shows one of the program's windows, as the program makes it, until the process is
// ended: for pictures of each window at the display's scale (scripts/screenshots.sh).
// Usage: window_probe WINDOW [english]   WINDOW: main delete extract configuration
// folders credits splash

#include <cstdio>
#include <map>
#include <string>
#include <windows.h>

#include "app/Program.h"
#include "dialogs/Cborra.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "dialogs/Cinicio.h"
#include "main/Cprinc.h"
#include "tests/support/TempDir.h"
#include "tests/win32/ScratchClassesRoot.h"

int main(int argc, char** argv) {
    const std::string window = argc >= 2 ? argv[1] : "";
    const bool english = argc >= 3 && std::string(argv[2]) == "english";
    TempDir folder;
    folder.Write("conf.txm",
                 std::string("c:\\\r\nc:\\\r\nc:\\\r\n") + (english ? "2" : "1") + "\r\n");
    folder.Write("ult.txm", "");
    ScratchClassesRoot registry;
    registry.SetDefault(".zip", "Tarvox");
    registry.SetDefault("Tarvox\\dir", folder.Path().string());
    app::InitializeApplication();
    app::CreateForms();
    if (window != "splash") {
        ::SendMessageA(PRINCIPAL->Handle(), WM_TIMER, PRINCIPAL->reloj_inicio.Id(), 0);
    }
    const std::map<std::string, ui::Form*> dialogs = {
        {"main", PRINCIPAL},       {"delete", borra},  {"extract", descompri},
        {"configuration", config}, {"folders", direk}, {"credits", credits},
        {"splash", inicio}};
    const auto found = dialogs.find(window);
    if (found == dialogs.end()) {
        std::fprintf(stderr, "usage: window_probe main|delete|extract|configuration|folders|"
                             "credits|splash [english]\n");
        ::ExitProcess(2);
    }
    if (found->second != PRINCIPAL && found->second != inicio) {
        PRINCIPAL->Hide();
        found->second->Show();
    }
    return app::Run();
}
