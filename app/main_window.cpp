#include "app/main_window.h"

#include <windows.h>

#include <memory>

#include "app/app_texts.h"
#include "app/cache_commands.h"
#include "framework/application.h"
#include "framework/form.h"
#include "gdiplus_objects/plus_object.h"
#include "resources/embedded_pictures.h"
#include "resources/main_window_form.h"
#include "skin/skin_button.h"
#include "skin/skin_window.h"

namespace tavrel::app {

namespace {

// The three global objects live from before the window is loaded until the program ends.
std::unique_ptr<skin::SkinWindow> mainSkin;
std::unique_ptr<skin::SkinButton> clearButton;
std::unique_ptr<skin::SkinButton> exitButton;
// The token of the one GDI+ start-up; GDI+ stays started until the process ends.
ULONG_PTR gdiplusToken = 0;

constexpr ColorRef kBackgroundColor = 0xC06000;
constexpr int kButtonFontSize = 20;

skin::HandlerAddress AddressOf(void (*procedure)()) { return reinterpret_cast<skin::HandlerAddress>(procedure); }

skin::TextOptions TextAt(RectF layout, int size) {
  skin::TextOptions options;
  options.layout = layout;
  options.size = size;
  return options;
}

}  // namespace

void OnMainWindowCreated() {
  gdiplusToken = plus::StartGdiplus();
  HWND window = framework::StartupFormWindow();
  const resources::Bytes icon = resources::ProgramIcon();
  mainSkin->Attach(window, ByteBuffer(icon.begin(), icon.end()), 0, 0, kBackgroundColor);
  clearButton->Create(*mainSkin, {56, 96, 160, 48}, kClearButtonCaption, kButtonFontSize, AddressOf(OnClearClicked));
  exitButton->Create(*mainSkin, {264, 96, 160, 48}, kExitButtonCaption, kButtonFontSize, AddressOf(OnExitClicked));
  mainSkin->AddText(kWarningText, Gdiplus::FontStyleItalic, TextAt({72, 48, 360, 48}, 14));
  mainSkin->AddText(kMicroblogCaption, Gdiplus::FontStyleUnderline, TextAt({16, 176, 120, 38}, 13));
}

void OnProgramEnd() {
  mainSkin.reset();
  clearButton.reset();
  exitButton.reset();
}

void RefreshMainWindow() {
  if (mainSkin) mainSkin->Refresh();
}

}  // namespace tavrel::app

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tavrel;
  framework::Initialize();
  app::mainSkin = std::make_unique<skin::SkinWindow>();
  app::clearButton = std::make_unique<skin::SkinButton>();
  app::exitButton = std::make_unique<skin::SkinButton>();
  framework::RegisterTermination(app::OnProgramEnd);
  framework::LoadForm(resources::MainWindowForm({app::OnMainWindowCreated, app::OnClearClicked, app::OnExitClicked}));
  framework::RunMessageLoop();
  framework::RunTermination();
  return 0;
}
