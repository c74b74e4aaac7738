#include "skin/skin_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/application.h"
#include "resources/embedded_pictures.h"
#include "skin/skin_texts.h"

namespace tavrel::skin {

using plus::PlusBitmap;
using plus::PlusFont;
using plus::PlusFontCollection;
using plus::PlusFontFamily;
using plus::PlusGraphics;
using plus::PlusImage;
using plus::PlusImageAttributes;
using plus::PlusLinearGradientBrush;
using plus::PlusPath;
using plus::PlusPen;
using plus::PlusSolidBrush;
using plus::PlusStringFormat;

namespace {

// Animations: five frames, each at least this long.
constexpr double kCaptionFramePeriod = 45;

// The window procedure's plain entry: the stub hands it the slot that holds the skin.
LRESULT WindowProcEntry(SkinWindow** slot, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return (*slot)->WindowProc(window, message, wParam, lParam);
}

// An index below 1 is a caller's fault: stop at once rather than read out of range.
void CheckIndex(int index, const char* operation) {
  if (index >= 1) return;
  std::fprintf(stderr, "Tavrel: %s called with index %d; indexes start at 1\n", operation, index);
  std::abort();
}

// Marks entry `index` as removed; false when the index is above the length.
template <class T>
bool MarkRemoved(std::vector<T>& list, int index, const T& removed, const char* operation) {
  CheckIndex(index, operation);
  if (static_cast<size_t>(index) > list.size()) return false;
  list[static_cast<size_t>(index) - 1] = removed;
  return true;
}

ByteBuffer Copy(resources::Bytes bytes) { return ByteBuffer(bytes.begin(), bytes.end()); }

struct FramePiece {
  RectF destination;
  RectF source;
};

// The eight pieces of the frame picture's box (8, 8)-(23, 63) laid along a W x H window.
std::array<FramePiece, 8> FramePieces(float w, float h) {
  return {{
      {{0, 0, 5, 5}, {8, 8, 5, 5}},              // top-left corner
      {{w - 5, 0, 5, 5}, {19, 8, 5, 5}},         // top-right corner
      {{0, h - 5, 5, 5}, {8, 59, 5, 5}},         // bottom-left corner
      {{w - 5, h - 5, 5, 5}, {19, 59, 5, 5}},    // bottom-right corner
      {{5, 0, w - 10, 5}, {13, 8, 6, 5}},        // top edge
      {{5, h - 5, w - 10, 5}, {13, 59, 6, 5}},   // bottom edge
      {{0, 5, 5, h - 10}, {8, 13, 5, 46}},       // left edge
      {{w - 5, 5, 5, h - 10}, {19, 13, 5, 46}},  // right edge
  }};
}

void FillGradientBand(PlusGraphics& graphics, PointF from, PointF to, Argb fromColor, Argb toColor, RectF band) {
  PlusLinearGradientBrush brush;
  brush.CreateFromPoints(from, to, fromColor, toColor);
  graphics.FillRectangle(brush, band.x, band.y, band.width, band.height);
}

}  // namespace

bool PointInRect(const RectI& rect, int px, int py) {
  return rect.x <= px && px <= rect.x + rect.width - 1 && rect.y <= py && py <= rect.y + rect.height;
}

Argb ToArgb(ColorRef color, std::optional<int> alpha) {
  const Argb red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  return (static_cast<Argb>(alpha.value_or(255) & 0xFF) << 24) | (red << 16) | (green << 8) | blue;
}

std::pair<ColorRef, int> FromArgb(Argb color) {
  const ColorRef red = (color >> 16) & 0xFF, green = (color >> 8) & 0xFF, blue = color & 0xFF;
  return {red | (green << 8) | (blue << 16), static_cast<int>(color >> 24)};
}

plus::ColorMatrix OpacityMatrix(int opacity) {
  plus::ColorMatrix matrix{};
  for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1;
  matrix.m[3][3] = static_cast<float>(opacity * 0.01);
  return matrix;
}

TextOptions WithTextDefaults(const std::string& text, TextOptions options) {
  if (!options.color) options.color = ToArgb(0x000000, 180);
  if (!options.size) options.size = 12;
  if (!options.fontFace) options.fontFace = kDefaultFace;
  if (!options.glowColor) options.glowColor = ToArgb(0xFFFFFF, 180);
  if (!options.glowWidth) options.glowWidth = 2.0f;
  if (!options.blurFactor) options.blurFactor = 3;
  if (!options.layout) options.layout = MeasureTextRect(10, 10, *options.size, *options.fontFace, text);
  return options;
}

RectF MeasureTextRect(int x, int y, int size, const std::string& fontFace, const std::string& text) {
  PlusFont font;
  font.CreateFromName(fontFace, static_cast<float>(size), Gdiplus::FontStyleRegular, Gdiplus::UnitWorld);
  PlusGraphics screen;
  screen.CreateFromHWND(nullptr);
  RectF box;
  const PlusStringFormat noFormat;
  screen.MeasureString(text, font, RectF{}, noFormat, box);
  box.x = static_cast<float>(x);
  box.y = static_cast<float>(y);
  return box;
}

void DrawGlowText(PlusGraphics& graphics, int style, const std::string& text, TextOptions& options) {
  const TextOptions given = WithTextDefaults(text, options);
  const RectF layout = *given.layout;
  const int size = *given.size;
  std::string face = *given.fontFace;

  PlusFontCollection installed;
  PlusFontFamily family;
  if (!family.CreateFromName(face, installed)) {
    face = kFallbackFace;
    options.fontFace = face;
    family.CreateFromName(face, installed);
  }

  // The halo: the glyph outlines stroked into a bitmap of the box, shrunk and re-enlarged.
  const int w = static_cast<int>(layout.width), h = static_cast<int>(layout.height);
  PlusPath path;
  path.Create();
  // GDI+ lays the outline out by its defaults either way; Wine's refuses a missing format outright.
  PlusStringFormat defaultFormat;
  defaultFormat.Create();
  path.AddString(text, family, size, RectF{0, 0, static_cast<float>(w), static_cast<float>(h)}, style,
                 &defaultFormat);
  PlusPen pen;
  pen.Create(*given.glowColor, *given.glowWidth);
  PlusBitmap outline;
  outline.Create(w, h);
  PlusGraphics onOutline;
  onOutline.CreateFromImage(outline);
  onOutline.DrawPath(pen, path);

  // A blur factor below 1 would divide by zero or mirror: it blurs as 1 does, not at all.
  const int blur = std::max(1, *given.blurFactor);
  PlusBitmap small;
  const int sw = static_cast<int>(layout.width / blur), sh = static_cast<int>(layout.height / blur);
  small.Create(sw, sh);
  {
    PlusGraphics onSmall;
    onSmall.CreateFromImage(small);
    onSmall.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
    onSmall.DrawImageRect(outline, 0, 0, static_cast<float>(sw), static_cast<float>(sh));
  }
  PlusGraphics again;
  again.CreateFromImage(outline);
  again.Clear(0x00000000);
  again.DrawImageRect(small, 0, 0, static_cast<float>(w), static_cast<float>(h));
  graphics.DrawImageRect(outline, layout.x, layout.y, static_cast<float>(w), static_cast<float>(h));

  // The glyphs on top, anti-aliased.
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  graphics.SetCompositingQuality(Gdiplus::CompositingQualityAssumeLinear);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
  PlusFont font;
  font.CreateFromName(face, static_cast<float>(size), style, Gdiplus::UnitWorld);
  PlusSolidBrush brush;
  brush.Create(*given.color);
  const PlusStringFormat noFormat;
  graphics.DrawString(text, font, brush, layout, noFormat);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeDefault);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
  graphics.SetCompositingQuality(Gdiplus::CompositingQualityDefault);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeDefault);

  // A family's destructor leaves it alive: it is released here.
  family.Dispose();
}

