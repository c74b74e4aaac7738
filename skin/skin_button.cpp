#include "skin/skin_button.h"

#include <array>

#include "framework/application.h"
#include "resources/embedded_pictures.h"
#include "skin/skin_texts.h"

namespace tavrel::skin {

namespace {

// The handler's plain entry: the stub hands it the slot that holds the button.
std::intptr_t HandleSkinMessageEntry(SkinButton** slot, std::intptr_t message, std::intptr_t x, std::intptr_t y) {
  return (*slot)->HandleSkinMessage(static_cast<int>(message), static_cast<int>(x), static_cast<int>(y));
}

struct Slice {
  RectF destination;
  RectF source;
};

// The nine slices of a 17-column tile starting at column x0, stretched over (x, y, w, h) with
// fixed 7-pixel borders. Tile columns 7 to 9 (the markers) and row 7 are never sampled.
std::array<Slice, 9> NineSlices(float x0, float x, float y, float w, float h) {
  return {{
      {{x, y, 7, 7}, {x0, 0, 7, 7}},                             // top left
      {{x + w - 7, y, 7, 7}, {x0 + 10, 0, 7, 7}},                // top right
      {{x, y + h - 7, 7, 7}, {x0, 21, 7, 7}},                    // bottom left
      {{x + w - 7, y + h - 7, 7, 7}, {x0 + 10, 21, 7, 7}},       // bottom right
      {{x + 7, y, w - 14, 7}, {x0 + 10, 0, 1, 7}},               // top edge
      {{x + 7, y + h - 7, w - 14, 7}, {x0 + 10, 21, 1, 7}},      // bottom edge
      {{x, y + 7, 7, h - 14}, {x0, 8, 7, 14}},                   // left edge
      {{x + w - 7, y + 7, 7, h - 14}, {x0 + 10, 8, 7, 14}},      // right edge
      {{x + 7, y + 7, w - 14, h - 14}, {x0 + 3, 8, 3, 14}},      // centre
  }};
}

}  // namespace

bool FontFamilyExists(const std::string& name) {
  plus::PlusFontCollection installed;
  plus::PlusFontFamily family;
  const bool exists = family.CreateFromName(name, installed);
  family.Dispose();
  return exists;
}

SkinButton::SkinButton() : window(NoWindow()) {
  stub = MakeMethodThunk(this, CodeAddress(&HandleSkinMessageEntry), 3);
}

SkinButton::~SkinButton() {
  if (window == NoWindow()) return;
  windowGraphics.Dispose();
  backGraphics.Dispose();
  frontGraphics.Dispose();
  window = NoWindow();
}

int SkinButton::HandleSkinMessage(int message, int x, int y) {
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
    if (!PointInRect(rect, x, y)) {
      if (state != ButtonStateNormal) {
        FadeTiles(ButtonStateHover, ButtonStateNormal, leaveFadePeriod);
        state = ButtonStateNormal;
      }
      return 0;
    }
    // The fades name tiles, not states: pressing always starts from the hover tile.
    if (message == WM_MOUSEMOVE && state == ButtonStateNormal) {
      FadeTiles(ButtonStateNormal, ButtonStateHover, fadePeriod);
      state = ButtonStateHover;
    } else if (message == WM_LBUTTONDOWN) {
      FadeTiles(ButtonStateHover, ButtonStatePressed, fadePeriod);
      state = ButtonStatePressed;
    } else if (message == WM_LBUTTONUP) {
      // The handler runs before the fade: a message box it opens delays the fade until closed.
      CallProcedure(AsCode(onClick));
      FadeTiles(ButtonStatePressed, ButtonStateHover, fadePeriod);
      state = ButtonStateHover;
    }
    return 1;
  }
  // The skin copies its front buffer to the screen afterwards: no fade, no copy here.
  if (message == PaintNotifyFront) DrawState(frontGraphics, ButtonStateNormal, 100);
  return 1;
}

