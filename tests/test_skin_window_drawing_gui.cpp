// What a SkinWindow draws, read back from its buffers and from the screen: the colour and image
// backgrounds, the frame and the rounded region, the title, icon and texts with their halos, the
// paint notifications, the caption buttons' opacity, and pictures that do not decode.
#include <windows.h>
// After windows.h, which it needs.
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/embedded_pictures.h"
#include "skin/method_thunk.h"
#include "skin/skin_window.h"
#include "tests/support/skin_fixture.h"
#include "tests/support/skin_window_texts.h"

namespace tavrel::skin {
namespace {

using test::ColorDistance;
using test::PixelGrid;
using test::ReadBuffer;
using test::SkinnedWindow;

constexpr RectI kProgramBounds{50, 50, 480, 233};
// 0xC06000 at alpha 150 over opaque 0xECECEC: RGB (97, 154, 210).
constexpr Argb kFlatBlue = 0x619AD2;
constexpr int kTolerance = 2;

// How many pixels of a rectangle of the grid are clearly darker or clearly lighter than `ground`.
struct Contrast {
  int darker = 0;
  int lighter = 0;
};
Contrast ContrastIn(const PixelGrid& grid, const RectI& rect, Argb ground) {
  Contrast contrast;
  for (Argb pixel : grid.Area(rect)) {
    const int difference = test::Brightness(pixel) - test::Brightness(ground);
    if (difference < -60) ++contrast.darker;
    if (difference > 40) ++contrast.lighter;
  }
  return contrast;
}

// The number of pixels of a rectangle that differ from `ground` by more than the tolerance.
int CountOff(const PixelGrid& grid, const RectI& rect, Argb ground) {
  int off = 0;
  for (Argb pixel : grid.Area(rect)) off += ColorDistance(pixel, ground) > kTolerance ? 1 : 0;
  return off;
}

TEST(SkinColorBackground, FlatBlendInsideTheWindow) {
  SkinnedWindow skinned(kProgramBounds);
  test::Pump(200);
  // Below the title and inside the frame: one flat colour, no gradient band anywhere.
  const RectI surface{6, 50, 468, 176};
  for (HDC dc : {skinned.Skin().GetBackDC(), skinned.Skin().GetFrontDC()}) {
    const PixelGrid pixels = ReadBuffer(dc);
    EXPECT_LE(ColorDistance(pixels.At(240, 150), kFlatBlue), kTolerance) << std::hex << pixels.At(240, 150);
    EXPECT_EQ(CountOff(pixels, surface, kFlatBlue), 0);
  }
  const PixelGrid screen = test::ReadScreen(skinned.Window().ScreenRect());
  EXPECT_LE(ColorDistance(screen.At(240, 150), kFlatBlue), kTolerance) << std::hex << screen.At(240, 150);
  EXPECT_EQ(CountOff(screen, surface, kFlatBlue), 0);
}

TEST(SkinColorBackground, BandsShowOnlyWhereTheWindowReachesTheBufferEdge) {
  struct Case {
    RectI bounds;
    bool rightBand;
    bool bottomBand;
  };
  for (const Case& c : {Case{kProgramBounds, false, false}, Case{{0, 100, 1366, 300}, true, false},
                        Case{{100, 0, 480, 768}, false, true}}) {
    SCOPED_TRACE(testing::Message() << c.bounds.width << " x " << c.bounds.height);
    SkinnedWindow skinned(c.bounds, {.show = false});
    const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());
    const int w = c.bounds.width, h = c.bounds.height;
    // Across the right band, at mid height: the colour deepens towards the edge (red drops).
    const std::vector<int> reds = {test::Red(back.At(w - 250, h / 2)), test::Red(back.At(w - 150, h / 2)),
                                   test::Red(back.At(w - 50, h / 2)), test::Red(back.At(w - 8, h / 2))};
    if (c.rightBand) {
      EXPECT_NEAR(reds[0], 97, kTolerance);
      EXPECT_GT(reds[0], reds[1]);
      EXPECT_GT(reds[1], reds[2]);
      EXPECT_GT(reds[2], reds[3]);
      EXPECT_LT(reds[3], 55);
    } else {
      for (int red : reds) EXPECT_NEAR(red, 97, kTolerance);
    }
    const std::vector<int> bottom = {test::Red(back.At(w / 3, std::max(h - 250, 60))),
                                     test::Red(back.At(w / 3, h - 100)), test::Red(back.At(w / 3, h - 8))};
    if (c.bottomBand) {
      EXPECT_NEAR(bottom[0], 97, kTolerance);
      EXPECT_GT(bottom[0], bottom[1]);
      EXPECT_GT(bottom[1], bottom[2]);
      EXPECT_LT(bottom[2], 55);
    } else {
      for (int red : bottom) EXPECT_NEAR(red, 97, kTolerance);
    }
  }
}

// A 300 x 180 picture: green (40, 160, 90) crossed by black lines on every column and every row
// whose number is 1 modulo 4.
constexpr int kImageWidth = 300, kImageHeight = 180;
constexpr Argb kImageGreen = 0x28A05A;
ByteBuffer LinedPicture() {
  std::vector<Argb> pixels;
  for (int y = 0; y < kImageHeight; ++y) {
    for (int x = 0; x < kImageWidth; ++x) pixels.push_back(x % 4 == 1 || y % 4 == 1 ? 0 : kImageGreen);
  }
  return test::BmpFile(kImageWidth, kImageHeight, pixels);
}

TEST(SkinImageBackground, SmallImageFadesIntoItsRepresentativeColour) {
  SkinnedWindow skinned(kProgramBounds, {.image = LinedPicture()});
  const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());

