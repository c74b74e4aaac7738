// SkinWindow: a custom-drawn surface bound to one existing top-level window. It subclasses the
// window through a method stub, removes its frame, rounds its corners and paints it entirely from
// two off-screen buffers: the back buffer (background, title, icon, frame, texts) and the front
// buffer (the back buffer plus caption buttons and the controls registered with the skin).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gdiplus_objects/plus_graphics.h"
#include "skin/method_thunk.h"

namespace tavrel::skin {

constexpr int CaptionButtonClose = 1;
constexpr int CaptionButtonMaximize = 2;
constexpr int CaptionButtonMinimize = 3;

constexpr int CaptionStateNormal = 1;
constexpr int CaptionStateHover = 2;
constexpr int CaptionStatePressed = 3;

// Sent to every paint handler: the back buffer has just been repainted.
constexpr int PaintNotifyBackground = 123;
// Sent to every paint handler: the front buffer has just been composed; controls draw now.
constexpr int PaintNotifyFront = 124;

// The window of a skin that is not attached, or of a control that is not created.
inline HWND NoWindow() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(-1)); }

// A registered handler's code address; a removed entry holds -1.
using HandlerAddress = std::intptr_t;
constexpr HandlerAddress kRemovedHandler = -1;
inline const void* AsCode(HandlerAddress handler) { return reinterpret_cast<const void*>(handler); }
inline HandlerAddress AsHandler(const void* code) { return reinterpret_cast<HandlerAddress>(code); }

// The skin's hit test: right edge exclusive, bottom edge inclusive.
bool PointInRect(const RectI& rect, int px, int py);

// The GDI+ colour of a ColorRef with an alpha (opaque when not given).
Argb ToArgb(ColorRef color, std::optional<int> alpha = std::nullopt);
// The ColorRef of an Argb colour, and its alpha apart.
std::pair<ColorRef, int> FromArgb(Argb color);

// The identity colour matrix with the alpha scaled to `opacity` percent.
plus::ColorMatrix OpacityMatrix(int opacity);

// The optional arguments of a text: each one not given takes its default.
struct TextOptions {
  std::optional<RectF> layout;  // default: measured at (10, 10)
  std::optional<Argb> color;    // default 0xB4000000
  std::optional<int> size;      // default 12
  std::optional<std::string> fontFace;  // default "微软雅黑"
  std::optional<Argb> glowColor;        // default 0xB4FFFFFF
  std::optional<float> glowWidth;       // default 2.0
  std::optional<int> blurFactor;        // default 3
};

// One text of the surface, drawn on every full redraw.
struct TextItem {
  int style = 0;  // GDI+ font style bits
  std::string text;
  RectF layout;
  Argb color = 0;
  int size = 0;
  std::string fontFace;
  Argb glowColor = 0;
  float glowWidth = 0;
  int blurFactor = 0;
};

// The options with every default applied; the layout last, measured with the other values.
TextOptions WithTextDefaults(const std::string& text, TextOptions options);

// The size text takes in the face at em size `size`, regular style, placed at (x, y).
RectF MeasureTextRect(int x, int y, int size, const std::string& fontFace, const std::string& text);

// Draws one text with its blurred halo. When the face does not exist, "宋体" is used and written
// back into options.fontFace.
void DrawGlowText(plus::PlusGraphics& graphics, int style, const std::string& text, TextOptions& options);

// Width and height of a GDI bitmap.
std::pair<int, int> GetBitmapSize(HBITMAP bitmap);
void PaintColorBackground(plus::PlusGraphics& graphics, int width, int height, ColorRef color);
void PaintImageBackground(plus::PlusGraphics& graphics, const ByteBuffer& image);

class SkinWindow {
 public:
  // Builds the window-procedure stub and loads the caption pictures; not attached.
  SkinWindow();
  SkinWindow(const SkinWindow&) = delete;
  SkinWindow& operator=(const SkinWindow&) = delete;
  // Detaches first.
  ~SkinWindow();