std::pair<int, int> GetBitmapSize(HBITMAP bitmap) {
  // Read from the bitmap itself: wrapping a screen-sized buffer in a GDI+ bitmap would copy it.
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof(info), &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void PaintColorBackground(PlusGraphics& graphics, int width, int height, ColorRef color) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  graphics.Clear(ToArgb(0xECECEC));
  PlusSolidBrush flat;
  flat.Create(ToArgb(color, 150));
  graphics.FillRectangle(flat, 0, 0, w, h);
  // The bands lie at the buffer's edges: they show only when the window is as large as the buffer.
  FillGradientBand(graphics, {w - 200, 0}, {w, 0}, ToArgb(color, 0), ToArgb(color, 150), {w - 200, 0, 200, h});
  FillGradientBand(graphics, {0, h - 200}, {0, h}, ToArgb(color, 0), ToArgb(color, 150), {0, h - 200, w, 200});
}

void PaintImageBackground(PlusGraphics& graphics, const ByteBuffer& image) {
  PlusBitmap picture;
  picture.CreateFromStream(image);
  const float w0 = static_cast<float>(picture.GetWidth()), h0 = static_cast<float>(picture.GetHeight());

  // The picture's representative colour: all of it drawn into one pixel.
  PlusBitmap pixel;
  pixel.Create(1, 1);
  ColorRef ground;
  {
    PlusGraphics onPixel;
    onPixel.CreateFromImage(pixel);
    onPixel.DrawImageRect(picture, 0, 0, 1, 1);
    ground = FromArgb(pixel.GetPixel(0, 0)).first;
  }
  graphics.Clear(ToArgb(ground));
  graphics.DrawImageRect(picture, 0, 0, w0, h0);
  FillGradientBand(graphics, {w0 - 100, 0}, {w0, 0}, ToArgb(ground, 0), ToArgb(ground, 255), {w0 - 100, 0, 100, h0});
  FillGradientBand(graphics, {0, h0 - 100}, {0, h0}, ToArgb(ground, 0), ToArgb(ground, 255), {0, h0 - 100, w0, 100});
}