  // Right of and below the picture: its representative colour, a blend of green and black.
  const Argb ground = back.At(400, 120);
  EXPECT_GT(test::Green(ground), 40) << std::hex << ground;
  const double share = test::Green(ground) / 160.0;
  EXPECT_NEAR(test::Red(ground), 40 * share, 3) << std::hex << ground;
  EXPECT_NEAR(test::Blue(ground), 90 * share, 3) << std::hex << ground;
  EXPECT_EQ(CountOff(back, {310, 50, 160, 170}, ground), 0);
  EXPECT_EQ(CountOff(back, {10, 190, 460, 35}, ground), 0);

  // The picture itself, at its own size in the top-left corner.
  EXPECT_LE(ColorDistance(back.At(62, 62), kImageGreen), kTolerance);
  EXPECT_LE(ColorDistance(back.At(61, 62), 0), kTolerance);
  EXPECT_LE(ColorDistance(back.At(62, 61), 0), kTolerance);

  // Its last 100 columns and rows fade into the ground: the lines fade out towards the edges.
  auto columnContrast = [&](int lineColumn) {
    return std::abs(test::Green(back.At(lineColumn, 62)) - test::Green(back.At(lineColumn + 1, 62)));
  };
  auto rowContrast = [&](int lineRow) {
    return std::abs(test::Green(back.At(62, lineRow)) - test::Green(back.At(62, lineRow + 1)));
  };
  EXPECT_GT(columnContrast(189), 150);
  EXPECT_GT(columnContrast(249), 40);
  EXPECT_LT(columnContrast(249), 120);
  EXPECT_LT(columnContrast(293), 25);
  EXPECT_GT(rowContrast(73), 150);
  EXPECT_GT(rowContrast(129), 40);
  EXPECT_LT(rowContrast(129), 120);
  EXPECT_LT(rowContrast(173), 25);
}

TEST(SkinImageBackground, ColourAfterImageSwitchesBackAndImageStaysStored) {
  SkinnedWindow skinned(kProgramBounds);
  skinned.Skin().SetBackgroundImage(LinedPicture());
  EXPECT_LE(ColorDistance(ReadBuffer(skinned.Skin().GetBackDC()).At(62, 62), kImageGreen), kTolerance);
  skinned.Skin().SetBackgroundColor(0xC06000);
  EXPECT_LE(ColorDistance(ReadBuffer(skinned.Skin().GetBackDC()).At(62, 62), kFlatBlue), kTolerance);
  // Presented at once: the screen shows it too.
  test::Pump(100);
  EXPECT_LE(ColorDistance(test::ReadScreen(skinned.Window().ScreenRect()).At(62, 62), kFlatBlue), kTolerance);
}

