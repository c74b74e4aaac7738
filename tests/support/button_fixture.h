// A real skinned window for the push-button tests: a WS_POPUP window laid out like the program's
// (480 x 233 at (50, 50)) with a SkinWindow attached, shown and painted, and the helpers that read
// its buffers and its picture on the screen back pixel by pixel.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "gdiplus_objects/plus_types.h"
#include "skin/skin_window.h"

namespace tavrel::test {

class SkinnedPopup {
 public:
  // The skin has no caption buttons, so no message in the tests can reach the close button.
  explicit SkinnedPopup(RectI bounds = {50, 50, 480, 233}, ColorRef background = 0xC06000);
  SkinnedPopup(const SkinnedPopup&) = delete;
  SkinnedPopup& operator=(const SkinnedPopup&) = delete;
  // Detaches the skin, then destroys the window.
  ~SkinnedPopup();

  HWND Window() const { return window; }
  skin::SkinWindow& Skin() { return skin; }
  int Width() const { return bounds.width; }
  int Height() const { return bounds.height; }
  // A mouse message at the client point, sent through the window's procedure (the skin's).
  LRESULT Send(UINT message, int x, int y) const;
  // Handles what the window system queued (painting after showing).
  static void Pump();

 private:
  RectI bounds;
  HWND window = nullptr;
  skin::SkinWindow skin;
};

// A memory device context with a bitmap made like the skin's buffers (compatible with the window's
// device context), so that GDI+ draws into it exactly as into the skin's front buffer.
class CompatibleBuffer {
 public:
  CompatibleBuffer(HWND window, int width, int height);
  CompatibleBuffer(const CompatibleBuffer&) = delete;
  CompatibleBuffer& operator=(const CompatibleBuffer&) = delete;
  ~CompatibleBuffer();

  HDC Dc() const { return dc; }
  // Copies (0, 0, width, height) of source into the buffer.
  void CopyFrom(HDC source);

 private:
  int width;
  int height;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};

// The pixels of a rectangle of a device context, row after row, as 0x00RRGGBB: GDI keeps no alpha
// on these surfaces, so the top byte means nothing and is cleared.
std::vector<Argb> ReadPixels(HDC dc, const RectI& rect);
// The same from the window's own device context: what the window shows on the screen.
std::vector<Argb> ReadWindowPixels(HWND window, const RectI& rect);

// What the window shows in one rectangle, sampled by a second thread every few milliseconds while
// the GUI thread is busy inside one message (a fade blocks it): each picture seen, once.
class ScreenRecorder {
 public:
  ScreenRecorder(HWND window, const RectI& rect);
  ScreenRecorder(const ScreenRecorder&) = delete;
  ScreenRecorder& operator=(const ScreenRecorder&) = delete;
  ~ScreenRecorder();

  // Stops sampling; the pictures in the order seen, the one on the screen at the start first.
  std::vector<std::vector<Argb>> Stop();

 private:
  HWND window;
  RectI rect;
  std::atomic<bool> stopping{false};
  std::vector<std::vector<Argb>> pictures;
  std::thread sampler;
};

}  // namespace tavrel::test
