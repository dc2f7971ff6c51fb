#pragma once
// One job the shell's verbs ask for (extract here, extract to a folder, test, add to an
// archive), done in a small progress window without the main window.

#include <string>

#include "main/ShellVerbs.h"

// Does the job to its end, with what went wrong in one box; the program's exit code:
// 0 when it was done, 1 when it failed or was cancelled.
int RunShellJob(const ShellRequest& request);

// The language the settings of the installed program name: 1 Spanish, else English.
int InstalledLanguage();

// The verbs under the file type "Tarvox" (open, the default; extract here, extract to a
// folder, test) and under files and folders (add to an archive), with the captions of
// the language given and commands that run this program. Keys and values already right are
// left alone; a registry that refuses is passed over (the association check reports it).
void RegisterShellVerbs(int idioma);