SkinWindow::SkinWindow() : window(NoWindow()) {
  windowProcStub = MakeMethodThunk(this, CodeAddress(&WindowProcEntry), 4);
  LoadCaptionImages();
}

SkinWindow::~SkinWindow() { Detach(); }

size_t SkinWindow::Slot(int index) {
  CheckIndex(index, "SkinWindow");
  return static_cast<size_t>(index) - 1;
}

LRESULT SkinWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE:
      // The proposed rectangle stays as it is: the whole window is client area.
      if (wParam == 1) return 1;
      break;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case 0x00AE:  // undocumented frame painting of the caption buttons
      return 1;
    case WM_SIZE:
      ApplyRegion(5, 5);
      FetchWindowRect();
      Refresh();
      break;
    case WM_PAINT: {
      // Painting never draws: it copies the damaged part of the front buffer.
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      const RECT& r = paint.rcPaint;
      HDC dc = GetDC(window);
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, frontDC, r.left, r.top, SRCCOPY);
      ReleaseDC(window, dc);
      EndPaint(hwnd, &paint);
      return 1;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      // x unsigned 16 bits, y signed: a pointer captured left of the window comes with a large x.
      const auto packed = static_cast<std::uint32_t>(lParam);
      const int x = static_cast<int>(packed & 0xFFFF);
      const int y = static_cast<std::int32_t>(packed) >> 16;
      // Last registered first; the list is read afresh at each step, as handlers may remove entries.
      for (size_t i = mouseHandlers.size(); i >= 1; --i) {
        const HandlerAddress handler = mouseHandlers[i - 1];
        if (handler == kRemovedHandler) continue;
        // A handler's result is 32 bits wide: on x86-64 the upper half of RAX is whatever the
        // procedure left there, so only the lower half counts.
        if (static_cast<std::int32_t>(CallProcedure(AsCode(handler), message, x, y)) == 1) break;
      }
      if (message == WM_MOUSEMOVE) OnMouseMove(x, y);
      if (message == WM_LBUTTONDOWN) OnLeftButtonDown(x, y);
      if (message == WM_LBUTTONUP) OnLeftButtonUp(x, y);
      break;
    }
  }
  return CallWindowProcA(previousWindowProc, hwnd, message, wParam, lParam);
}

