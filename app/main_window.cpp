#include "app/main_window.h"

#include <windows.h>

#include "app/cache_commands.h"
#include "framework/application.h"
#include "framework/form.h"
#include "gdiplus_objects/plus_object.h"
#include "resources/main_window_form.h"

namespace tavrel::app {

namespace {

// The token of the one GDI+ start-up; GDI+ stays started until the process ends.
ULONG_PTR gdiplusToken = 0;

}  // namespace

void OnMainWindowCreated() {
  gdiplusToken = plus::StartGdiplus();
  [[maybe_unused]] HWND window = framework::StartupFormWindow();
}

void OnProgramEnd() {}

void RefreshMainWindow() {}

}  // namespace tavrel::app

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tavrel;
  framework::Initialize();
  framework::RegisterTermination(app::OnProgramEnd);
  framework::LoadForm(resources::MainWindowForm({app::OnMainWindowCreated, app::OnClearClicked, app::OnExitClicked}));
  framework::RunMessageLoop();
  framework::RunTermination();
  return 0;
}
