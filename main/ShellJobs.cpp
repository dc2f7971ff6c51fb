#include "main/ShellJobs.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <windows.h>

#include "dialogs/Cclave.h"
#include "dialogs/Ccomprobar.h"
#include "dialogs/Ctarea.h"
#include "engine/ZipEngine.h"
#include "engineapi/CallBlocks.h"
#include "main/AddGathering.h"
#include "main/SettingsRules.h"
#include "main/TextFiles.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "platform/win32/WidePath.h"
#include "resources/CommandTexts.h"
#include "resources/Notices.h"
#include "ui/Application.h"
#include "ui/Guard.h"
#include "util/Convert.h"
#include "util/Errors.h"

namespace {

// The main window's defaults: folders with their trees, hidden files too, and the
// level the slider starts every run at.
constexpr int kSliderAtStart = 43;
// Pending messages are handled this often while the engine reports, and the file at
// work is shown at most this often: a run of small files reports thousands a second.
constexpr ULONGLONG kMessagesEvery = 25; // ms
constexpr ULONGLONG kShownEvery = 100;   // ms

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What adding these reports one by one: each file, and each folder with all below it.
int ItemsToAdd(const std::vector<std::string>& paths) {
    namespace fs = std::filesystem;
    long long items = 0;
    for (const std::string& path : paths) {
        ++items;
        std::error_code error;
        for (fs::recursive_directory_iterator item(
                 platform::WidenAnsi(path), fs::directory_options::skip_permission_denied, error);
             !error && item != fs::recursive_directory_iterator(); item.increment(error)) {
            ++items;
        }
    }
    return static_cast<int>(std::min<long long>(items, INT_MAX));
}

class ShellJobRun {
public:
    ShellJobRun(const ShellRequest& request, int idioma)
        : request_(request), idioma_(idioma), ventana_(idioma),
          zip_(reinterpret_cast<std::uintptr_t>(ventana_.Handle())) {
        ventana_.OnCancel = [this] {
            cancelado_ = true;
            zip_.CancelRequested = true;
        };
        zip_.OnProgress = [this](TZipEngine& z, ProgressType tipo, const std::string& nombre,
                                 std::int32_t) { Progreso(z, tipo, nombre); };
        zip_.OnMessage = [this](TZipEngine&, std::int32_t codigo, const std::string&) {
            Mensaje(codigo);
        };
    }

    int Run() {
        switch (request_.job) {
        case ShellJob::ExtractHere:
        case ShellJob::ExtractTo:
            Extrae(request_.job == ShellJob::ExtractHere);
            break;
        case ShellJob::Test:
            Comprueba();
            break;
        case ShellJob::Add:
            Anyade();
            break;
        }
        ventana_.Hide();
        if (!fallos_.empty()) {
            platform::ShowMessage(resources::FailureReport(fallos_, idioma_ != 1));
        }
        return hecho_ && !cancelado_ && fallos_.empty() ? 0 : 1;
    }

private:
    void Muestra(const resources::Bilingual& accion, const std::string& archivo) {
        char linea[MAX_PATH + 64];
        std::snprintf(linea, sizeof linea, accion.In(idioma_), LeafOf(archivo).c_str());
        ventana_.accion.SetCaption(linea);
        ventana_.Show();
        ui::App().ProcessMessages();
    }

    // An archive that is not there, when it must be, or cannot be read is said so, as
    // the engine would.
    void Abre(const std::string& archivo, bool nuevoVale = false) {
        if (!nuevoVale && !platform::FileExists(archivo)) {
            fallos_.push_back({kErrArchiveOpen, archivo});
            return;
        }
        try {
            zip_.SetZipFilename(archivo);
        } catch (const util::FileOpenError&) {
            fallos_.push_back({kErrArchiveOpen, archivo});
        } catch (const std::exception&) {
            fallos_.push_back({kErrArchiveDamaged, archivo});
        }
        // One the engine found no archive in has said so itself.
        noEsArchivo_ = fallos_.empty() && platform::FileExists(archivo) && !zip_.IsArchive();
    }

