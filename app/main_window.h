// The program's entry, its global objects, the main window's created handler and its end.
#pragma once

namespace tavrel::app {

// Lays the skin over the main window and puts the buttons and texts on it.
void OnMainWindowCreated();
// Destroys the global objects, once, when the program ends.
void OnProgramEnd();
// Renders the main window's skin again and copies it to the window.
void RefreshMainWindow();

}  // namespace tavrel::app
