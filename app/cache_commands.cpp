#include "app/cache_commands.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "app/app_texts.h"
#include "app/main_window.h"
#include "framework/application.h"
#include "framework/file_system.h"
#include "framework/form.h"

namespace tavrel::app {

std::wstring CacheDirectory() {
  PWSTR roaming = nullptr;
  std::wstring directory;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) directory = roaming;
  CoTaskMemFree(roaming);
  // Without a profile folder there is nothing of the game's to delete: an empty path is refused.
  if (directory.empty()) return directory;
  return directory + L"\\2K Sports\\NBA 2K13\\Cache";
}

void OnClearClicked() {
  const framework::DeleteReport report = framework::DeleteDirectoryTree(CacheDirectory());
  // Success only when the directory is really gone: a game that holds its files keeps some.
  framework::ShowMessageBox(report.gone ? kClearedMessage : kIncompleteMessage, 0, kMessageTitle);
  RefreshMainWindow();
}

void OnExitClicked() {
  framework::CreateOneDirectory(CacheDirectory());
  framework::DestroyFormWindow(framework::StartupFormWindow());
  RefreshMainWindow();
}

}  // namespace tavrel::app