TEST(SkinFrame, BorderDarkensTheEdgesAndTheRegionCutsTheCorners) {
  // A green window behind the skinned one shows through wherever the skinned one is cut away.
  test::RecordingWindow backdrop({40, 40, 500, 253}, "Backdrop");
  backdrop.Show();
  {
    HDC dc = GetDC(backdrop.Handle());
    RECT all{0, 0, 500, 253};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    ReleaseDC(backdrop.Handle(), dc);
  }
  SkinnedWindow skinned(kProgramBounds);
  test::Pump(300);
  const int w = 480, h = 233;
  const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());
  struct Edge {
    const char* name;
    int outerX, outerY;  // the outermost pixel: the dark line
    int lineX, lineY;    // next to it: the light inner line
    int insideX, insideY;
  };
  for (const Edge& e : {Edge{"left", 0, 120, 1, 120, 4, 120}, Edge{"right", w - 1, 120, w - 2, 120, w - 5, 120},
                        Edge{"top", 240, 0, 240, 1, 240, 4}, Edge{"bottom", 240, h - 1, 240, h - 2, 240, h - 5}}) {
    SCOPED_TRACE(e.name);
    EXPECT_LT(test::Brightness(back.At(e.outerX, e.outerY)), 150) << std::hex << back.At(e.outerX, e.outerY);
    EXPECT_GT(test::Brightness(back.At(e.lineX, e.lineY)), test::Brightness(kFlatBlue) + 50)
        << std::hex << back.At(e.lineX, e.lineY);
    EXPECT_LE(ColorDistance(back.At(e.insideX, e.insideY), kFlatBlue), kTolerance);
  }

  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(skinned.Handle(), region), ERROR);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}}) {
    EXPECT_FALSE(PtInRegion(region, x, y)) << x << ", " << y;
  }
  for (const auto& [x, y] : {std::pair{w / 2, 0}, std::pair{0, h / 2}, std::pair{w - 1, h / 2}, std::pair{2, 2}}) {
    EXPECT_TRUE(PtInRegion(region, x, y)) << x << ", " << y;
  }
  DeleteObject(region);

  const PixelGrid screen = test::ReadScreen({40, 40, 500, 253});
  const int left = 10, top = 10;  // the skinned window's corner in the screen copy
  EXPECT_EQ(screen.At(left - 1, top + 100), 0x00FF00u);
  EXPECT_EQ(screen.At(left, top), 0x00FF00u);
  EXPECT_EQ(screen.At(left + w - 1, top + h - 1), 0x00FF00u);
  EXPECT_LT(test::Brightness(screen.At(left + 240, top)), 150);
  EXPECT_LE(ColorDistance(screen.At(left + 240, top + 150), kFlatBlue), kTolerance);
}

// The title's box, the program's two text boxes and the icon's square.
constexpr RectI kTitleBox{27, 5, 453, 40};
constexpr RectI kWarningBox{72, 48, 360, 48};
constexpr RectI kMicroblogBox{16, 176, 120, 38};
constexpr RectI kIconBox{8, 5, 16, 16};

TextOptions At(RectF layout, int size) {
  TextOptions options;
  options.layout = layout;
  options.size = size;
  return options;
}

void AddProgramTexts(SkinWindow& skin) {
  ASSERT_EQ(skin.AddText(test::kWarningText936, Gdiplus::FontStyleItalic, At({72, 48, 360, 48}, 14)), 1);
  ASSERT_EQ(skin.AddText(test::kMicroblogText936, Gdiplus::FontStyleUnderline, At({16, 176, 120, 38}, 13)), 2);
}

