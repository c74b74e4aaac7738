// The tool's two commands: clear the game's cache directory, and re-create it and close.
#pragma once

#include <string>

namespace tavrel::app {

// The roaming application data of the current user, then 2K Sports\NBA 2K13\Cache.
std::wstring CacheDirectory();

// Deletes the cache directory with everything in it and says whether that worked.
void OnClearClicked();
// Creates the cache directory again, empty, and closes the main window.
void OnExitClicked();

}  // namespace tavrel::app
