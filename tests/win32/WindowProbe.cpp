// Shows one of the program's windows, as the program makes it, until the process is
// ended: for pictures of each window at the display's scale (scripts/screenshots.sh).
// Usage: window_probe WINDOW [english]   WINDOW: main (main1 to main3: with that tab
// page in view) delete extract configuration folders credits splash

#include <cstdio>
#include <map>
#include <string>
#include <windows.h>

#include <commctrl.h>

#include "app/Program.h"
#include "dialogs/Cborra.h"
#include "dialogs/Cconfi.h"
#include "dialogs/Ccreditos.h"
#include "dialogs/Cdesc.h"
#include "dialogs/Cdirini.h"
#include "dialogs/Cinicio.h"
#include "main/Cprinc.h"
#include "tests/support/TempDir.h"
#include "tests/win32/Readback.h"
#include "tests/win32/ScratchClassesRoot.h"

namespace {

// The desktop of a test machine is a home folder: its dot folders say nothing of the
// program and are left out of the pictures.
void DropDotFolders(HWND tree) {
    const auto next = [tree](HTREEITEM item, WPARAM how) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    HTREEITEM item = next(next(nullptr, TVGN_ROOT), TVGN_CHILD);
    while (item != nullptr) {
        HTREEITEM following = next(item, TVGN_NEXT);
        if (TreeItemText(tree, item).starts_with(L'.')) {
            ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        }
        item = following;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string window = argc >= 2 ? argv[1] : "";
    const bool english = argc >= 3 && std::string(argv[2]) == "english";
    // The main window's tab page in view: "main2" shows the third.
    const int page = window.size() == 5 && window.rfind("main", 0) == 0 ? window[4] - '0' : 0;
    TempDir folder;
    folder.Write("conf.txm",
                 std::string("c:\\\r\nc:\\\r\nc:\\\r\n") + (english ? "2" : "1") + "\r\n");
    folder.Write("ult.txm", "");
    ScratchClassesRoot registry;
    registry.SetDefault(".zip", "Tarvox");
    registry.SetDefault("Tarvox\\dir", folder.Path().string());
    app::InitializeApplication();
    app::CreateForms();
    if (window == "splash") {
        // The splash stays: the main window's start never comes.
        PRINCIPAL->reloj_inicio.SetEnabled(false);
    } else {
        ::SendMessageA(PRINCIPAL->Handle(), WM_TIMER, PRINCIPAL->reloj_inicio.Id(), 0);
    }
    const std::map<std::string, ui::Form*> dialogs = {
        {"main", PRINCIPAL},       {"delete", borra},  {"extract", descompri},
        {"configuration", config}, {"folders", direk}, {"credits", credits},
        {"splash", inicio}};
    const auto found = dialogs.find(page > 0 ? "main" : window);
    PRINCIPAL->v.SetActivePageIndex(page);
    if (found == dialogs.end()) {
        std::fprintf(stderr, "usage: window_probe main|delete|extract|configuration|folders|"
                             "credits|splash [english]\n");
        ::ExitProcess(2);
    }
    if (found->second != PRINCIPAL && found->second != inicio) {
        PRINCIPAL->Hide();
        found->second->Show();
        DropDotFolders(descompri->dir.Handle());
        DropDotFolders(direk->dir.Handle());
    }
    return app::Run();
}
