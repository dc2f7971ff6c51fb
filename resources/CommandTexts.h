#pragma once
// Texts of the commands that came after the text table, which keeps its 71 entries in
// their places: each in Spanish and English. Windows-1252 bytes.

namespace resources {

struct Bilingual {
    const char* es;
    const char* en;
    // The text of the language flag: 1 Spanish, any other value English.
    const char* In(int idioma) const { return idioma == 1 ? es : en; }
};

inline constexpr Bilingual kTestArchive{"Comprobar archivo", "Test archive"};
inline constexpr Bilingual kTestEntryColumn{"Entrada", "Entry"};
inline constexpr Bilingual kTestProblemColumn{"Problema", "Problem"};
inline constexpr Bilingual kClose{"Cerrar", "Close"};
// printf formats: the number of entries; the damaged ones and all.
inline constexpr Bilingual kAllCorrect{"Las %d entradas son correctas.",
                                       "All %d entries are correct."};
inline constexpr Bilingual kOneCorrect{"La única entrada es correcta.",
                                       "The one entry is correct."};
inline constexpr Bilingual kDamaged{"%d de %d entradas están dañadas.",
                                    "%d of %d entries are damaged."};
// The archive itself could not be read.
inline constexpr Bilingual kArchiveProblem{"(archivo)", "(archive)"};

// The list rows' shortcut menu.
inline constexpr Bilingual kRowView{"&Ver", "&View"};
inline constexpr Bilingual kRowExtract{"E&xtraer...", "E&xtract..."};
inline constexpr Bilingual kRowDelete{"&Borrar...", "&Delete..."};
inline constexpr Bilingual kRowTest{"&Comprobar archivo", "&Test archive"};

// printf formats: what an extraction or a delete handled (the first panel), and how
// far a cancelled operation got (the second panel).
inline constexpr Bilingual kExtractedCount{"Extraídas: %d", "Extracted: %d"};
inline constexpr Bilingual kDeletedCount{"Borradas: %d", "Deleted: %d"};
inline constexpr Bilingual kCancelledDone{"Cancelado: %d entradas hechas",
                                          "Cancelled: %d entries done"};
inline constexpr Bilingual kCancelledUnchanged{"Cancelado: archivo sin cambios",
                                               "Cancelled: archive unchanged"};
// The files and folders a stopped add took in before the one at work, of all asked for.
inline constexpr Bilingual kCancelledAdded{"Cancelado: %d de %d añadidos",
                                           "Cancelled: %d of %d added"};

// The Explorer verbs, as the shell's menus show them.
inline constexpr Bilingual kVerbExtractHere{"Extraer aquí", "Extract here"};
inline constexpr Bilingual kVerbExtractTo{"Extraer en carpeta", "Extract to folder"};
inline constexpr Bilingual kVerbTest{"Comprobar", "Test"};
inline constexpr Bilingual kVerbAdd{"Añadir a archivo zip", "Add to zip archive"};
// The progress window of a verb: what it does, to which archive (a printf format).
inline constexpr Bilingual kExtracting{"Extrayendo %s", "Extracting %s"};
inline constexpr Bilingual kAddingTo{"Añadiendo a %s", "Adding to %s"};
inline constexpr Bilingual kTesting{"Comprobando %s", "Testing %s"};
inline constexpr Bilingual kCancelJob{"Cancelar", "Cancel"};
// No folder name was free beside the archive.
inline constexpr Bilingual kNoFreeFolder{"No hay un nombre de carpeta libre junto al archivo.",
                                         "No folder name is free beside the archive."};

} // namespace resources
