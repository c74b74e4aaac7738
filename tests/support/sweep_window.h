// The program's main window for the reliability sweeps: a WS_POPUP window laid out as Tavrel's (480 x 233 at
// (50, 50), titled Tavrel) with a SkinWindow attached before it is shown, the clear and exit buttons at their
// rectangles and the two texts. The window's own procedure, the skin's "previous" one, records every mouse message
// that reaches it and swallows WM_NCLBUTTONDOWN, so that a press on a free spot is counted instead of starting the
// window system's drag loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gdiplus_objects/plus_types.h"
#include "skin/skin_button.h"
#include "skin/skin_window.h"

namespace tavrel::test {

// The program's button rectangles and caption size.
inline constexpr RectI kSweepClearRect{56, 96, 160, 48};
inline constexpr RectI kSweepExitRect{264, 96, 160, 48};
inline constexpr int kSweepButtonFontSize = 20;

struct SweepOptions {
  int showCaptionButtons = 0;  // the program shows none
  int showMaximizeButton = 0;
  // Registered with the skin before the buttons, so asked after them; 0: none.
  skin::HandlerAddress firstMouseHandler = 0;
  skin::HandlerAddress onClear = 0;  // 0: a handler that does nothing
  skin::HandlerAddress onExit = 0;
};

class SweepWindow {
 public:
  // Every picture the skin uses is read here or later, so overrides made before construction are in force.
  explicit SweepWindow(const SweepOptions& options = {});
  SweepWindow(const SweepWindow&) = delete;
  SweepWindow& operator=(const SweepWindow&) = delete;
  // Removes the buttons, detaches the skin and destroys the window.
  ~SweepWindow();

  HWND Handle() const { return window; }
  skin::SkinWindow& Skin() { return *skinWindow; }
  skin::SkinButton& ClearButton() { return clearButton; }
  skin::SkinButton& ExitButton() { return exitButton; }

  // A message straight through the window's procedure (the skin's stub), as the window system delivers it.
  LRESULT Send(UINT message, LPARAM lParam) const { return SendMessageA(window, message, 0, lParam); }
  // The mouse messages that reached the window's own procedure, in order.
  const std::vector<MSG>& MouseMessagesSeen() const { return mouseSeen; }
  // How often the skin asked for the window system's drag (WM_NCLBUTTONDOWN with HTCAPTION).
  int DragRequests() const { return dragRequests; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window = nullptr;
  std::vector<MSG> mouseSeen;
  int dragRequests = 0;
  std::unique_ptr<skin::SkinWindow> skinWindow;
  skin::SkinButton clearButton;
  skin::SkinButton exitButton;
};

// The pixels of a rectangle of a device context as 0x00RRGGBB, row after row.
std::vector<std::uint32_t> ReadArea(HDC dc, const RectI& area);

// Handles what the window system has queued for this thread.
void PumpMessages();

}  // namespace tavrel::test
