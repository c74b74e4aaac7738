// Real windows for the SkinWindow tests: a frameless top-level test window whose own procedure
// records what reaches it (the skin's "previous" procedure once a skin is attached), the same
// window with a skin laid over it, and the helpers that read pixels back from the skin's buffers
// and from the screen, pump messages and run other programs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_types.h"
#include "skin/skin_window.h"

namespace tavrel::test {

struct SeenMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A WS_POPUP window (no frame, no caption) of the given screen rectangle, not shown until Show.
// Its own procedure records every message after WM_NCCREATE and hands it to DefWindowProcA.
class RecordingWindow {
 public:
  explicit RecordingWindow(const RectI& bounds, const char* title = "Tavrel");
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;
  ~RecordingWindow();

  HWND Handle() const { return window; }
  // The class's procedure: what GWLP_WNDPROC holds while no skin is attached.
  static WNDPROC OwnProcedure();
  // Shows and paints the window, without taking the focus from anyone.
  void Show();
  // The window's rectangle on the screen.
  RectI ScreenRect() const;

  const std::vector<SeenMessage>& Seen() const { return seen; }
  int SeenCount(UINT message) const;
  // Whether a message with exactly these parameters reached the procedure.
  bool Saw(UINT message, WPARAM wParam, LPARAM lParam) const;
  void Forget() { seen.clear(); }
  // While held, WM_NCLBUTTONDOWN is recorded but not handed on, so that a press that would start
  // the system's window drag returns at once instead of waiting for a release.
  void HoldDrags(bool hold) { holdDrags = hold; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window = nullptr;
  std::vector<SeenMessage> seen;
  bool holdDrags = false;
};

// How a SkinnedWindow attaches its skin; the defaults are the program's, with the program icon.
struct SkinOptions {
  int showCaptionButtons = 0;
  int showMaximizeButton = 0;
  std::optional<ColorRef> background = 0xC06000;
  std::optional<ByteBuffer> image = std::nullopt;
  std::optional<ByteBuffer> icon = std::nullopt;  // none: the program icon
  bool show = true;
};

// A RecordingWindow with a SkinWindow attached before it is shown, as the program does. The real
// pointer is parked in the screen's bottom-right corner first, so that it does not wander over
// the window between the messages a test sends.
class SkinnedWindow {
 public:
  explicit SkinnedWindow(const RectI& bounds, const SkinOptions& options = {});
  SkinnedWindow(const SkinnedWindow&) = delete;
  SkinnedWindow& operator=(const SkinnedWindow&) = delete;
  // Detaches the skin, then destroys the window.
  ~SkinnedWindow();

  RecordingWindow& Window() { return window; }
  skin::SkinWindow& Skin() { return skin; }
  HWND Handle() const { return window.Handle(); }
  bool Attached() const { return attached; }
  // A mouse message at a client point, sent through the window's procedure (the skin's).
  LRESULT Send(UINT message, int x, int y);

 private:
  RecordingWindow window;
  skin::SkinWindow skin;
  bool attached = false;
};

// Pixels as 0x00RRGGBB, row after row from the top: GDI keeps no alpha on these surfaces.
struct PixelGrid {
  int width = 0;
  int height = 0;
  std::vector<Argb> pixels;

  Argb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // The pixels of a rectangle of the grid, row after row.
  std::vector<Argb> Area(const RectI& rect) const;
};

// The whole bitmap selected into a memory device context (the skin's back or front buffer), read
// with GetDIBits.
PixelGrid ReadBuffer(HDC memoryDc);
// A rectangle of what the screen shows, copied from the screen's device context.
PixelGrid ReadScreen(const RectI& screenRect);

int Red(Argb color);
int Green(Argb color);
int Blue(Argb color);
// The sum of the three channels.
int Brightness(Argb color);
// The largest difference in red, green or blue.
int ColorDistance(Argb a, Argb b);

// Handles what the window system has queued, then keeps pumping for the given time.
void Pump(int milliseconds = 0);

// Runs a Windows program with a command line, pumping this thread's messages until it ends; its
// exit code, or none when it could not be started or did not end in time (it is then ended).
std::optional<DWORD> RunPumping(const std::string& commandLine, int timeoutMilliseconds = 20000);
// Runs a shell command line of the host (Linux) with /bin/sh, pumping this thread's messages
// until it ends; its exit status, or none when it did not end in time. Wine starts host programs
// given by their Z: path but hands back no process to wait for, so the command reports its end
// through a file. The command holds no double quotes.
std::optional<int> RunHostPumping(const std::string& shellCommand, int timeoutMilliseconds = 20000);
// Saves what the whole display shows as /tmp/skinwin_<name>.png, for a person to look at; false
// when ImageMagick's import failed.
bool SaveScreenshot(const std::string& name);
// This test program's own path, for running it again as a child.
std::string OwnExecutable();

// An undecodable picture: bytes that no GDI+ decoder recognises.
ByteBuffer GarbageBytes();
// A 24-bit BMP file of the pixels (0x00RRGGBB, row after row from the top), as a test picture.
ByteBuffer BmpFile(int width, int height, const std::vector<Argb>& pixels);

}  // namespace tavrel::test