bool SkinWindow::Attach(HWND newWindow, const ByteBuffer& newIcon, int showCaption, int showMaximize,
                        std::optional<ColorRef> color, std::optional<ByteBuffer> image) {
  if (window != NoWindow()) {
    lastError = kAlreadyAttachedError;
    return false;
  }
  backgroundColor = color.value_or(0);
  useBackgroundImage = image.has_value();
  backgroundImage = std::move(image);
  showCaptionButtons = showCaption;
  showMaximizeButton = showMaximize;
  icon = newIcon;
  window = newWindow;
  FetchWindowRect();
  LayoutCaptionButtons();
  windowDC = GetDC(window);

  // Screen-sized buffers: moving or resizing the window up to the screen's size needs no new ones.
  const int width = std::max(framework::ScreenWidth(), windowRect.width);
  const int height = std::max(framework::ScreenHeight(), windowRect.height);
  backDC = CreateCompatibleDC(windowDC);
  backBitmap = CreateCompatibleBitmap(windowDC, width, height);
  backOldBitmap = SelectObject(backDC, backBitmap);
  frontDC = CreateCompatibleDC(windowDC);
  frontBitmap = CreateCompatibleBitmap(windowDC, width, height);
  frontOldBitmap = SelectObject(frontDC, frontBitmap);

  ApplyRoundedRegion();
  Render();
  previousWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThunkEntry(windowProcStub))));
  return true;
}

void SkinWindow::Detach() {
  if (window != NoWindow()) {
    SelectObject(backDC, backOldBitmap);
    DeleteObject(backBitmap);
    DeleteDC(backDC);
    SelectObject(frontDC, frontOldBitmap);
    DeleteObject(frontBitmap);
    DeleteDC(frontDC);
    ReleaseDC(window, windowDC);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
    windowDC = frontDC = backDC = nullptr;
    frontBitmap = backBitmap = nullptr;
  }
  window = NoWindow();
}

std::string SkinWindow::GetLastErrorText() const { return lastError.value_or(std::string()); }

void SkinWindow::LoadCaptionImages() {
  for (int button = 1; button <= 3; ++button) {
    for (int state = 1; state <= 3; ++state) {
      captionImages[Slot(button)][Slot(state)] = Copy(resources::CaptionPicture(button, state));
    }
  }
}

void SkinWindow::LayoutCaptionButtons() {
  if (showCaptionButtons != 1) return;
  const int w = windowRect.width;
  captionButtonRects[0] = {w - 39, -1, 39, 20};
  if (showMaximizeButton == 1) {
    captionButtonRects[1] = {w - 67, -1, 28, 20};
    captionButtonRects[2] = {w - 95, -1, 28, 20};
  } else {
    captionButtonRects[2] = {w - 67, -1, 28, 20};
  }
}

RectI SkinWindow::FetchWindowRect() {
  if (window == NoWindow()) {
    lastError = kNoWindowRectError;
    return {};
  }
  RECT r{};
  GetWindowRect(window, &r);
  windowRect = {0, 0, r.right - r.left, r.bottom - r.top};
  return windowRect;
}

std::string SkinWindow::GetTitle() {
  char title[101] = {};
  // Not asked while detached: Wine resolves the handle -1 to some other window and reads its text.
  if (window == NoWindow() || GetWindowTextA(window, title, sizeof(title)) == 0) lastError = kNoTitleError;
  return title;
}

int SkinWindow::AddControlRect(const RectI& rect) {
  controlRects.push_back(rect);
  return static_cast<int>(controlRects.size());
}

bool SkinWindow::RemoveControlRect(int index) { return MarkRemoved(controlRects, index, RectI{}, "RemoveControlRect"); }

std::vector<RectI> SkinWindow::GetControlRects(std::vector<RectI>& list) const {
  list = controlRects;
  return list;
}

int SkinWindow::AddMouseHandler(HandlerAddress handler) {
  mouseHandlers.push_back(handler);
  return static_cast<int>(mouseHandlers.size());
}

bool SkinWindow::RemoveMouseHandler(int index) {
  return MarkRemoved(mouseHandlers, index, kRemovedHandler, "RemoveMouseHandler");
}

int SkinWindow::AddPaintHandler(HandlerAddress handler) {
  paintHandlers.push_back(handler);
  return static_cast<int>(paintHandlers.size());
}

bool SkinWindow::RemovePaintHandler(int index) {
  return MarkRemoved(paintHandlers, index, kRemovedHandler, "RemovePaintHandler");
}

void SkinWindow::SetBackgroundImage(std::optional<ByteBuffer> image) {
  backgroundImage = std::move(image);
  useBackgroundImage = true;
  Render();
  Present();
}

void SkinWindow::SetBackgroundColor(ColorRef color) {
  backgroundColor = color;
  useBackgroundImage = false;
  Render();
  Present();
}

