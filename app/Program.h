#pragma once
// The program entry's work: the application set up, every window created once in its
// order, the message loop. The window tests go through the same functions.

namespace app {

// The application's title "Tarvox" and help file, and the common controls.
void InitializeApplication();

// Creates the windows in their order: splash (the main form, visible at once), main
// window (hidden), extract, delete and folders dialogs, the data module, the
// configuration dialog, the credits, working and auxiliary windows.
void CreateForms();

// Destroys them again, newest first, leaving the shared state as a fresh process has
// it; for tests that start the program more than once.
void DestroyForms();

// The message loop. The splash is never closed, so it ends only with the process.
int Run();

} // namespace app