TEST(SkinTexts, TitleAndTextsLeaveGlyphsAndHalosInTheirBoxesOnly) {
  SkinnedWindow skinned(kProgramBounds);
  AddProgramTexts(skinned.Skin());
  // Nothing is drawn before the next render.
  EXPECT_EQ(CountOff(ReadBuffer(skinned.Skin().GetBackDC()), kWarningBox, kFlatBlue), 0);
  skinned.Skin().Refresh();
  const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());
  for (const RectI& box : {kTitleBox, kWarningBox, kMicroblogBox}) {
    SCOPED_TRACE(testing::Message() << box.x << ", " << box.y);
    const Contrast contrast = ContrastIn(back, box, kFlatBlue);
    EXPECT_GT(contrast.darker, 20);
    EXPECT_GT(contrast.lighter, 20);
  }
  EXPECT_GT(CountOff(back, kIconBox, kFlatBlue), 100);
  // The halo stays inside the box: right of the warning box and between the boxes, flat blue.
  EXPECT_EQ(CountOff(back, {433, 48, 40, 48}, kFlatBlue), 0);
  EXPECT_EQ(CountOff(back, {6, 97, 468, 78}, kFlatBlue), 0);
  EXPECT_EQ(CountOff(back, {137, 176, 330, 50}, kFlatBlue), 0);
  // The title was read from the window: a new title draws differently.
  ASSERT_TRUE(skinned.Skin().SetTitle("Other title"));
  EXPECT_EQ(skinned.Skin().GetTitle(), "Other title");
  EXPECT_NE(ReadBuffer(skinned.Skin().GetBackDC()).Area(kTitleBox), back.Area(kTitleBox));
  ASSERT_TRUE(skinned.Skin().SetTitle("Tavrel"));

  // The screen shows the front buffer.
  test::Pump(200);
  const PixelGrid screen = test::ReadScreen(skinned.Window().ScreenRect());
  EXPECT_EQ(CountOff(screen, kWarningBox, kFlatBlue), CountOff(back, kWarningBox, kFlatBlue));
  EXPECT_TRUE(test::SaveScreenshot("texts"));
}

TEST(SkinTexts, SetTextChangesTheTextFromTheNextRender) {
  SkinnedWindow skinned(kProgramBounds);
  AddProgramTexts(skinned.Skin());
  skinned.Skin().Refresh();
  const std::vector<Argb> before = ReadBuffer(skinned.Skin().GetBackDC()).Area(kMicroblogBox);
  EXPECT_FALSE(skinned.Skin().SetText(3, "x"));
  EXPECT_TRUE(skinned.Skin().SetText(2, "Tavrel"));
  EXPECT_EQ(skinned.Skin().TextItems()[1].text, "Tavrel");
  EXPECT_EQ(skinned.Skin().TextItems()[0].text, test::kWarningText936);
  EXPECT_EQ(ReadBuffer(skinned.Skin().GetBackDC()).Area(kMicroblogBox), before);
  skinned.Skin().Refresh();
  EXPECT_NE(ReadBuffer(skinned.Skin().GetBackDC()).Area(kMicroblogBox), before);
}

TEST(SkinTexts, MissingFaceFallsBackToSongTiAndKeepsIt) {
  SkinnedWindow skinned(kProgramBounds);
  TextOptions missing = At({100, 110, 200, 40}, 20);
  missing.fontFace = "Tavrel No Such Face";
  ASSERT_EQ(skinned.Skin().AddText("Tavrel", 0, missing), 1);
  ASSERT_EQ(skinned.Skin().AddText("Tavrel", 0, At({100, 160, 200, 40}, 20)), 2);
  EXPECT_EQ(skinned.Skin().TextItems()[0].fontFace, "Tavrel No Such Face");
  for (int render = 1; render <= 2; ++render) {
    SCOPED_TRACE(render);
    skinned.Skin().Refresh();
    EXPECT_EQ(skinned.Skin().TextItems()[0].fontFace, test::kFallbackFace936);
    EXPECT_EQ(skinned.Skin().TextItems()[1].fontFace, test::kDefaultFace936);
    const Contrast contrast = ContrastIn(ReadBuffer(skinned.Skin().GetBackDC()), {100, 110, 200, 40}, kFlatBlue);
    EXPECT_GT(contrast.darker, 20);
    EXPECT_GT(contrast.lighter, 20);
  }
}