bool SkinWindow::SetTitle(const std::string& text) {
  const bool accepted = SetWindowTextA(window, text.c_str()) != 0;
  Refresh();
  return accepted;
}

int SkinWindow::AddText(const std::string& text, int style, TextOptions options) {
  const TextOptions o = WithTextDefaults(text, std::move(options));
  textItems.push_back({style, text, *o.layout, *o.color, *o.size, *o.fontFace, *o.glowColor, *o.glowWidth,
                       *o.blurFactor});
  return static_cast<int>(textItems.size());
}

bool SkinWindow::SetText(int index, const std::string& text) {
  CheckIndex(index, "SetText");
  if (static_cast<size_t>(index) > textItems.size()) return false;
  textItems[static_cast<size_t>(index) - 1].text = text;
  return true;
}

void SkinWindow::Refresh() {
  Render();
  Present();
}

void SkinWindow::ApplyRoundedRegion() { ApplyRegion(5, 5); }

void SkinWindow::ApplyRegion(int cornerWidth, int cornerHeight) {
  RECT r{};
  GetWindowRect(window, &r);
  // The window system owns the region from here on and frees it when it is replaced.
  HRGN region = CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, cornerWidth, cornerHeight);
  SetWindowRgn(window, region, FALSE);
}

void SkinWindow::Present() {
  HDC dc = GetDC(window);
  BitBlt(dc, 0, 0, windowRect.width, windowRect.height, frontDC, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
}

std::pair<int, int> SkinWindow::CheckBuffer(HDC dc, HBITMAP& bitmap) {
  std::pair<int, int> size = GetBitmapSize(bitmap);
  if (size.first < windowRect.width || size.second < windowRect.height) {
    HDC screen = GetDC(window);
    HBITMAP larger = CreateCompatibleBitmap(screen, windowRect.width, windowRect.height);
    ReleaseDC(window, screen);
    SelectObject(dc, larger);
    DeleteObject(bitmap);
    bitmap = larger;
    size = GetBitmapSize(bitmap);
  }
  return size;
}

void SkinWindow::NotifyPaintHandlers(int code) {
  // First registered first; handlers may add or remove entries while they are called.
  for (size_t i = 0; i < paintHandlers.size(); ++i) {
    if (paintHandlers[i] != kRemovedHandler) CallProcedure(AsCode(paintHandlers[i]), code, 0, 0);
  }
}

void SkinWindow::Render() {
  PlusGraphics graphics;
  graphics.CreateFromHDC(backDC);
  const auto [bw, bh] = CheckBuffer(backDC, backBitmap);
  if (useBackgroundImage) {
    PaintImageBackground(graphics, backgroundImage.value_or(ByteBuffer{}));
  } else {
    PaintColorBackground(graphics, bw, bh, backgroundColor);
  }

  TextOptions title;
  title.layout = RectF{27, 5, static_cast<float>(windowRect.width), 40};
  title.size = 13;
  DrawGlowText(graphics, Gdiplus::FontStyleBold, GetTitle(), title);

  PlusImage iconImage;
  iconImage.LoadFromStream(icon.value_or(ByteBuffer{}));
  graphics.DrawImageRect(iconImage, 8, 5, 16, 16);
  iconImage.Dispose();

  PlusImage frame;
  frame.LoadFromStream(Copy(resources::FrameBorder()));
  const PlusImageAttributes noAttributes;
  for (const FramePiece& piece : FramePieces(static_cast<float>(windowRect.width),
                                             static_cast<float>(windowRect.height))) {
    const RectF& d = piece.destination;
    const RectF& s = piece.source;
    graphics.DrawImageRectRect(frame, d.x, d.y, d.width, d.height, s.x, s.y, s.width, s.height, Gdiplus::UnitPixel,
                               noAttributes);
  }

  for (TextItem& item : textItems) {
    TextOptions options{item.layout, item.color,     item.size,      item.fontFace,
                        item.glowColor, item.glowWidth, item.blurFactor};
    DrawGlowText(graphics, item.style, item.text, options);
    item.fontFace = *options.fontFace;
  }

  NotifyPaintHandlers(PaintNotifyBackground);
  frame.Dispose();
  graphics.Dispose();
  Compose();
}

void SkinWindow::Compose() {
  const auto [bw, bh] = CheckBuffer(frontDC, frontBitmap);
  BitBlt(frontDC, 0, 0, bw, bh, backDC, 0, 0, SRCCOPY);
  for (int button = 1; button <= 3; ++button) DrawCaptionButton(frontDC, button, CaptionStateNormal, 100);
  NotifyPaintHandlers(PaintNotifyFront);
}

void SkinWindow::DrawCaptionButton(HDC dc, int button, int state, int opacity) {
  LayoutCaptionButtons();
  PlusImage picture;
  picture.LoadFromStream(captionImages.at(Slot(button)).at(Slot(state)));
  PlusImageAttributes attributes;
  attributes.Create();
  attributes.SetColorMatrix(OpacityMatrix(opacity));
  PlusGraphics graphics;
  graphics.CreateFromHDC(dc);
  const RectI& r = captionButtonRects.at(Slot(button));
  graphics.DrawImageRectRect(picture, static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
                             static_cast<float>(r.height), 0, 0, static_cast<float>(picture.GetWidth()),
                             static_cast<float>(picture.GetHeight()), Gdiplus::UnitPixel, attributes);
  graphics.Dispose();
  attributes.Dispose();
  picture.Dispose();
}

void SkinWindow::AnimateCaptionButton(int button, int firstState, int secondState, bool firstRises) {
  for (int frame = 1; frame <= 5; ++frame) {
    const double started = framework::Uptime();
    const int rising = 20 * frame;
    const int first = firstRises ? rising : 100 - rising;
    const RectI& r = captionButtonRects.at(Slot(button));
    BitBlt(frontDC, r.x, r.y, r.width, r.height, backDC, r.x, r.y, SRCCOPY);
    DrawCaptionButton(frontDC, button, firstState, first);
    DrawCaptionButton(frontDC, button, secondState, 100 - first);
    HDC dc = GetDC(window);
    BitBlt(dc, r.x, r.y, r.width, r.height, frontDC, r.x, r.y, SRCCOPY);
    ReleaseDC(window, dc);
    if (framework::Uptime() - started < kCaptionFramePeriod) {
      // Rounded up: a truncated remainder would end each frame up to a millisecond early.
      framework::Sleep(static_cast<int>(std::ceil(kCaptionFramePeriod - (framework::Uptime() - started))));
    }
  }
}

void SkinWindow::OnMouseMove(int x, int y) {
  for (int button = 1; button <= 3; ++button) {
    int& hot = captionHot[Slot(button)];
    if (!PointInRect(captionButtonRects[Slot(button)], x, y) && hot == 1) {
      AnimateCaptionButton(button, CaptionStateHover, CaptionStateNormal, false);
      hot = 0;
    }
  }
  for (int button = 1; button <= 3; ++button) {
    int& hot = captionHot[Slot(button)];
    if (PointInRect(captionButtonRects[Slot(button)], x, y) && hot == 0) {
      hot = 1;
      AnimateCaptionButton(button, CaptionStateHover, CaptionStateNormal, true);
      return;
    }
  }
}

void SkinWindow::OnLeftButtonDown(int x, int y) {
  const auto holds = [x, y](const RectI& rect) { return PointInRect(rect, x, y); };
  const bool hit = std::any_of(captionButtonRects.begin(), captionButtonRects.end(), holds) ||
                   std::any_of(controlRects.begin(), controlRects.end(), holds);
  // A free spot drags the window: the system's move loop runs inside this call.
  if (!hit) SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  for (int button = 1; button <= 3; ++button) {
    if (holds(captionButtonRects[Slot(button)])) {
      AnimateCaptionButton(button, CaptionStatePressed, CaptionStateHover, true);
      return;
    }
  }
}

void SkinWindow::OnLeftButtonUp(int x, int y) {
  for (int button = 1; button <= 3; ++button) {
    if (!PointInRect(captionButtonRects[Slot(button)], x, y)) continue;
    if (button == CaptionButtonClose) framework::EndProgram(0);
    if (button == CaptionButtonMinimize) CloseWindow(window);
    if (button == CaptionButtonMaximize) {
      SendMessageA(window, WM_SYSCOMMAND, maximized == 0 ? SC_MAXIMIZE : SC_RESTORE, 0);
      maximized = maximized == 0 ? 1 : 0;
    }
  }
}

}  // namespace tavrel::skin
