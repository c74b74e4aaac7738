// SkinButton: a windowless push button on the surface of a SkinWindow. It registers its
// rectangle, one mouse handler and one paint handler with the skin (the same stub for both),
// cross-fades between the tiles of the button strip under the mouse and calls its click handler.
#pragma once

#include <optional>
#include <string>

#include "skin/skin_window.h"

namespace tavrel::skin {

constexpr int ButtonStateNormal = 1;
constexpr int ButtonStateHover = 2;
constexpr int ButtonStatePressed = 3;

// Whether a font family of that name is installed.
bool FontFamilyExists(const std::string& name);

class SkinButton {
 public:
  // Builds the handler stub; not created.
  SkinButton();
  SkinButton(const SkinButton&) = delete;
  SkinButton& operator=(const SkinButton&) = delete;
  // Releases the surfaces; does not unregister from the skin (Remove does).
  ~SkinButton();

  // A mouse message or paint notification from the skin: 1 when taken, 0 when the mouse was
  // outside the button, so that the skin asks the next control.
  int HandleSkinMessage(int message, int x, int y);
  // Tile 1 to 4 of the strip over the button's rectangle at an opacity in percent, and the caption.
  void DrawState(plus::PlusGraphics& graphics, int tile, int opacity);
  // False when already created. onClick is the code address of a procedure without arguments.
  bool Create(SkinWindow& skin, const RectI& rect, const std::string& caption, int fontSize, HandlerAddress onClick);
  // False when not created.
  bool Remove(SkinWindow& skin);

  // Five frames from tile a to tile b, each at least `period` milliseconds, straight to the screen.
  void FadeTiles(int a, int b, double period);
  int GetState() const { return state; }
  // The frame periods of the fades in milliseconds: 45 moving in and pressing, 60 leaving.
  // Only stress tests change them, to run thousands of fades in seconds.
  void SetFadePeriods(double enterPeriod, double leavePeriod) {
    fadePeriod = enterPeriod;
    leaveFadePeriod = leavePeriod;
  }

 private:
  HWND window;
  int rectIndex = 0;
  int mouseHandlerIndex = 0;
  int paintHandlerIndex = 0;
  HDC backDC = nullptr;
  HDC frontDC = nullptr;
  int state = ButtonStateNormal;
  HandlerAddress onClick = 0;
  int fontSize = 0;
  MethodThunk stub;
  plus::PlusGraphics backGraphics;
  plus::PlusGraphics frontGraphics;
  plus::PlusGraphics windowGraphics;
  RectI rect;
  std::optional<std::string> caption;
  double fadePeriod = 45;
  double leaveFadePeriod = 60;
};

}  // namespace tavrel::skin
