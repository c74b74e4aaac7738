// Forms: windows and their controls described as compiled-in data with exact pixel positions,
// created by LoadForm, which raises the form's created event.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_types.h"

namespace tavrel::framework {

using EventHandler = void (*)();

struct FontDescription {
  std::string face;
  int characterHeight = 0;  // pixels, without the internal leading
  bool italic = false;
  BYTE charset = DEFAULT_CHARSET;
};

enum class ControlKind { PushButton, HyperlinkBox };

struct ControlDescription {
  ControlKind kind = ControlKind::PushButton;
  std::string name;
  RectI rect;  // in the window's client pixels
  bool visible = true;
  bool tabStop = false;
  std::string text;  // a push button's caption; the address a hyperlink box shows
  std::optional<FontDescription> font;
  std::string openedAddress;  // what a hyperlink box opens when clicked
  EventHandler clicked = nullptr;
};

struct FormDescription {
  std::string caption;
  RectI rect;  // on the screen
  bool visible = true;
  LPCSTR icon = nullptr;    // icon resource of the module
  LPCSTR cursor = nullptr;  // cursor resource of the module, used by the window and every control
  EventHandler created = nullptr;
  std::vector<ControlDescription> controls;
};

// Creates the window and its controls, raises created, then shows the window. Returns the window,
// or null when it could not be created (reported to the user with a message box).
HWND LoadForm(const FormDescription& description);
// The window of the form loaded first (the start-up window); null before it is loaded.
HWND StartupFormWindow();
// A control of a loaded form by its name; null when there is none.
HWND FormControl(HWND window, const std::string& name);
// Queues the window's destruction on its own message queue and returns at once.
void DestroyFormWindow(HWND window);
// How many form windows exist; the message loop ends when none is left.
int OpenFormWindowCount();

}  // namespace tavrel::framework
