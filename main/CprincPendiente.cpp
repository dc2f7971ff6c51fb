// Handlers bound now whose work comes later; each says which work fills it.

#include "main/Cprinc.h"

// Filled by the current-archive work: asking for a new archive's name.
void TPRINCIPAL::BnuevoClick() {}

// Filled by the current-archive work: asking for a new archive's name.
void TPRINCIPAL::MnuevoClick() {}

// Filled by the current-archive work: the open dialog, then opening the archive.
void TPRINCIPAL::BabrirClick() {}

// Filled by the current-archive work: the open dialog, then opening the archive.
void TPRINCIPAL::MabrirClick() {}

// Filled by the current-archive work: closing the archive.
void TPRINCIPAL::BcerrarClick() {}

// Filled by the current-archive work: closing the archive.
void TPRINCIPAL::McerrarClick() {}

// Filled by the viewing work: viewing the first selected entry.
void TPRINCIPAL::BverClick() {}

// Filled by the adding work: choosing files and adding them one by one.
void TPRINCIPAL::BanyadirClick() {}

// Filled by the delete work: showing the delete dialog.
void TPRINCIPAL::BborrarClick() {}

// Filled by the extraction work: showing the extract dialog.
void TPRINCIPAL::BextraerClick() {}

// Filled by the configuration work: showing the configuration dialog.
void TPRINCIPAL::MconfiguracionClick() {}

// Filled by the recent-archives work: reopening the item's archive.
void TPRINCIPAL::ult1Click() {}

// Filled by the recent-archives work: reopening the item's archive.
void TPRINCIPAL::ult2Click() {}

// Filled by the recent-archives work: reopening the item's archive.
void TPRINCIPAL::ult3Click() {}

// Filled by the recent-archives work: reopening the item's archive.
void TPRINCIPAL::ult4Click() {}

// Filled by the current-archive work: delete and view follow the selection.
void TPRINCIPAL::listaClick() {}

// Filled by the current-archive work: view and extract follow the selection.
void TPRINCIPAL::listaSelectItem(int, bool) {}

// Filled by the viewing work: viewing the first selected entry.
void TPRINCIPAL::listaDblClick() {}

// Filled by the current-archive work: making an existing archive current.
void TPRINCIPAL::Abrir_Archivo(const std::string&) {}

// Filled by the current-archive work: refilling the list and the status bars.
void TPRINCIPAL::zipDirUpdate(TZipEngine&) {}

// Filled by the progress work: the busy and ready status while the engine runs.
void TPRINCIPAL::zipProgress(TZipEngine&, ProgressType, const std::string&, std::int32_t) {}

// Filled by the progress work: the message for a refused operation.
void TPRINCIPAL::zipMessage(TZipEngine&, std::int32_t, const std::string&) {}
