#include "resources/Notices.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "engineapi/CallBlocks.h"

namespace resources {

namespace {

using Pair = std::pair<const char*, const char*>; // Spanish, English

// Indexed by the libraries' error codes.
constexpr std::array<Pair, kErrLast + 1> kReasons = {{
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
    {"archivo dividido en partes", "archive split into parts"},
    {"ya existe y no se ha sustituido", "already there and not replaced"},
    {"el archivo es de sólo lectura", "the archive is read-only"},
}};

// The first line of a box, for the failures of one code: what happened, to what follows.
constexpr std::array<Pair, kErrLast + 1> kCauses = {{
    {"Sin error:", "No error:"},
    {"La petición a la biblioteca no es válida:", "The request to the library is not valid:"},
    {"No se puede abrir el archivo (no existe o lo usa otro programa):",
     "The archive cannot be opened (missing, or in use by another program):"},
    {"El archivo está dañado o no es un zip:", "The archive is damaged or not a zip:"},
    {"No hay nada con estos nombres:", "Nothing has these names:"},
    {"No se pueden leer estos ficheros; no se han añadido:",
     "These files cannot be read; they were not added:"},
    {"No se puede escribir el archivo; no ha cambiado:",
     "The archive cannot be written; it is unchanged:"},
    {"Estas entradas saldrían de la carpeta de destino; no se han extraído:",
     "These entries would leave the destination folder; not extracted:"},
    {"Método de compresión o cifrado no admitido:", "Unsupported compression or encryption:"},
    {"Datos dañados (CRC o tamaño):", "Damaged data (CRC or size):"},
    {"No se ha dado la contraseña; estas entradas cifradas no se han extraído:",
     "No password was given; these encrypted entries were not extracted:"},
    {"No se pueden escribir estos ficheros:", "These files cannot be written:"},
    {"Cancelado:", "Cancelled:"},
    {"Añadidos, pero no se han podido borrar:", "Added, but they could not be deleted:"},
    {"Dos ficheros tendrían el mismo nombre; se ha guardado el primero:",
     "Two files would get the same name; the first was kept:"},
    {"Error interno:", "Internal error:"},
    {"Archivo dividido en partes (.z01, .z02...): únalas en uno solo con el programa que lo "
     "dividió.",
     "Archive split into parts (.z01, .z02...): join them into one with the program that "
     "split it."},
    {"Ya existen y no se han sustituido (marque \"Sobreescribir archivos\"):",
     "Already there and not replaced (tick \"Overwrite files\"):"},
    {"El archivo es de sólo lectura; no ha cambiado:",
     "The archive is read-only; it is unchanged:"},
}};

// The details of a box stand indented under their cause.
constexpr char kIndent[] = "   ";

std::string Choose(const Pair& pair, bool english) {
    return english ? pair.second : pair.first;
}

// The line indented, and broken where longer than the box allows: after a separator or
// blank when one lies in reach, else where the limit falls. Every piece is indented.
std::string Indented(const std::string& line) {
    constexpr std::size_t kWidth = kBoxLineChars - (sizeof kIndent - 1);
    std::string out;
    std::size_t start = 0;
    while (line.size() - start > kWidth) {
        const std::string_view window(line.data() + start, kWidth);
        const auto cut = window.find_last_of("\\/ ");
        const std::size_t length =
            cut != std::string_view::npos && cut > kWidth / 2 ? cut + 1 : kWidth;
        out.append(kIndent).append(line, start, length).append(1, '\n');
        start += length;
    }
    out.append(kIndent).append(line, start);
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
    case Notice::EmptyArchive:
        return Choose({"El archivo está vacío: no tiene entradas.",
                       "The archive is empty: it has no entries."},
                      english);
    case Notice::NoViewFolder:
        return Choose({"No se puede crear una carpeta para la copia que se ve, ni en la carpeta "
                       "temporal ni en la del sistema:",
                       "No folder for the copy to view can be made, in the temporary folder or "
                       "the system's:"},
                      english);
    case Notice::NothingFits:
        return Choose({"No se ha extraído nada: ninguna entrada cumple las opciones elegidas.",
                       "Nothing was extracted: no entry fits the options chosen."},
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

std::string CauseText(std::int32_t errorCode, bool english) {
    if (errorCode >= 0 && static_cast<std::size_t>(errorCode) < kCauses.size()) {
        return Choose(kCauses[static_cast<std::size_t>(errorCode)], english);
    }
    return "Error " + std::to_string(errorCode) + ":";
}

bool ConcernsTheArchive(std::int32_t errorCode) {
    return errorCode == kErrBadCall || errorCode == kErrArchiveOpen ||
           errorCode == kErrArchiveDamaged || errorCode == kErrArchiveWrite ||
           errorCode == kErrCancelled || errorCode == kErrInternal ||
           errorCode == kErrSplitArchive || errorCode == kErrArchiveReadOnly;
}

std::string BoxText(const std::string& cause, const std::vector<std::string>& details,
                    bool english) {
    // The cause is a text of the program's own, never a path: it stands as it is.
    std::string text = cause;
    for (std::size_t i = 0; i < details.size() && i < kFailuresListed; ++i) {
        text += '\n' + Indented(details[i]);
    }
    if (details.size() > kFailuresListed) {
        text += '\n' +
                Indented(NoticeText(Notice::AndMore, english,
                                    static_cast<std::int64_t>(details.size() - kFailuresListed)));
    }
    return text;
}

std::string FailureReport(const std::vector<Failure>& failures, bool english) {
    // One paragraph a cause, in the order the causes first came; each subject once.
    std::vector<std::int32_t> codes;
    for (const Failure& f : failures) {
        if (std::find(codes.begin(), codes.end(), f.code) == codes.end()) {
            codes.push_back(f.code);
        }
    }
    std::string text;
    for (const std::int32_t code : codes) {
        std::vector<std::string> subjects;
        for (const Failure& f : failures) {
            if (f.code == code && !f.subject.empty() &&
                std::find(subjects.begin(), subjects.end(), f.subject) == subjects.end()) {
                subjects.push_back(f.subject);
            }
        }
        text += (text.empty() ? "" : "\n\n") + BoxText(CauseText(code, english), subjects, english);
    }
    return text;
}

} // namespace resources