void SkinButton::DrawState(plus::PlusGraphics& graphics, int tile, int opacity) {
  plus::PlusImage strip;
  const resources::Bytes bytes = resources::ButtonStrip();
  strip.LoadFromStream(ByteBuffer(bytes.begin(), bytes.end()));
  plus::PlusImageAttributes attributes;
  attributes.Create();
  attributes.SetColorMatrix(OpacityMatrix(opacity));
  const float x = static_cast<float>(rect.x), y = static_cast<float>(rect.y);
  const float w = static_cast<float>(rect.width), h = static_cast<float>(rect.height);
  for (const Slice& slice : NineSlices(static_cast<float>(18 * (tile - 1)), x, y, w, h)) {
    const RectF& d = slice.destination;
    const RectF& s = slice.source;
    graphics.DrawImageRectRect(strip, d.x, d.y, d.width, d.height, s.x, s.y, s.width, s.height, Gdiplus::UnitPixel,
                               attributes);
  }

  // The caption is not faded: every call draws it at full strength, centred on the button.
  const std::string face = FontFamilyExists(kDefaultFace) ? kDefaultFace : kFallbackFace;
  const std::string text = caption.value_or(std::string());
  const RectF measured = MeasureTextRect(0, 0, fontSize, face, text);
  RectF box{static_cast<float>(static_cast<int>(x + (w - measured.width) / 2)),
            static_cast<float>(static_cast<int>(y + (h - measured.height) / 2)),
            static_cast<float>(static_cast<int>(measured.width + 5)), static_cast<float>(static_cast<int>(measured.height))};
  if (box.width - w > 0.0000001) box = {x, box.y, w, box.height};
  TextOptions options;
  options.layout = box;
  options.size = fontSize;
  options.glowColor = ToArgb(0xD79259, 80);
  DrawGlowText(graphics, Gdiplus::FontStyleRegular, text, options);

  attributes.Dispose();
  strip.Dispose();
}

bool SkinButton::Create(SkinWindow& skin, const RectI& newRect, const std::string& newCaption, int newFontSize,
                        HandlerAddress newOnClick) {
  if (window != NoWindow()) return false;
  backDC = skin.GetBackDC();
  frontDC = skin.GetFrontDC();
  backGraphics.CreateFromHDC(backDC);
  frontGraphics.CreateFromHDC(frontDC);
  windowGraphics.CreateFromHWND(skin.GetWindowHandle());
  rectIndex = skin.AddControlRect(newRect);
  const HandlerAddress handler = AsHandler(ThunkEntry(stub));
  mouseHandlerIndex = skin.AddMouseHandler(handler);
  paintHandlerIndex = skin.AddPaintHandler(handler);
  rect = newRect;
  onClick = newOnClick;
  caption = newCaption;
  fontSize = newFontSize;
  window = skin.GetWindowHandle();
  return true;
}

bool SkinButton::Remove(SkinWindow& skin) {
  if (window == NoWindow()) return false;
  windowGraphics.Dispose();
  backGraphics.Dispose();
  frontGraphics.Dispose();
  skin.RemoveControlRect(rectIndex);
  skin.RemoveMouseHandler(mouseHandlerIndex);
  skin.RemovePaintHandler(paintHandlerIndex);
  window = NoWindow();
  return true;
}

void SkinButton::FadeTiles(int a, int b, double period) {
  const int x = rect.x, y = rect.y, w = rect.width, h = rect.height;
  for (int i = 1; i <= 5; ++i) {
    const double started = framework::Uptime();
    const int k = i * 20;
    BitBlt(frontDC, x, y, w, h, backDC, x, y, SRCCOPY);
    DrawState(frontGraphics, a, 100 - k);
    DrawState(frontGraphics, b, k);
    HDC dc = GetDC(window);
    BitBlt(dc, x, y, w, h, frontDC, x, y, SRCCOPY);
    ReleaseDC(window, dc);
    if ((framework::Uptime() - started) - period < -0.0000001) {
      framework::Sleep(static_cast<int>(period - (framework::Uptime() - started)));
    }
    // Windows' sleep rounds up to its timer tick, Wine's does not: the truncated sleep leaves the
    // frame up to a millisecond short, and a frame must last its whole period.
    while (framework::Uptime() - started < period) framework::Sleep(1);
  }
}

}  // namespace tavrel::skin
