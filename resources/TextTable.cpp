#include "resources/TextTable.h"

namespace resources {

// The order is the interface: other code addresses the entries by index, and entries
// 42 to 51 are kept unused so that the later ones keep their places.
const std::array<const char*, kTextCount> kTextTable = {
    "&New",                                                               // 0
    "O&pen",                                                              // 1
    "&Close",                                                             // 2
    "&View",                                                              // 3
    "      &Add         ",                                                // 4
    "&Delete",                                                            // 5
    "&Extract",                                                           // 6
    "E&xit",                                                              // 7
    "Name",                                                               // 8
    "Date",                                                               // 9
    "Size",                                                               // 10
    "Time",                                                               // 11
    "Ratio",                                                              // 12
    "&File",                                                              // 13
    "&Options",                                                           // 14
    "&Tools",                                                             // 15
    "&Help",                                                              // 16
    "New",                                                                // 17
    "Open ",                                                              // 18
    "Close",                                                              // 19
    "Exit",                                                               // 20
    "Configuration",                                                      // 21
    "Notepad",                                                            // 22
    "Explorer",                                                           // 23
    "Calculator",                                                         // 24
    "Ms-Dos",                                                             // 25
    "Index",                                                              // 26
    "About...",                                                           // 27
    "Actions",                                                            // 28
    "Compression Level",                                                  // 29
    "Windows Tools",                                                      // 30
    "More Speed,Less Compression",                                        // 31
    "Less Speed,More Compression",                                        // 32
    "Delete Files",                                                       // 33
    "All",                                                                // 34
    "Only selected",                                                      // 35
    "Delete ",                                                            // 36
    "Cancel",                                                             // 37
    "Folders",                                                            // 38
    "StartUp Folder",                                                     // 39
    "Temporal Folder",                                                    // 40
    "Cancel",                                                             // 41
    "Make Folder",                                                        // 42
    "Extract to...",                                                      // 43
    "Extract",                                                            // 44
    "New Folder...",                                                      // 45
    "Extract...",                                                         // 46
    "Options",                                                            // 47
    "Restore folders",                                                    // 48
    "Overwrite files",                                                    // 49
    "Extract only not newer",                                             // 50
    "Extract only newer",                                                 // 51
    "No se puede realizar la operación.Comprueba que no es Sólo Lectura", // 52
    "Action not allowed.Check if its Read-Only.",                         // 53
    "Este fichero no tiene asociación;se abrirá con el Notepad.",         // 54
    "This file hasn´t association;it will be opened with Notepad.",       // 55
    "  Listo",                                                            // 56
    "  Ready",                                                            // 57
    "  Ocupado",                                                          // 58
    "  Busy",                                                             // 59
    "Extract to...",                                                      // 60
    "Extract",                                                            // 61
    "New Folder...",                                                      // 62
    "Options",                                                            // 63
    "Restore folders",                                                    // 64
    "Overwrite files",                                                    // 65
    "Extract only not newer",                                             // 66
    "Extract only newer",                                                 // 67
    "Extract...",                                                         // 68
    "All",                                                                // 69
    "Only Selected",                                                      // 70
};

} // namespace resources