// The smallest rectangle holding every pixel of an area that is lighter (or darker) than the
// flat background; empty when there is none.
RectI ChangedBounds(const PixelGrid& grid, const RectI& area, bool lighter) {
  int left = area.x + area.width, top = area.y + area.height, right = area.x - 1, bottom = area.y - 1;
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      const int difference = test::Brightness(grid.At(x, y)) - test::Brightness(kFlatBlue);
      if (lighter ? difference > 40 : difference < -60) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
    }
  }
  return right < left ? RectI{} : RectI{left, top, right - left + 1, bottom - top + 1};
}

TEST(SkinTexts, HaloLiesAroundTheGlyphs) {
  // Drawn once with invisible glyphs (a given colour 0 is transparent black, not the default)
  // and once with an invisible halo: the halo covers the glyphs' place. Regular style: Wine draws
  // the bold of WenQuanYi Zen Hei (which has none) wider than the path it makes of the same text.
  const RectF layout{100, 110, 300, 40};
  auto drawn = [&](bool glyphs) {
    SkinnedWindow skinned(kProgramBounds, {.show = false});
    TextOptions options = At(layout, 20);
    if (glyphs) {
      options.glowColor = 0;
    } else {
      options.color = 0;
    }
    skinned.Skin().AddText("Tavrel Tavrel", 0, options);
    skinned.Skin().Render();
    return ChangedBounds(ReadBuffer(skinned.Skin().GetBackDC()), {90, 100, 320, 60}, !glyphs);
  };
  const RectI glyphs = drawn(true), halo = drawn(false);
  ASSERT_GT(glyphs.width, 50);
  ASSERT_GT(halo.width, 50);
  EXPECT_NEAR(halo.x, glyphs.x, 4);
  EXPECT_NEAR(halo.y, glyphs.y, 4);
  EXPECT_NEAR(halo.x + halo.width, glyphs.x + glyphs.width, 4);
  EXPECT_NEAR(halo.y + halo.height, glyphs.y + glyphs.height, 4);
  // Both start at the box's top-left corner.
  EXPECT_GE(glyphs.x, 100);
  EXPECT_LT(glyphs.x, 110);
  EXPECT_GE(halo.x, 100);
  EXPECT_GE(halo.y, 110);
}

TEST(SkinTexts, BlurFactorLargerThanTheBoxDrawsNoHalo) {
  struct Case {
    int blurFactor;
    bool halo;
  };
  for (const Case& c : {Case{1, true}, Case{3, true}, Case{41, false}, Case{1000, false}}) {
    SCOPED_TRACE(c.blurFactor);
    SkinnedWindow skinned(kProgramBounds, {.show = false});
    // The box is 150 x 40: a factor above 40 leaves the small bitmap zero pixels high.
    TextOptions options = At({100, 110, 150, 40}, 20);
    options.blurFactor = c.blurFactor;
    skinned.Skin().AddText("Tavrel", 0, options);
    skinned.Skin().Render();
    const Contrast contrast = ContrastIn(ReadBuffer(skinned.Skin().GetBackDC()), {100, 110, 150, 40}, kFlatBlue);
    EXPECT_GT(contrast.darker, 20);
    if (c.halo) {
      EXPECT_GT(contrast.lighter, 10);
    } else {
      EXPECT_EQ(contrast.lighter, 0);
    }
  }
}

// Paint handlers: plain functions that record their calls and mark the buffer they are told of.
struct PaintCall {
  int handler;
  int code;
  int a;
  int b;
  friend bool operator==(const PaintCall&, const PaintCall&) = default;
};
std::vector<PaintCall> paintCalls;
SkinWindow* paintedSkin = nullptr;

void FillSquare(HDC dc, int x, COLORREF color) {
  RECT square{x, 120, x + 10, 130};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &square, brush);
  DeleteObject(brush);
}