    // Whether the archive opened has entries to work on; one without is said so.
    bool ConEntradas() {
        if (!fallos_.empty() || noEsArchivo_) {
            return false;
        }
        if (zip_.EntryCount() == 0) {
            ventana_.Hide();
            platform::ShowMessage(
                resources::NoticeText(resources::Notice::EmptyArchive, idioma_ != 1));
            return false;
        }
        return true;
    }

    void Extrae(bool listo) {
        const std::string& archivo = request_.paths.front();
        Muestra(resources::kExtracting, archivo);
        Abre(archivo);
        if (!ConEntradas()) {
            return;
        }
        std::vector<std::string> nombres;
        for (const ZipDirEntry& entrada : zip_.Entries()) {
            nombres.push_back(entrada.ShownName());
        }
        const ExtractionTarget destino = ExtractionFolder(archivo, nombres, listo, Exists);
        if (destino.folder.empty()) {
            platform::ShowMessage(resources::kNoFreeFolder.In(idioma_));
            return;
        }
        const std::string junto = archivo.substr(0, archivo.find_last_of("\\/") + 1);
        // The top folder left out: the entries go to a folder of their own beside, whose
        // one top folder then takes the destination's name.
        const std::string carpeta = destino.folder.substr(0, destino.folder.size() - 1);
        const std::string aparte =
            destino.dropTop.empty() ? std::string() : FreePath(carpeta + ".tmp", Exists);
        if (!destino.dropTop.empty() && aparte.empty()) {
            platform::ShowMessage(resources::kNoFreeFolder.In(idioma_));
            return;
        }
        const std::string extraccion = aparte.empty() ? destino.folder : aparte + "\\";
        // What this job makes is all it may take away again when cancelled.
        std::string creada;
        if (const auto arriba = SingleTopFolder(nombres);
            aparte.empty() && arriba && !Exists(destino.folder + *arriba)) {
            creada = destino.folder + *arriba;
        }
        if (cancelado_) {
            return;
        }
        if (!Exists(extraccion)) {
            if (!::CreateDirectoryA(extraccion.c_str(), nullptr)) {
                fallos_.push_back({kErrFileWrite, extraccion});
                return;
            }
            creada = extraccion.substr(0, extraccion.size() - 1);
        }
        entradas_ = zip_.EntryCount();
        zip_.ExtrBaseDir = extraccion;
        zip_.ExtrOptions = {ExtrOptsEnum::ExtrDirNames};
        Tclave clave(idioma_);
        ExtraeConClave(zip_, clave, true);
        hecho_ = zip_.ResultCount() > 0;
        // The engine left the process inside the folder, and no system removes or moves a
        // current folder.
        ::SetCurrentDirectoryA(junto.c_str());
        if (cancelado_ && !creada.empty()) {
            std::error_code ignorado;
            std::filesystem::remove_all(platform::WidenAnsi(creada), ignorado);
        } else if (!aparte.empty() && SubeCarpeta(extraccion + destino.dropTop, carpeta)) {
            ::RemoveDirectoryA(aparte.c_str());
        }
    }

    // The extracted top folder takes the destination's name, or the next free one when a
    // folder of that name came meanwhile. False, and said, when it cannot: what was
    // extracted then stays where it is.
    bool SubeCarpeta(const std::string& arriba, const std::string& carpeta) {
        if (!platform::DirectoryExists(arriba)) {
            return true; // nothing of it was extracted, and the failures say why
        }
        const std::string libre = FreePath(carpeta, Exists);
        if (libre.empty() || !::MoveFileA(arriba.c_str(), libre.c_str())) {
            fallos_.push_back({kErrFileWrite, arriba});
            return false;
        }
        return true;
    }

