// Entries dragged out of the list: they are extracted, without their folders, when a
// target takes the drop, into a folder of this run's own that the target copies from.

#include "main/Cprinc.h"

#include <filesystem>
#include <system_error>

#include "platform/win32/WidePath.h"
#include "ui/FileDrag.h"
#include "util/Codepage.h"
#include "zipformat/EntryPaths.h"

namespace {

bool EsCarpeta(const std::string& nombre) {
    return !nombre.empty() && (nombre.back() == '/' || nombre.back() == '\\');
}

} // namespace

void TPRINCIPAL::listaBeginDrag() {
    if (estado_.ocupado || lista.SelectedCount() == 0) {
        return;
    }
    const std::vector<std::string> nombres = lista.SelectedStoredNames();
    // The folder is named before the drop, for targets that look at the paths early,
    // and made only when the first of them asks.
    std::string carpeta;
    const auto Carpeta = [&]() -> const std::string& {
        if (carpeta.empty() && !CarpetaDeVistas().empty()) {
            for (int intento = 0; intento < 100 && carpeta.empty(); ++intento) {
                std::string nueva = CarpetaDeVistas() + "arrastre-" + std::to_string(++arrastres_);
                if (::CreateDirectoryA(nueva.c_str(), nullptr)) {
                    carpeta = nueva + "\\";
                }
            }
        }
        return carpeta;
    };
    ui::FileDrag arrastre;
    arrastre.expected = [&] {
        std::vector<std::wstring> rutas;
        if (Carpeta().empty()) {
            return rutas;
        }
        const std::wstring base = platform::WidenAnsi(carpeta);
        for (const int fila : lista.SelectedRows()) {
            const ZipDirEntry* entrada = lista.Entry(fila);
            if (entrada == nullptr || EsCarpeta(entrada->FileName)) {
                continue;
            }
            const auto salida = zipfmt::SafeOutputPath(entrada->ShownName(), false);
            if (salida && !salida->leaf.empty()) {
                rutas.push_back(base + platform::WidenUtf8(salida->leaf));
            }
        }
        return rutas;
    };
    arrastre.render = [&] {
        std::vector<std::wstring> rutas;
        if (Carpeta().empty()) {
            return rutas;
        }
        {
            const Trabajando mientras(*this);
            ExtraeEn(nombres, carpeta, {});
        }
        // What the library wrote, whatever it made of the names.
        std::error_code fallo;
        for (const auto& hecho :
             std::filesystem::directory_iterator(platform::WidenAnsi(carpeta), fallo)) {
            rutas.push_back(hecho.path().wstring());
        }
        return rutas;
    };
    // The window itself takes dropped files to add them: not its own entries.
    arrastrando_ = true;
    UpdateCommands();
    ui::DragFilesOut(arrastre);
    arrastrando_ = false;
    UpdateCommands();
}