template <int Number>
std::intptr_t PaintHandler(std::intptr_t code, std::intptr_t a, std::intptr_t b) {
  paintCalls.push_back({Number, static_cast<int>(code), static_cast<int>(a), static_cast<int>(b)});
  // The first handler marks the back buffer on 123 and the front buffer on 124.
  if (Number == 1 && code == PaintNotifyBackground) FillSquare(paintedSkin->GetBackDC(), 100, RGB(255, 0, 0));
  if (Number == 1 && code == PaintNotifyFront) FillSquare(paintedSkin->GetFrontDC(), 200, RGB(255, 255, 0));
  return 0;
}

HandlerAddress PaintAddress(std::intptr_t (*handler)(std::intptr_t, std::intptr_t, std::intptr_t)) {
  return AsHandler(CodeAddress(handler));
}

TEST(SkinPaintHandlers, NotifiedInRegistrationOrderSkippingRemovedOnes) {
  SkinnedWindow skinned(kProgramBounds);
  SkinWindow& skin = skinned.Skin();
  paintedSkin = &skin;
  skin.AddPaintHandler(PaintAddress(&PaintHandler<1>));
  skin.AddPaintHandler(PaintAddress(&PaintHandler<2>));
  skin.AddPaintHandler(PaintAddress(&PaintHandler<3>));
  skin.RemovePaintHandler(2);

  paintCalls.clear();
  skin.Render();
  EXPECT_EQ(paintCalls, (std::vector<PaintCall>{{1, 123, 0, 0}, {3, 123, 0, 0}, {1, 124, 0, 0}, {3, 124, 0, 0}}));
  const PixelGrid back = ReadBuffer(skin.GetBackDC());
  const PixelGrid front = ReadBuffer(skin.GetFrontDC());
  // What a handler draws on 123 is part of the back buffer and reaches the front; what it draws
  // on 124 is on the front only.
  EXPECT_EQ(back.At(105, 125), 0xFF0000u);
  EXPECT_EQ(front.At(105, 125), 0xFF0000u);
  EXPECT_LE(ColorDistance(back.At(205, 125), kFlatBlue), kTolerance);
  EXPECT_EQ(front.At(205, 125), 0xFFFF00u);

  paintCalls.clear();
  skin.Compose();
  EXPECT_EQ(paintCalls, (std::vector<PaintCall>{{1, 124, 0, 0}, {3, 124, 0, 0}}));
  skin.RemovePaintHandler(1);
  skin.RemovePaintHandler(3);
  paintedSkin = nullptr;
}