  // The skinned window's procedure, reached through the stub.
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // False when already attached.
  bool Attach(HWND window, const ByteBuffer& icon, int showCaptionButtons, int showMaximizeButton,
              std::optional<ColorRef> backgroundColor = std::nullopt,
              std::optional<ByteBuffer> backgroundImage = std::nullopt);
  void Detach();
  std::string GetLastErrorText() const;
  void LoadCaptionImages();
  void LayoutCaptionButtons();
  // (0, 0, width, height) of the window.
  RectI FetchWindowRect();
  // The window text, at most 100 characters.
  std::string GetTitle();
  HDC GetBackDC() const { return backDC; }
  HDC GetFrontDC() const { return frontDC; }
  HWND GetWindowHandle() const { return window; }

  // The add operations return the 1-based index of the new entry; indexes stay valid for the
  // skin's life. The remove operations are false when the index is above the length.
  int AddControlRect(const RectI& rect);
  bool RemoveControlRect(int index);
  // A copy of every control rectangle, also stored into the caller's list.
  std::vector<RectI> GetControlRects(std::vector<RectI>& list) const;
  int AddMouseHandler(HandlerAddress handler);
  bool RemoveMouseHandler(int index);
  int AddPaintHandler(HandlerAddress handler);
  bool RemovePaintHandler(int index);

  // An encoded picture as background (none: no picture); renders and presents.
  void SetBackgroundImage(std::optional<ByteBuffer> image);
  // Renders and presents with the colour; a background picture stays stored.
  void SetBackgroundColor(ColorRef color);
  // True when the window system took the text; refreshes in any case.
  bool SetTitle(const std::string& text);
  // The new number of texts, the 1-based index of the new one. Nothing is drawn yet.
  int AddText(const std::string& text, int style, TextOptions options = {});
  // False when the index is above the number of texts.
  bool SetText(int index, const std::string& text);
  // Render, then copy the front buffer to the window.
  void Refresh();
  void ApplyRoundedRegion();

  // Repaints the back buffer from scratch, then composes.
  void Render();
  // Builds the front buffer: the back buffer, the caption buttons, the controls.
  void Compose();
  // One caption button picture at an opacity in percent, over what dc holds.
  void DrawCaptionButton(HDC dc, int button, int state, int opacity);

  void OnMouseMove(int x, int y);
  void OnLeftButtonDown(int x, int y);
  void OnLeftButtonUp(int x, int y);

  // Read-only views for callers and tests.
  const std::vector<TextItem>& TextItems() const { return textItems; }
  const RectI& CaptionButtonRect(int button) const { return captionButtonRects.at(Slot(button)); }
  bool IsCaptionHot(int button) const { return captionHot.at(Slot(button)) == 1; }
  bool IsMaximized() const { return maximized == 1; }

 private:
  static size_t Slot(int index);
  void Present();
  void ApplyRegion(int cornerWidth, int cornerHeight);
  // Makes a buffer bitmap at least as large as the window; returns the size it then has.
  std::pair<int, int> CheckBuffer(HDC dc, HBITMAP& bitmap);
  void NotifyPaintHandlers(int code);
  void AnimateCaptionButton(int button, int firstState, int secondState, bool firstFades);

  HDC windowDC = nullptr;
  HDC frontDC = nullptr;
  HDC backDC = nullptr;
  HBITMAP frontBitmap = nullptr;
  HBITMAP backBitmap = nullptr;
  HGDIOBJ frontOldBitmap = nullptr;
  HGDIOBJ backOldBitmap = nullptr;
  WNDPROC previousWindowProc = nullptr;
  ColorRef backgroundColor = 0;
  HWND window;
  std::vector<HandlerAddress> mouseHandlers;
  std::vector<HandlerAddress> paintHandlers;
  MethodThunk windowProcStub;
  std::optional<ByteBuffer> backgroundImage;
  std::optional<ByteBuffer> icon;
  std::optional<std::string> lastError;
  RectI windowRect;
  bool useBackgroundImage = false;
  int showCaptionButtons = 0;
  int showMaximizeButton = 0;
  std::vector<RectI> controlRects;
  std::array<RectI, 3> captionButtonRects{};
  std::array<std::array<ByteBuffer, 3>, 3> captionImages;
  std::array<int, 3> captionHot{};
  int maximized = 0;
  std::vector<TextItem> textItems;
};

}  // namespace tavrel::skin
