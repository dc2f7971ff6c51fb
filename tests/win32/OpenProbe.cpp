// A benchmark program: starts Tarvox through the program entry's code on the archive
// named by its argument, as the shell's double click does, and prints how long it took
// from the start timer, and from the process's beginning, until the list's first page
// of rows was painted.
// With "delete" after the archive it then deletes every entry through the delete
// dialog ("Todos"), or with "delete half" every other row (selected, "Solo
// Seleccionados"), and prints how long that took until the list was shown again. With "extract
// FOLDER" it starts as the shell's "extract here" verb does (the argument "0"), and in the extract
// dialog that opens picks FOLDER in the tree and extracts every entry with folders and overwriting.
// Usage: open_probe ARCHIVE [delete [half] | extract FOLDER]

#include <chrono>
#include <cstdio>
#include <string>
#include <windows.h>

#include <commctrl.h>

#include "app/Program.h"
#include "dialogs/Cborra.h"
#include "dialogs/Cdesc.h"
#include "main/Cprinc.h"
#include "platform/Messages.h"
#include "platform/Modal.h"
#include "tests/support/TempDir.h"
#include "tests/win32/Readback.h"
#include "tests/win32/ScratchClassesRoot.h"

int main(int argc, char** argv) {
    const bool extract = argc == 4 && std::string(argv[2]) == "extract";
    const bool remove = argc >= 3 && std::string(argv[2]) == "delete";
    const bool half = remove && argc == 4 && std::string(argv[3]) == "half";
    if (argc != 2 && !(remove && (argc == 3 || half)) && !extract) {
        std::fprintf(stderr, "usage: open_probe ARCHIVE [delete [half] | extract FOLDER]\n");
        return 2;
    }
    TempDir folder;
    folder.Write("conf.txm", "c:\\\r\nc:\\\r\nc:\\\r\n1\r\n");
    folder.Write("ult.txm", "");
    ScratchClassesRoot registry;
    registry.SetDefault(".zip", "Tarvox");
    registry.SetDefault("Tarvox\\dir", folder.Path().string());
    int shown = 0;
    platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
        std::fprintf(stderr, "message: %s\n", request.text.c_str());
        // An archive emptied by a delete is said to be empty: no failure of the run.
        shown += request.text != "Fichero vacío o no válido";
        return platform::kIdOk;
    });
    app::InitializeApplication();
    app::CreateForms();
    PRINCIPAL->Parametros = {argv[1]};
    bool extracted = false;
    if (extract) {
        PRINCIPAL->Parametros.push_back("0");
        platform::SetModalHandler([&](const platform::ModalRequest& request) {
            request.show();
            descompri->dir.SetPath(argv[3]);
            descompri->c1.SetChecked(true);
            descompri->c2.SetChecked(true);
            descompri->opc.SetItemIndex(0);
            ClickToolButton(descompri->ToolBar1.Handle(), 0);
            extracted = request.closed() && descompri->dir.Path() == argv[3];
            request.hide();
        });
    }
    const auto start = std::chrono::steady_clock::now();
    ::SendMessageA(PRINCIPAL->Handle(), WM_TIMER, PRINCIPAL->reloj_inicio.Id(), 0);
    ::UpdateWindow(PRINCIPAL->lista.Handle());
    const auto end = std::chrono::steady_clock::now();
    FILETIME created{}, unused{}, now{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &unused, &unused, &unused);
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](FILETIME t) {
        return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart);
    };
    std::printf("%d rows in %.1f ms, %.1f ms after the process began\n", PRINCIPAL->lista.Count(),
                std::chrono::duration<double, std::milli>(end - start).count(),
                (ticks(now) - ticks(created)) / 10000.0);
    if (extract && !extracted) {
        std::fprintf(stderr, "the extract dialog did not extract into %s\n", argv[3]);
        shown = 1;
    }
    if (remove) {
        if (half) {
            LVITEMW item{};
            item.stateMask = item.state = LVIS_SELECTED;
            for (int row = 0; row < PRINCIPAL->lista.Count(); row += 2) {
                ::SendMessageW(PRINCIPAL->lista.Handle(), LVM_SETITEMSTATE, row,
                               reinterpret_cast<LPARAM>(&item));
            }
        }
        const auto before = std::chrono::steady_clock::now();
        borra->opc.SetItemIndex(half ? 1 : 0);
        borra->ToolButton1Click();
        ::UpdateWindow(PRINCIPAL->lista.Handle());
        std::printf(
            "deleted down to %d rows in %.1f ms\n", PRINCIPAL->lista.Count(),
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before)
                .count());
    }
    std::fflush(stdout);
    // Leaving through the program's own exit would write settings into the scratch folder.
    ::ExitProcess(shown == 0 ? 0 : 1);
}