TEST(SkinCaptionButtons, DrawnAtAnOpacityOverWhatTheDeviceContextHolds) {
  SkinnedWindow skinned({100, 100, 400, 200}, {.showCaptionButtons = 1, .showMaximizeButton = 1});
  SkinWindow& skin = skinned.Skin();
  const RectI close = skin.CaptionButtonRect(CaptionButtonClose);
  ASSERT_EQ(close, (RectI{361, -1, 39, 20}));

  // The hover picture's own pixels, decoded through the flat interface.
  const resources::Bytes png = resources::CaptionPicture(CaptionButtonClose, CaptionStateHover);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, png.size());
  std::copy(png.begin(), png.end(), static_cast<std::uint8_t*>(GlobalLock(block)));
  GlobalUnlock(block);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  Gdiplus::GpBitmap* picture = nullptr;
  ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &picture), Gdiplus::Ok);
  auto pictureAt = [picture](int x, int y) {
    Gdiplus::ARGB color = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(picture, x, y, &color);
    return color;
  };

  // A surface made like the skin's buffers, filled with a ground colour before each drawing.
  constexpr Argb kGround = 0x008000;
  HDC windowDc = GetDC(skinned.Handle());
  HDC dc = CreateCompatibleDC(windowDc);
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, 400, 40);
  ReleaseDC(skinned.Handle(), windowDc);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  auto drawAt = [&](int opacity) {
    RECT all{0, 0, 400, 40};
    HBRUSH ground = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(dc, &all, ground);
    DeleteObject(ground);
    skin.DrawCaptionButton(dc, CaptionButtonClose, CaptionStateHover, opacity);
    return ReadBuffer(dc);
  };
  const PixelGrid none = drawAt(0);
  const PixelGrid partly = drawAt(40);
  const PixelGrid full = drawAt(100);

  EXPECT_EQ(CountOff(none, {0, 0, 400, 40}, kGround), 0);
  // Outside the button's rectangle nothing changes.
  EXPECT_EQ(CountOff(partly, {0, 0, 361, 40}, kGround), 0);
  EXPECT_EQ(CountOff(full, {0, 19, 400, 21}, kGround), 0);
  int checked = 0;
  for (int y = 0; y < 19; ++y) {
    for (int x = close.x; x < close.x + close.width; ++x) {
      const Argb p = full.At(x, y), q = partly.At(x, y);
      // 40 percent of the full picture's change of the ground, channel by channel.
      for (int shift : {0, 8, 16}) {
        const int g = static_cast<int>((kGround >> shift) & 0xFF);
        const int expected = g + (static_cast<int>((p >> shift) & 0xFF) - g) * 40 / 100;
        EXPECT_NEAR(static_cast<int>((q >> shift) & 0xFF), expected, 2) << x << ", " << y;
      }
      // Where the picture is a smooth ground (left of the cross), compare with its own pixel.
      if (x - close.x < 10) {
        const Gdiplus::ARGB own = pictureAt(x - close.x, y + 1);
        const double alpha = (own >> 24) / 255.0;
        for (int shift : {0, 8, 16}) {
          const int g = static_cast<int>((kGround >> shift) & 0xFF);
          const int c = static_cast<int>((own >> shift) & 0xFF);
          EXPECT_NEAR(static_cast<int>((full.At(x, y) >> shift) & 0xFF), g + (c - g) * alpha, 4) << x << ", " << y;
          EXPECT_NEAR(static_cast<int>((q >> shift) & 0xFF), g + (c - g) * alpha * 0.4, 4) << x << ", " << y;
        }
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 190);

  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  Gdiplus::DllExports::GdipDisposeImage(picture);
  stream->Release();
}

TEST(SkinCaptionButtons, ComposeDrawsNoneWithoutCaptionButtons) {
  SkinnedWindow skinned({100, 100, 400, 200});
  const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());
  const PixelGrid front = ReadBuffer(skinned.Skin().GetFrontDC());
  EXPECT_EQ(front.Area({300, 0, 100, 20}), back.Area({300, 0, 100, 20}));
  EXPECT_EQ(front.Area({0, 0, 40, 40}), back.Area({0, 0, 40, 40}));
}

// Pictures that do not decode draw nothing of themselves; everything else is drawn.

// Checks that the title, the icon and the frame are there (or not), away from each other.
void ExpectSurface(SkinnedWindow& skinned, bool icon, bool frame) {
  const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());
  EXPECT_GT(ContrastIn(back, {27, 5, 100, 30}, kFlatBlue).darker, 20) << "title";
  EXPECT_EQ(CountOff(back, kIconBox, kFlatBlue) > 100, icon) << "icon";
  EXPECT_EQ(ColorDistance(back.At(0, 120), kFlatBlue) > 50, frame) << "frame";
  EXPECT_EQ(ColorDistance(back.At(479, 120), kFlatBlue) > 50, frame) << "frame";
  EXPECT_LE(ColorDistance(back.At(240, 150), kFlatBlue), kTolerance) << "background";
}

TEST(SkinBadPictures, UndecodableIconDrawsNoIcon) {
  struct Case {
    const char* name;
    ByteBuffer icon;
    bool drawn;
  };
  const resources::Bytes programIcon = resources::ProgramIcon();
  for (const Case& c : {Case{"program icon", ByteBuffer(programIcon.begin(), programIcon.end()), true},
                        Case{"garbage", test::GarbageBytes(), false}, Case{"empty", {}, false},
                        Case{"truncated", ByteBuffer(programIcon.begin(), programIcon.begin() + 30), false}}) {
    SCOPED_TRACE(c.name);
    SkinnedWindow skinned(kProgramBounds, {.icon = c.icon});
    ExpectSurface(skinned, c.drawn, true);
  }
}