    void Comprueba() {
        const std::string& archivo = request_.paths.front();
        Muestra(resources::kTesting, archivo);
        Abre(archivo);
        if (!ConEntradas()) {
            return;
        }
        entradas_ = zip_.EntryCount();
        comprobacion_ = std::make_unique<Comprobacion>();
        zip_.ExtrOptions = {ExtrOptsEnum::ExtrTest};
        // Encrypted entries are tested with the password the user gives, as in the window.
        Tclave clave(idioma_);
        const Extraccion prueba = ExtraeConClave(zip_, clave, true);
        hecho_ = true;
        ventana_.Hide();
        if (!cancelado_) {
            hecho_ = comprobacion_->problemas.empty();
            Comprobador().Muestra(prueba.entradas, std::move(comprobacion_->problemas), idioma_);
        }
        comprobacion_.reset();
    }

    void Anyade() {
        std::vector<std::string> ficheros;
        for (const std::string& fichero : request_.paths) {
            if (Exists(fichero)) {
                ficheros.push_back(fichero);
            } else {
                fallos_.push_back({kErrNothingMatched, fichero});
            }
        }
        if (ficheros.empty()) {
            return;
        }
        const std::string archivo = ArchiveForAdding(ficheros, platform::DirectoryExists, Exists);
        Muestra(resources::kAddingTo, archivo);
        Abre(archivo, true);
        if (!fallos_.empty() || noEsArchivo_) {
            return;
        }
        zip_.AddOptions = {AddOptsEnum::AddRecurseDirs, AddOptsEnum::AddHiddenFiles};
        zip_.AddCompLevel = LevelFromSliderPosition(kSliderAtStart);
        entradas_ = ItemsToAdd(ficheros);
        // One library call for each file or folder: Cancelar stops the one at work, which
        // goes without a trace, and keeps those added before it.
        std::set<std::string> hojas;
        for (const std::string& fichero : ficheros) {
            if (cancelado_) {
                break;
            }
            // Two of one name, from two folders: the second would replace the first.
            if (!hojas.insert(platform::FileNameKey(LeafOf(fichero))).second) {
                fallos_.push_back({kErrDuplicateName, fichero});
                continue;
            }
            zip_.FSpecArgs = {fichero};
            zip_.AddFiles();
            hecho_ = hecho_ || zip_.ResultCount() > 0;
        }
    }

    void Progreso(TZipEngine& z, ProgressType tipo, const std::string& nombre) {
        if (tipo == ProgressType::ProgrFileStart) {
            enCurso_ = nombre;
            ++empezadas_;
            if (comprobacion_) {
                comprobacion_->Empieza(nombre);
            }
        }
        const ULONGLONG ahora = ::GetTickCount64();
        if (ahora - mostrado_ >= kShownEvery) {
            mostrado_ = ahora;
            // Of the whole archive where its entries are known, else of the file at work.
            const int fichero = tipo == ProgressType::ProgrFileStart ? 0 : z.FilePercent();
            const int hecho = entradas_ > 0
                                  ? static_cast<int>(std::min<long long>(
                                        100, ((empezadas_ - 1) * 100LL + fichero) / entradas_))
                                  : fichero;
            ventana_.Avanza(enCurso_, hecho);
        }
        if (tipo == ProgressType::ProgrBatchEnd || ahora - atendidos_ >= kMessagesEvery) {
            atendidos_ = ahora;
            ui::App().ProcessMessages();
        }
        // Asked for before the call began, or during it: the call stops at its next word.
        z.CancelRequested = cancelado_;
    }

    void Mensaje(std::int32_t codigo) {
        if (codigo == 0 || (codigo == kErrCancelled && cancelado_)) {
            return;
        }
        if (comprobacion_) {
            comprobacion_->Anota(codigo, idioma_);
            return;
        }
        fallos_.push_back({codigo, resources::ConcernsTheArchive(codigo) || enCurso_.empty()
                                       ? LeafOf(zip_.ZipFilename())
                                       : enCurso_});
    }

