#include "resources/Notices.h"

#include <array>
#include <string_view>
#include <utility>

#include "engineapi/CallBlocks.h"

namespace resources {

namespace {

using Pair = std::pair<const char*, const char*>; // Spanish, English

// Indexed by the libraries' error codes.
constexpr std::array<Pair, kErrInternal + 1> kReasons = {{
    {"sin error", "no error"},
    {"petición no válida", "invalid request"},
    {"no se puede abrir el archivo (no existe o lo usa otro programa)",
     "the archive cannot be opened (missing, or in use by another program)"},
    {"el archivo está dañado o no es un zip", "the archive is damaged or not a zip"},
    {"no hay nada con ese nombre", "nothing of that name"},
    {"no se puede leer el fichero", "the file cannot be read"},
    {"no se puede escribir el archivo (sólo lectura, disco lleno o sin permiso)",
     "the archive cannot be written (read-only, disk full or no access)"},
    {"el nombre saldría de la carpeta de destino", "the name would leave the destination folder"},
    {"método de compresión o cifrado no admitido", "unsupported compression or encryption"},
    {"datos dañados (CRC o tamaño)", "damaged data (CRC or size)"},
    {"falta la contraseña o no es la correcta", "the password is missing or wrong"},
    {"no se puede escribir el fichero (sólo lectura, en uso o disco lleno)",
     "the file cannot be written (read-only, in use or disk full)"},
    {"cancelado", "cancelled"},
    {"no se pudo borrar el fichero movido", "the moved file could not be deleted"},
    {"dos ficheros tendrían el mismo nombre", "two files would get the same name"},
    {"error interno", "internal error"},
}};

std::string Choose(const Pair& pair, bool english) {
    return english ? pair.second : pair.first;
}

// Breaks a line longer than the box allows, after a separator or blank when one lies
// in reach, else where the limit falls.
std::string Wrapped(const std::string& line) {
    std::string out;
    std::size_t start = 0;
    while (line.size() - start > kBoxLineChars) {
        const std::string_view window(line.data() + start, kBoxLineChars);
        const auto cut = window.find_last_of("\\/ ");
        const std::size_t length =
            cut != std::string_view::npos && cut > kBoxLineChars / 2 ? cut + 1 : kBoxLineChars;
        out.append(line, start, length);
        out += '\n';
        start += length;
    }
    out.append(line, start);
    return out;
}

} // namespace

std::string NoticeText(Notice notice, bool english, std::int64_t count) {
    const std::string n = std::to_string(count);
    switch (notice) {
    case Notice::ConfirmDeleteAll:
        return english ? "Delete all " + n + " entries of the archive?"
                       : "¿Borrar las " + n + " entradas del archivo?";
    case Notice::NothingSelected:
        return Choose({"No hay ninguna entrada seleccionada.", "No entry is selected."}, english);
    case Notice::AndMore:
        return english ? "and " + n + " more" : "y " + n + " más";
    case Notice::NoFolderHere:
        return Choose({"Aquí no se puede crear una carpeta: elija una carpeta de un disco.",
                       "A folder cannot be made here: choose a folder on a disk."},
                      english);
    case Notice::NoDestination:
        return Choose({"Elija en el árbol o escriba arriba la carpeta donde descomprimir.",
                       "Choose in the tree or type above the folder to extract into."},
                      english);
    case Notice::NotAWholePath:
        return Choose({"Escriba la carpeta entera, con su unidad (como C:\\destino):",
                       "Type the whole folder, with its drive (as C:\\destination):"},
                      english);
    case Notice::NoSuchDrive:
        return Choose({"La unidad de esta carpeta no está (¿se ha quitado?):",
                       "The drive of this folder is not there (was it removed?):"},
                      english);
    }
    return {};
}

std::string ReasonText(std::int32_t errorCode, bool english) {
    if (errorCode >= 0 && static_cast<std::size_t>(errorCode) < kReasons.size()) {
        return Choose(kReasons[static_cast<std::size_t>(errorCode)], english);
    }
    return "error " + std::to_string(errorCode);
}

bool ConcernsTheArchive(std::int32_t errorCode) {
    return errorCode == kErrBadCall || errorCode == kErrArchiveOpen ||
           errorCode == kErrArchiveDamaged || errorCode == kErrArchiveWrite ||
           errorCode == kErrCancelled || errorCode == kErrInternal;
}

std::string FailureReport(const std::string& header, const std::vector<Failure>& failures,
                          bool english) {
    // The header is a text of the program's own, never a path: it stands as it is.
    std::string text = header;
    for (std::size_t i = 0; i < failures.size() && i < kFailuresListed; ++i) {
        const Failure& f = failures[i];
        const std::string reason = ReasonText(f.code, english);
        text += '\n' + Wrapped(f.subject.empty() ? reason : f.subject + ": " + reason);
    }
    if (failures.size() > kFailuresListed) {
        text += '\n' + NoticeText(Notice::AndMore, english,
                                  static_cast<std::int64_t>(failures.size() - kFailuresListed));
    }
    return text;
}

} // namespace resources