TEST(SkinBadPictures, UndecodableFrameDrawsNoFrame) {
  for (const ByteBuffer& bytes : {test::GarbageBytes(), ByteBuffer{}}) {
    SCOPED_TRACE(bytes.size());
    const resources::ScopedPictureOverride broken(resources::PictureId::FrameBorder, bytes);
    SkinnedWindow skinned(kProgramBounds);
    ExpectSurface(skinned, true, false);
  }
  // The embedded frame is back once the override has ended.
  SkinnedWindow skinned(kProgramBounds);
  ExpectSurface(skinned, true, true);
}

TEST(SkinBadPictures, UndecodableCaptionPicturesDrawNoButton) {
  // The skin copies the caption pictures when it is made: the overrides come first.
  const resources::ScopedPictureOverride normal(resources::PictureId::CaptionCloseNormal, test::GarbageBytes());
  const resources::ScopedPictureOverride hover(resources::PictureId::CaptionCloseHover, test::GarbageBytes());
  const resources::ScopedPictureOverride pressed(resources::PictureId::CaptionClosePressed, {});
  SkinnedWindow skinned({100, 100, 400, 200}, {.showCaptionButtons = 1, .showMaximizeButton = 1});
  SkinWindow& skin = skinned.Skin();
  skinned.Window().HoldDrags(true);
  const RectI close{361, 0, 39, 19}, maximize{333, 0, 28, 19};
  auto closeUntouched = [&] {
    return ReadBuffer(skin.GetFrontDC()).Area(close) == ReadBuffer(skin.GetBackDC()).Area(close);
  };
  EXPECT_TRUE(closeUntouched());
  EXPECT_NE(ReadBuffer(skin.GetFrontDC()).Area(maximize), ReadBuffer(skin.GetBackDC()).Area(maximize));
  // Hovering and pressing run their animations on pictures that draw nothing.
  skinned.Send(WM_MOUSEMOVE, 370, 5);
  EXPECT_TRUE(skin.IsCaptionHot(CaptionButtonClose));
  EXPECT_TRUE(closeUntouched());
  skinned.Send(WM_LBUTTONDOWN, 370, 5);
  EXPECT_TRUE(closeUntouched());
  skinned.Send(WM_MOUSEMOVE, 200, 100);
  EXPECT_FALSE(skin.IsCaptionHot(CaptionButtonClose));
  EXPECT_TRUE(closeUntouched());
  EXPECT_EQ(skinned.Window().SeenCount(WM_NCLBUTTONDOWN), 0);
}

TEST(SkinBadPictures, UndecodableOrMissingBackgroundImageClearsToBlack) {
  struct Case {
    const char* name;
    std::optional<ByteBuffer> image;
  };
  for (const Case& c :
       {Case{"garbage", test::GarbageBytes()}, Case{"none", std::nullopt}, Case{"empty", ByteBuffer{}}}) {
    SCOPED_TRACE(c.name);
    SkinnedWindow skinned(kProgramBounds);
    skinned.Skin().SetBackgroundImage(c.image);
    const PixelGrid back = ReadBuffer(skinned.Skin().GetBackDC());
    // The colour read from a 1 x 1 bitmap nothing was drawn into: transparent black, made opaque.
    EXPECT_EQ(CountOff(back, {6, 50, 468, 176}, 0x000000), 0);
    EXPECT_GT(CountOff(back, kIconBox, 0x000000), 100);
    skinned.Skin().SetBackgroundColor(0xC06000);
    EXPECT_LE(ColorDistance(ReadBuffer(skinned.Skin().GetBackDC()).At(240, 150), kFlatBlue), kTolerance);
  }
}

}  // namespace
}  // namespace tavrel::skin