    const ShellRequest& request_;
    int idioma_;
    Ttarea ventana_;
    TZipEngine zip_;
    std::unique_ptr<Comprobacion> comprobacion_;
    std::vector<resources::Failure> fallos_;
    std::string enCurso_;
    ULONGLONG atendidos_ = 0;
    ULONGLONG mostrado_ = 0;
    int entradas_ = 0; // that the job reports one by one, where they are known
    int empezadas_ = 0;
    bool cancelado_ = false;
    bool hecho_ = false;
    bool noEsArchivo_ = false;
};

} // namespace

int InstalledLanguage() {
    // Read only: a job of the shell creates no keys. Without settings, Spanish, as the
    // installation's default settings have it.
    char carpeta[MAX_PATH] = {};
    DWORD tamanyo = sizeof carpeta;
    if (::RegGetValueA(HKEY_CLASSES_ROOT, "Tarvox\\dir", nullptr, RRF_RT_REG_SZ, nullptr, carpeta,
                       &tamanyo) != ERROR_SUCCESS) {
        return 1;
    }
    const std::string fichero = std::string(carpeta) + "\\conf.txm";
    try {
        util::TextLines confi;
        LoadTextFile(confi, fichero);
        return util::StrToInt(confi.Get(3));
    } catch (const std::exception&) {
        return 1; // settings the window would complain of at its next start
    }
}

int RunShellJob(const ShellRequest& request) {
    // Names typed at a prompt are taken from where it stood: the engine moves the
    // current directory as it works.
    ShellRequest completa = request;
    for (std::string& path : completa.paths) {
        char full[MAX_PATH] = {};
        const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
        if (length > 0 && length < MAX_PATH) {
            path = full;
        }
    }
    if (completa.job == ShellJob::Add) {
        completa.paths = GatherAddedPaths(completa.paths);
        if (completa.paths.empty()) {
            return 0; // another program of the same selection adds them
        }
    }
    int resultado = 1;
    const int idioma = InstalledLanguage();
    ui::Guarded([&] { resultado = ShellJobRun(completa, idioma).Run(); });
    return resultado;
}

void RegisterShellVerbs(int idioma) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length < MAX_PATH ? length : 0);
    struct Verb {
        const char* key;
        const resources::Bilingual* caption; // none: the shell's own word
        const char* argument;
        // Offered on a selection of up to 100 items, not 15: their programs gather them.
        bool anyNumber;
    };
    const Verb verbs[] = {
        // A double click opens the archive in the window.
        {"Tarvox\\shell\\open", nullptr, "", false},
        {"Tarvox\\shell\\extracthere", &resources::kVerbExtractHere, "/extracthere ", false},
        {"Tarvox\\shell\\extractto", &resources::kVerbExtractTo, "/extractto ", false},
        {"Tarvox\\shell\\test", &resources::kVerbTest, "/test ", false},
        {"*\\shell\\tarvoxadd", &resources::kVerbAdd, "/add ", true},
        {"Directory\\shell\\tarvoxadd", &resources::kVerbAdd, "/add ", true},
    };
    const auto write = [](const std::string& key, const std::string& name,
                          const std::string& value) {
        platform::RegistryKey opened(platform::RegistryRoot::ClassesRoot, key);
        if (opened.IsOpen() && opened.ReadString(name) != value) {
            opened.WriteString(name, value);
        }
    };
    try {
        write("Tarvox\\shell", "", "open");
        for (const Verb& verb : verbs) {
            if (verb.caption != nullptr) {
                write(verb.key, "", verb.caption->In(idioma));
            }
            if (verb.anyNumber) {
                write(verb.key, "MultiSelectModel", "Player");
            }
            write(std::string(verb.key) + "\\command", "",
                  "\"" + program + "\" " + verb.argument + "\"%1\"");
        }
    } catch (const std::exception&) {
    }
}
