// PlusGraphics against Wine's real GDI+: drawing into GDI+ bitmaps and DIB sections, read back pixel
// by pixel, and sweeps over every operation with and without handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "gdiplus_objects/plus_graphics.h"
#include "tests/support/chinese_texts.h"
#include "tests/support/foreign_objects.h"
#include "tests/support/pixels.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::plus {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;
using test::ArgbBitmap;
using test::ChannelDistance;
using test::DibSurface;
using test::ForeignObject;

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kGreen = 0xFF00FF00;
constexpr Argb kBlue = 0xFF0000FF;
constexpr Argb kYellow = 0xFFFFFF00;
constexpr Argb kWhite = 0xFFFFFFFF;
constexpr Argb kBlack = 0xFF000000;
constexpr Argb kNone = 0x00000000;

// A GDI+ bitmap with a PlusGraphics drawing into it; the graphics goes first.
struct Canvas {
  Canvas(int width, int height, Argb fill = kNone) : bitmap(width, height, fill) {
    graphics.SetHandle(bitmap.NewGraphics());
  }
  ArgbBitmap bitmap;
  PlusGraphics graphics;
};

// A 20 x 10 image of four 10 x 5 quadrants: red, green above; blue, yellow below.
std::vector<Argb> QuadrantPixels() {
  std::vector<Argb> pixels;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 20; ++x) pixels.push_back(y < 5 ? (x < 10 ? kRed : kGreen) : (x < 10 ? kBlue : kYellow));
  }
  return pixels;
}

// Wraps a new raw GDI+ bitmap into the image object.
void Adopt(PlusImage& image, ArgbBitmap&& bitmap) { image.SetHandle(bitmap.Release()); }

void GivePen(PlusPen& pen, Argb color, float width = 1) {
  GpPen* handle = nullptr;
  GdipCreatePen1(color, width, UnitPixel, &handle);
  pen.SetHandle(handle);
}

void GiveSolidBrush(PlusSolidBrush& brush, Argb color) {
  GpSolidFill* handle = nullptr;
  GdipCreateSolidFill(color, &handle);
  brush.SetHandle(handle);
}

// Wine's prefix may have no generic sans-serif face; the CJK face of the test machine is there.
void GiveFont(PlusFont& font, float size = 12) {
  GpFontFamily* family = nullptr;
  if (GdipGetGenericFontFamilySansSerif(&family) != Ok) {
    GdipCreateFontFamilyFromName(L"WenQuanYi Zen Hei", nullptr, &family);
  }
  GpFont* handle = nullptr;
  GdipCreateFont(family, size, FontStyleRegular, UnitPixel, &handle);
  GdipDeleteFontFamily(family);
  font.SetHandle(handle);
}

void GiveFormat(PlusStringFormat& format) {
  GpStringFormat* handle = nullptr;
  GdipCreateStringFormat(0, LANG_NEUTRAL, &handle);
  format.SetHandle(handle);
}

void GiveRectRegion(PlusRegion& region, const RectF& rect) {
  GpRegion* handle = nullptr;
  GdipCreateRegionRect(Packed(rect), &handle);
  region.SetHandle(handle);
}

void GiveRectPath(PlusPath& path, const RectF& rect) {
  GpPath* handle = nullptr;
  GdipCreatePath(FillModeAlternate, &handle);
  GdipAddPathRectangle(handle, rect.x, rect.y, rect.width, rect.height);
  path.SetHandle(handle);
}

RectF RegionBounds(const PlusRegion& region, const PlusGraphics& graphics) {
  RectF bounds;
  GdipGetRegionBounds(region.GetHandle(), graphics.GetHandle(), Packed(bounds));
  return bounds;
}

// A hidden top-level window for the window-based creates.
class TestWindow {
 public:
  TestWindow() : window(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr)) {}
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() { DestroyWindow(window); }
  HWND Handle() const { return window; }

 private:
  HWND window;
};

// --- Lifecycle and the last status ---

TEST(PlusGraphicsLifecycle, NewObjectHasNoHandle) {
  PlusGraphics graphics;
  EXPECT_EQ(graphics.GetHandle(), nullptr);
}

TEST(PlusGraphicsLifecycle, DisposeWithoutHandleAnswersFalseAndLeavesTheLastStatus) {
  PlusGraphics graphics;
  Record(Win32Error);
  EXPECT_FALSE(graphics.Dispose());
  EXPECT_EQ(lastStatus, Win32Error);
}

TEST(PlusGraphicsLifecycle, DisposeAfterCreateFromHdcClearsTheHandle) {
  DibSurface surface(8, 8);
  PlusGraphics graphics;
  ASSERT_TRUE(graphics.CreateFromHDC(surface.Dc()));
  EXPECT_NE(graphics.GetHandle(), nullptr);
  EXPECT_TRUE(graphics.Dispose());
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(graphics.GetHandle(), nullptr);
  EXPECT_FALSE(graphics.Dispose());
}

TEST(PlusGraphicsLifecycle, EveryCreateAnswersWithItsStatusAndKeepsWhatGdiplusGave) {
  DibSurface surface(8, 8);
  TestWindow window;
  PlusImage image;
  Adopt(image, ArgbBitmap(8, 8));
  PlusImage noImage;
  struct Case {
    const char* name;
    std::function<bool(PlusGraphics&)> create;
    Status expected;
  };
  const Case cases[] = {
      {"CreateFromHDC", [&](PlusGraphics& g) { return g.CreateFromHDC(surface.Dc()); }, Ok},
      {"CreateFromHDC with a device", [&](PlusGraphics& g) { return g.CreateFromHDC(surface.Dc(), nullptr); }, Ok},
      {"CreateFromHDC of no device context", [&](PlusGraphics& g) { return g.CreateFromHDC(nullptr); }, OutOfMemory},
      {"CreateFromHWND", [&](PlusGraphics& g) { return g.CreateFromHWND(window.Handle()); }, Ok},
      {"CreateFromHWND without ICM", [&](PlusGraphics& g) { return g.CreateFromHWND(window.Handle(), false); }, Ok},
      {"CreateFromHWND with ICM", [&](PlusGraphics& g) { return g.CreateFromHWND(window.Handle(), true); }, Ok},
      {"CreateFromImage", [&](PlusGraphics& g) { return g.CreateFromImage(image); }, Ok},
      {"CreateFromImage of no image", [&](PlusGraphics& g) { return g.CreateFromImage(noImage); }, InvalidParameter},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusGraphics graphics;
    EXPECT_EQ(c.create(graphics), c.expected == Ok);
    EXPECT_EQ(lastStatus, c.expected);
    EXPECT_EQ(graphics.GetHandle() != nullptr, c.expected == Ok);
  }
}

TEST(PlusGraphicsLastStatus, HoldsTheStatusOfTheSecondOfTwoOperationsOnTwoObjects) {
  Canvas canvas(4, 4);
  PlusGraphics noHandle;
  EXPECT_FALSE(noHandle.SetSmoothingMode(SmoothingModeAntiAlias));
  EXPECT_TRUE(canvas.graphics.SetSmoothingMode(SmoothingModeAntiAlias));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_TRUE(canvas.graphics.SetSmoothingMode(SmoothingModeAntiAlias));
  EXPECT_FALSE(noHandle.SetSmoothingMode(SmoothingModeAntiAlias));
  EXPECT_EQ(lastStatus, InvalidParameter);
}

TEST(PlusGraphicsLastStatus, AGetterWithoutHandleAnswersZeroAndInvalidParameter) {
  PlusGraphics graphics;
  const std::pair<const char*, std::function<RectF()>> floatCases[] = {
      {"GetClipBounds", [&] { return graphics.GetClipBounds(); }},
      {"GetVisibleClipBounds", [&] { return graphics.GetVisibleClipBounds(); }},
  };
  for (const auto& [name, call] : floatCases) {
    SCOPED_TRACE(name);
    Record(Ok);
    EXPECT_EQ(call(), RectF{});
    EXPECT_EQ(lastStatus, InvalidParameter);
  }
  const std::pair<const char*, std::function<RectI()>> intCases[] = {
      {"GetClipBoundsI", [&] { return graphics.GetClipBoundsI(); }},
      {"GetVisibleClipBoundsI", [&] { return graphics.GetVisibleClipBoundsI(); }},
  };
  for (const auto& [name, call] : intCases) {
    SCOPED_TRACE(name);
    Record(Ok);
    EXPECT_EQ(call(), RectI{});
    EXPECT_EQ(lastStatus, InvalidParameter);
  }
}

// --- Settings ---

TEST(PlusGraphicsSettings, EverySetterIsReadBackByItsGetter) {
  Canvas canvas(4, 4);
  PlusGraphics& g = canvas.graphics;
  struct Case {
    const char* name;
    std::function<bool()> set;
    std::function<double()> get;
    double expected;
  };
  const Case cases[] = {
      {"CompositingMode", [&] { return g.SetCompositingMode(CompositingModeSourceCopy); },
       [&] { return g.GetCompositingMode(); }, CompositingModeSourceCopy},
      {"CompositingQuality", [&] { return g.SetCompositingQuality(CompositingQualityHighQuality); },
       [&] { return g.GetCompositingQuality(); }, CompositingQualityHighQuality},
      {"SmoothingMode", [&] { return g.SetSmoothingMode(SmoothingModeAntiAlias); },
       [&] { return g.GetSmoothingMode(); }, SmoothingModeAntiAlias},
      {"TextRenderingHint", [&] { return g.SetTextRenderingHint(TextRenderingHintAntiAlias); },
       [&] { return g.GetTextRenderingHint(); }, TextRenderingHintAntiAlias},
      {"InterpolationMode", [&] { return g.SetInterpolationMode(InterpolationModeNearestNeighbor); },
       [&] { return g.GetInterpolationMode(); }, InterpolationModeNearestNeighbor},
      {"PixelOffsetMode", [&] { return g.SetPixelOffsetMode(PixelOffsetModeHalf); },
       [&] { return g.GetPixelOffsetMode(); }, PixelOffsetModeHalf},
      {"PageUnit", [&] { return g.SetPageUnit(UnitMillimeter); }, [&] { return g.GetPageUnit(); }, UnitMillimeter},
      {"PageScale", [&] { return g.SetPageScale(2.5f); }, [&] { return g.GetPageScale(); }, 2.5},
      {"TextContrast", [&] { return g.SetTextContrast(7); }, [&] { return g.GetTextContrast(); }, 7},
      {"RenderingOrigin", [&] { return g.SetRenderingOrigin(3, -4); },
       [&] {
         INT x = 0, y = 0;
         g.GetRenderingOrigin(x, y);
         return x * 100.0 + y;
       },
       296},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.set());
    EXPECT_EQ(c.get(), c.expected);
    EXPECT_EQ(lastStatus, Ok);
  }
}

TEST(PlusGraphicsSettings, DpiIsPositiveAndTheNearestColourOfAnArgbBitmapIsTheColour) {
  Canvas canvas(4, 4);
  EXPECT_GT(canvas.graphics.GetDpiX(), 0);
  EXPECT_GT(canvas.graphics.GetDpiY(), 0);
  EXPECT_EQ(canvas.graphics.GetNearestColor(0x80336699), 0x80336699u);
  EXPECT_EQ(lastStatus, Ok);
}

// --- Clear ---

TEST(PlusGraphicsClear, FillsWithTheColourGivenAndOpaqueWhiteWithoutOne) {
  const std::pair<std::optional<Argb>, Argb> cases[] = {
      {std::nullopt, kWhite},
      {kNone, kNone},  // a given 0 stays 0
      {0xFF336699, 0xFF336699},
  };
  for (const auto& [color, expected] : cases) {
    SCOPED_TRACE(color ? *color : 0xDEADBEEF);
    Canvas canvas(6, 4, 0x12345678);
    EXPECT_TRUE(canvas.graphics.Clear(color));
    for (Argb pixel : canvas.bitmap.Pixels()) ASSERT_EQ(pixel, expected);
  }
}

TEST(PlusGraphicsClear, ClearsADibSectionThroughItsDeviceContextToWhite) {
  DibSurface surface(6, 4, 0x00123456);
  PlusGraphics graphics;
  ASSERT_TRUE(graphics.CreateFromHDC(surface.Dc()));
  EXPECT_TRUE(graphics.Clear());
  ASSERT_TRUE(graphics.Dispose());
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) EXPECT_EQ(surface.Pixel(x, y) & 0x00FFFFFF, 0x00FFFFFFu);
  }
}

// --- Lists ---

TEST(PlusGraphicsLists, AnEmptyListAnswersInvalidParameter) {
  Canvas canvas(8, 8);
  PlusGraphics& g = canvas.graphics;
  PlusPen pen;
  GivePen(pen, kBlack);
  PlusSolidBrush brush;
  GiveSolidBrush(brush, kBlack);
  std::vector<PointF> points;
  std::vector<PointI> pointsI;
  const std::vector<RectF> rects;
  const std::vector<RectI> rectsI;
  const std::pair<const char*, std::function<bool()>> cases[] = {
      {"TransformPoints", [&] { return g.TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points); }},
      {"TransformPointsI", [&] { return g.TransformPointsI(CoordinateSpaceDevice, CoordinateSpaceWorld, pointsI); }},
      {"DrawLines", [&] { return g.DrawLines(pen, points); }},
      {"DrawLinesI", [&] { return g.DrawLinesI(pen, pointsI); }},
      {"DrawBeziers", [&] { return g.DrawBeziers(pen, points); }},
      {"DrawBeziersI", [&] { return g.DrawBeziersI(pen, pointsI); }},
      {"DrawRectangles", [&] { return g.DrawRectangles(pen, rects); }},
      {"DrawRectanglesI", [&] { return g.DrawRectanglesI(pen, rectsI); }},
      {"DrawPolygon", [&] { return g.DrawPolygon(pen, points); }},
      {"DrawPolygonI", [&] { return g.DrawPolygonI(pen, pointsI); }},
      {"DrawCurve", [&] { return g.DrawCurve(pen, points); }},
      {"DrawCurveI", [&] { return g.DrawCurveI(pen, pointsI); }},
      {"DrawCurve2", [&] { return g.DrawCurve2(pen, points, 0.5f); }},
      {"DrawCurve2I", [&] { return g.DrawCurve2I(pen, pointsI, 0.5f); }},
      {"DrawCurve3", [&] { return g.DrawCurve3(pen, points, 0, 0, 0.5f); }},
      {"DrawCurve3I", [&] { return g.DrawCurve3I(pen, pointsI, 0, 0, 0.5f); }},
      {"DrawClosedCurve", [&] { return g.DrawClosedCurve(pen, points); }},
      {"DrawClosedCurveI", [&] { return g.DrawClosedCurveI(pen, pointsI); }},
      {"DrawClosedCurve2", [&] { return g.DrawClosedCurve2(pen, points, 0.5f); }},
      {"DrawClosedCurve2I", [&] { return g.DrawClosedCurve2I(pen, pointsI, 0.5f); }},
      {"FillRectangles", [&] { return g.FillRectangles(brush, rects); }},
      {"FillRectanglesI", [&] { return g.FillRectanglesI(brush, rectsI); }},
      {"FillPolygon", [&] { return g.FillPolygon(brush, points); }},
      {"FillPolygonI", [&] { return g.FillPolygonI(brush, pointsI); }},
      {"FillClosedCurve", [&] { return g.FillClosedCurve(brush, points); }},
      {"FillClosedCurve2", [&] { return g.FillClosedCurve2(brush, points, 0.5f); }},
      {"FillClosedCurveI", [&] { return g.FillClosedCurveI(brush, pointsI); }},
      {"FillClosedCurve2I", [&] { return g.FillClosedCurve2I(brush, pointsI, 0.5f); }},
  };
  for (const auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    Record(Ok);
    EXPECT_FALSE(call());
    EXPECT_EQ(lastStatus, InvalidParameter);
  }
}

TEST(PlusGraphicsLists, TransformPointsWritesTheResultsBackIntoTheCallersRecords) {
  Canvas canvas(8, 8);
  ASSERT_TRUE(canvas.graphics.ScaleTransform(2, 3));
  std::vector<PointF> points = {{1, 1}, {2.5f, -4}};
  EXPECT_TRUE(canvas.graphics.TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points));
  EXPECT_EQ(points, (std::vector<PointF>{{2, 3}, {5, -12}}));
  EXPECT_TRUE(canvas.graphics.TransformPoints(CoordinateSpaceWorld, CoordinateSpaceDevice, points));
  EXPECT_EQ(points, (std::vector<PointF>{{1, 1}, {2.5f, -4}}));
  std::vector<PointI> pointsI = {{1, 1}, {3, -4}};
  EXPECT_TRUE(canvas.graphics.TransformPointsI(CoordinateSpaceDevice, CoordinateSpaceWorld, pointsI));
  EXPECT_EQ(pointsI, (std::vector<PointI>{{2, 3}, {6, -12}}));
}

TEST(PlusGraphicsLists, ListsAreDrawnInTheirOrder) {
  Canvas canvas(40, 40, kWhite);
  PlusPen pen;
  GivePen(pen, kBlack);
  // An L: down the left edge, then along the bottom; the diagonal of the other order stays white.
  ASSERT_TRUE(canvas.graphics.DrawLines(pen, {{5, 5}, {5, 30}, {30, 30}}));
  EXPECT_EQ(canvas.bitmap.Pixel(5, 20), kBlack);
  EXPECT_EQ(canvas.bitmap.Pixel(20, 30), kBlack);
  EXPECT_EQ(canvas.bitmap.Pixel(17, 17), kWhite);
  PlusSolidBrush brush;
  GiveSolidBrush(brush, kRed);
  ASSERT_TRUE(canvas.graphics.FillRectanglesI(brush, {{10, 10, 4, 4}, {20, 10, 4, 4}}));
  EXPECT_EQ(canvas.bitmap.Pixel(11, 11), kRed);
  EXPECT_EQ(canvas.bitmap.Pixel(21, 11), kRed);
  EXPECT_EQ(canvas.bitmap.Pixel(17, 11), kWhite);
}

// --- Transforms, states and containers ---

TEST(PlusGraphicsTransform, OrdersDefaultToPrependAndMatricesGoThroughTheirHandles) {
  struct Case {
    const char* name;
    std::function<void(PlusGraphics&)> apply;
    std::vector<float> expected;
  };
  const ForeignObject shift = test::NewMatrix(1, 0, 0, 1, 7, 9);
  const Case cases[] = {
      {"translate", [](PlusGraphics& g) { g.TranslateTransform(5, 7); }, {1, 0, 0, 1, 5, 7}},
      {"scale then translate, prepended",
       [](PlusGraphics& g) {
         g.ScaleTransform(2, 2);
         g.TranslateTransform(5, 0);
       },
       {2, 0, 0, 2, 10, 0}},
      {"scale then translate, appended",
       [](PlusGraphics& g) {
         g.ScaleTransform(2, 2);
         g.TranslateTransform(5, 0, MatrixOrderAppend);
       },
       {2, 0, 0, 2, 5, 0}},
      {"translate then scale, prepended",
       [](PlusGraphics& g) {
         g.TranslateTransform(5, 0);
         g.ScaleTransform(2, 2);
       },
       {2, 0, 0, 2, 5, 0}},
      {"translate then rotate by 90, prepended",
       [](PlusGraphics& g) {
         g.TranslateTransform(5, 0);
         g.RotateTransform(90);
       },
       {0, 1, -1, 0, 5, 0}},
      {"translate then rotate by 90, appended",
       [](PlusGraphics& g) {
         g.TranslateTransform(5, 0);
         g.RotateTransform(90, MatrixOrderAppend);
       },
       {0, 1, -1, 0, 0, 5}},
      {"set", [&](PlusGraphics& g) { g.SetTransform(shift); }, {1, 0, 0, 1, 7, 9}},
      {"scale then multiply",
       [&](PlusGraphics& g) {
         g.ScaleTransform(2, 2);
         g.MultiplyTransform(shift);
       },
       {2, 0, 0, 2, 14, 18}},
      {"reset",
       [](PlusGraphics& g) {
         g.ScaleTransform(2, 2);
         g.ResetTransform();
       },
       {1, 0, 0, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(4, 4);
    c.apply(canvas.graphics);
    EXPECT_EQ(lastStatus, Ok);
    ForeignObject matrix = test::NewMatrix();
    EXPECT_TRUE(canvas.graphics.GetTransform(matrix));
    const std::vector<float> elements = test::MatrixElements(matrix);
    for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(elements[i], c.expected[i], 1e-5) << i;
  }
}

TEST(PlusGraphicsTransform, RestoreAndEndContainerUndoWhatCameAfter) {
  const auto transformed = [](PlusGraphics& g) {
    std::vector<PointF> point = {{10, 10}};
    g.TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, point);
    return point[0];
  };
  Canvas canvas(8, 8);
  PlusGraphics& g = canvas.graphics;
  const GraphicsState state = g.Save();
  EXPECT_EQ(lastStatus, Ok);
  g.TranslateTransform(5, 0);
  EXPECT_TRUE(g.Restore(state));
  EXPECT_EQ(transformed(g), (PointF{10, 10}));

  const GraphicsContainer plain = g.BeginContainer2();
  EXPECT_EQ(lastStatus, Ok);
  g.TranslateTransform(5, 0);
  EXPECT_EQ(transformed(g), (PointF{15, 10}));
  EXPECT_TRUE(g.EndContainer(plain));
  EXPECT_EQ(transformed(g), (PointF{10, 10}));

  // A container maps its source rectangle onto its destination: here a scale by 2.
  const GraphicsContainer scaled = g.BeginContainer({0, 0, 200, 100}, {0, 0, 100, 50}, UnitPixel);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(transformed(g), (PointF{20, 20}));
  EXPECT_TRUE(g.EndContainer(scaled));
  const GraphicsContainer scaledI = g.BeginContainerI({0, 0, 300, 300}, {0, 0, 100, 100}, UnitPixel);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(transformed(g), (PointF{30, 30}));
  EXPECT_TRUE(g.EndContainer(scaledI));
  EXPECT_EQ(transformed(g), (PointF{10, 10}));
}

// --- Clipping ---

TEST(PlusGraphicsClip, TheClipOperationsSetWhatTheBoundsAndVisibilityReport) {
  TestWindow window;
  PlusRegion region;
  GiveRectRegion(region, {2, 3, 10, 20});
  PlusPath path;
  GiveRectPath(path, {4, 5, 6, 7});
  Canvas other(100, 60);
  other.graphics.SetClipRectI(1, 1, 8, 8);
  struct Case {
    const char* name;
    std::function<bool(PlusGraphics&)> clip;
    RectF bounds;
  };
  const Case cases[] = {
      {"SetClipRect", [](PlusGraphics& g) { return g.SetClipRect(10, 20, 30, 40); }, {10, 20, 30, 40}},
      {"SetClipRectI", [](PlusGraphics& g) { return g.SetClipRectI(10, 20, 30, 40); }, {10, 20, 30, 40}},
      {"SetClipRect intersected",
       [](PlusGraphics& g) {
         return g.SetClipRect(0, 0, 50, 50) && g.SetClipRect(25, 25, 50, 50, CombineModeIntersect);
       },
       {25, 25, 25, 25}},
      {"SetClipRegion", [&](PlusGraphics& g) { return g.SetClipRegion(region); }, {2, 3, 10, 20}},
      {"SetClipPath", [&](PlusGraphics& g) { return g.SetClipPath(path); }, {4, 5, 6, 7}},
      {"SetClipGraphics", [&](PlusGraphics& g) { return g.SetClipGraphics(other.graphics); }, {1, 1, 8, 8}},
      {"SetClipHrgn",
       [](PlusGraphics& g) {
         HRGN gdiRegion = CreateRectRgn(1, 2, 11, 32);
         const bool ok = g.SetClipHrgn(gdiRegion);
         DeleteObject(gdiRegion);
         return ok;
       },
       {1, 2, 10, 30}},
      {"TranslateClip",
       [](PlusGraphics& g) { return g.SetClipRect(10, 20, 30, 40) && g.TranslateClip(5, -5); },
       {15, 15, 30, 40}},
      {"TranslateClipI",
       [](PlusGraphics& g) { return g.SetClipRect(10, 20, 30, 40) && g.TranslateClipI(-5, 5); },
       {5, 25, 30, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(100, 60);
    PlusGraphics& g = canvas.graphics;
    ASSERT_TRUE(c.clip(g));
    EXPECT_EQ(g.GetClipBounds(), c.bounds);
    const RectI boundsI{static_cast<INT>(c.bounds.x), static_cast<INT>(c.bounds.y), static_cast<INT>(c.bounds.width),
                        static_cast<INT>(c.bounds.height)};
    EXPECT_EQ(g.GetClipBoundsI(), boundsI);
    EXPECT_FALSE(g.IsClipEmpty());
    EXPECT_TRUE(g.IsVisiblePoint(c.bounds.x + 0.5f, c.bounds.y + 0.5f));
    EXPECT_TRUE(g.IsVisiblePointI(boundsI.x, boundsI.y));
    EXPECT_FALSE(g.IsVisiblePoint(c.bounds.x - 1, c.bounds.y));
    EXPECT_FALSE(g.IsVisiblePointI(boundsI.x + boundsI.width, boundsI.y));
    EXPECT_TRUE(g.IsVisibleRect(c.bounds.x, c.bounds.y, 1, 1));
    EXPECT_FALSE(g.IsVisibleRectI(boundsI.x + boundsI.width, boundsI.y, 1, 1));
    PlusRegion clip;
    GiveRectRegion(clip, {0, 0, 1, 1});
    EXPECT_TRUE(g.GetClip(clip));
    EXPECT_EQ(RegionBounds(clip, g), c.bounds);
  }
}

TEST(PlusGraphicsClip, VisibleBoundsAreCutToTheSurfaceAndAnEmptyClipIsEmpty) {
  Canvas canvas(100, 60);
  PlusGraphics& g = canvas.graphics;
  ASSERT_TRUE(g.SetClipRect(90, 50, 30, 30));
  EXPECT_EQ(g.GetVisibleClipBounds(), (RectF{90, 50, 10, 10}));
  EXPECT_EQ(g.GetVisibleClipBoundsI(), (RectI{90, 50, 10, 10}));
  EXPECT_FALSE(g.IsVisibleClipEmpty());
  ASSERT_TRUE(g.SetClipRect(0, 0, 0, 0));
  EXPECT_TRUE(g.IsClipEmpty());
  EXPECT_TRUE(g.IsVisibleClipEmpty());
  ASSERT_TRUE(g.ResetClip());
  EXPECT_FALSE(g.IsClipEmpty());
  EXPECT_EQ(g.GetVisibleClipBoundsI(), (RectI{0, 0, 100, 60}));
}

// --- Images ---

// Where a point of the image, in fractions of its width and height, lands in the parallelogram.
PointF Mapped(const PointF corners[3], float u, float v) {
  return {corners[0].x + u * (corners[1].x - corners[0].x) + v * (corners[2].x - corners[0].x),
          corners[0].y + u * (corners[1].y - corners[0].y) + v * (corners[2].y - corners[0].y)};
}

TEST(PlusGraphicsImages, DrawImagePointsMapsTheImageOntoTheParallelogramOfItsThreeCorners) {
  struct Case {
    const char* name;
    PointF corners[3];  // upper-left, upper-right, lower-left
    std::vector<PointI> outside;
  };
  const Case cases[] = {
      {"upright, scaled by 5", {{0, 0}, {100, 0}, {0, 50}}, {{100, 25}, {50, 50}}},
      {"mirrored", {{100, 0}, {0, 0}, {100, 50}}, {{100, 25}, {50, 50}}},
      {"sheared", {{20, 0}, {100, 0}, {0, 50}}, {{10, 5}, {90, 45}}},
  };
  const std::pair<PointF, Argb> quadrantCentres[] = {
      {{0.25f, 0.25f}, kRed}, {{0.75f, 0.25f}, kGreen}, {{0.25f, 0.75f}, kBlue}, {{0.75f, 0.75f}, kYellow}};
  for (bool integers : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (integers ? " (I)" : ""));
      Canvas canvas(110, 60);
      PlusImage image;
      Adopt(image, ArgbBitmap(20, 10, QuadrantPixels()));
      canvas.graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
      const PointF* p = c.corners;
      if (integers) {
        ASSERT_TRUE(canvas.graphics.DrawImagePointsI(image, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y));
      } else {
        ASSERT_TRUE(canvas.graphics.DrawImagePoints(image, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y));
      }
      for (const auto& [where, color] : quadrantCentres) {
        const PointF at = Mapped(c.corners, where.x, where.y);
        EXPECT_EQ(canvas.bitmap.Pixel(static_cast<int>(at.x), static_cast<int>(at.y)), color)
            << "at " << at.x << "," << at.y;
      }
      for (const PointI& at : c.outside) EXPECT_EQ(canvas.bitmap.Pixel(at.x, at.y), kNone) << at.x << "," << at.y;
    }
  }
}

// A 39 x 20 image of three bands, red, green and blue, each lighter in its lower half.
std::vector<Argb> BandPixels() {
  std::vector<Argb> pixels;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 39; ++x) {
      const Argb band = x < 13 ? kRed : x < 26 ? kGreen : kBlue;
      pixels.push_back(y < 10 ? band : band | 0xFF808080);
    }
  }
  return pixels;
}

TEST(PlusGraphicsImages, DrawImageRectScalesTheWholeImageInPixelsByDefault) {
  const std::vector<Argb> source = BandPixels();
  const std::pair<const char*, std::function<bool(PlusGraphics&, PlusImage&)>> cases[] = {
      {"DrawImageRect", [](PlusGraphics& g, PlusImage& image) { return g.DrawImageRect(image, 0, 0, 78, 40); }},
      {"DrawImageRectI", [](PlusGraphics& g, PlusImage& image) { return g.DrawImageRectI(image, 0, 0, 78, 40); }},
      {"DrawImageRect in pixels",
       [](PlusGraphics& g, PlusImage& image) { return g.DrawImageRect(image, 0, 0, 78, 40, UnitPixel); }},
  };
  for (const auto& [name, draw] : cases) {
    SCOPED_TRACE(name);
    Canvas canvas(82, 44);
    PlusImage image;
    Adopt(image, ArgbBitmap(39, 20, source));
    canvas.graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    canvas.graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
    ASSERT_TRUE(draw(canvas.graphics, image));
    EXPECT_EQ(lastStatus, Ok);
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 39; ++x) {
        ASSERT_EQ(canvas.bitmap.Pixel(2 * x + 1, 2 * y + 1), source[y * 39 + x]) << x << "," << y;
      }
    }
    EXPECT_EQ(canvas.bitmap.Pixel(77, 39), source.back());
    EXPECT_EQ(canvas.bitmap.Pixel(78, 20), kNone);
    EXPECT_EQ(canvas.bitmap.Pixel(40, 40), kNone);
  }
}

// The probes keep two pixels from the edges of what is drawn: there GDI+ blends the last source
// pixels with the clamp colour of the attributes.
TEST(PlusGraphicsImages, ThePointAndRectangleFormsDrawTheSourcePartWhereTheySay) {
  PlusImageAttributes attributes;
  ASSERT_TRUE(attributes.Create());
  struct Case {
    const char* name;
    std::function<bool(PlusGraphics&, const PlusImage&)> draw;
    std::vector<std::pair<PointI, Argb>> expected;
  };
  const Case cases[] = {
      {"DrawImage",
       [](PlusGraphics& g, const PlusImage& i) { return g.DrawImage(i, 30, 20); },
       {{{31, 21}, kRed}, {{48, 28}, kYellow}, {{29, 21}, kNone}, {{50, 21}, kNone}}},
      {"DrawImageI",
       [](PlusGraphics& g, const PlusImage& i) { return g.DrawImageI(i, 30, 20); },
       {{{31, 21}, kRed}, {{48, 28}, kYellow}, {{29, 21}, kNone}, {{50, 21}, kNone}}},
      // The green quadrant alone, at (5, 5).
      {"DrawImagePointRect",
       [](PlusGraphics& g, const PlusImage& i) { return g.DrawImagePointRect(i, 5, 5, 10, 0, 10, 5); },
       {{{6, 6}, kGreen}, {{14, 9}, kGreen}, {{16, 6}, kNone}, {{6, 11}, kNone}}},
      {"DrawImagePointRectI",
       [](PlusGraphics& g, const PlusImage& i) { return g.DrawImagePointRectI(i, 5, 5, 10, 0, 10, 5); },
       {{{6, 6}, kGreen}, {{14, 9}, kGreen}, {{16, 6}, kNone}, {{6, 11}, kNone}}},
      // The lower half, stretched to 40 x 20 at (10, 10).
      {"DrawImageRectRect",
       [&](PlusGraphics& g, const PlusImage& i) {
         return g.DrawImageRectRect(i, 10, 10, 40, 20, 0, 5, 20, 5, std::nullopt, attributes);
       },
       {{{12, 12}, kBlue}, {{46, 25}, kYellow}, {{12, 31}, kNone}, {{51, 12}, kNone}}},
      {"DrawImageRectRectI",
       [&](PlusGraphics& g, const PlusImage& i) {
         return g.DrawImageRectRectI(i, 10, 10, 40, 20, 0, 5, 20, 5, std::nullopt, attributes);
       },
       {{{12, 12}, kBlue}, {{46, 25}, kYellow}, {{12, 31}, kNone}, {{51, 12}, kNone}}},
      // The left half, mirrored into (50, 0) (10, 0) (50, 40).
      {"DrawImagePointsRect",
       [&](PlusGraphics& g, const PlusImage& i) {
         return g.DrawImagePointsRect(i, 50, 0, 10, 0, 50, 40, 0, 0, 10, 10, std::nullopt, attributes);
       },
       {{{48, 2}, kRed}, {{16, 35}, kBlue}, {{52, 2}, kNone}, {{8, 2}, kNone}}},
      {"DrawImagePointsRectI",
       [&](PlusGraphics& g, const PlusImage& i) {
         return g.DrawImagePointsRectI(i, 50, 0, 10, 0, 50, 40, 0, 0, 10, 10, std::nullopt, attributes);
       },
       {{{48, 2}, kRed}, {{16, 35}, kBlue}, {{52, 2}, kNone}, {{8, 2}, kNone}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(60, 44);
    PlusImage image;
    Adopt(image, ArgbBitmap(20, 10, QuadrantPixels()));
    canvas.graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    ASSERT_TRUE(c.draw(canvas.graphics, image));
    for (const auto& [at, color] : c.expected) EXPECT_EQ(canvas.bitmap.Pixel(at.x, at.y), color) << at.x << "," << at.y;
  }
}

TEST(PlusGraphicsImages, DrawCachedBitmapRoundsItsPositionToTheNearestPixel) {
  const std::pair<PointF, PointI> cases[] = {
      {{10.6f, 20.4f}, {11, 20}},
      {{10.4f, 20.5f}, {10, 21}},
  };
  for (const auto& [at, corner] : cases) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    Canvas canvas(40, 40);
    ArgbBitmap source(20, 10, QuadrantPixels());
    const ForeignObject cached = test::NewCachedBitmap(source.Handle(), canvas.graphics.GetHandle());
    ASSERT_TRUE(canvas.graphics.DrawCachedBitmap(cached, at.x, at.y));
    EXPECT_EQ(canvas.bitmap.Pixel(corner.x, corner.y), kRed);
    EXPECT_EQ(canvas.bitmap.Pixel(corner.x + 19, corner.y + 9), kYellow);
    EXPECT_EQ(canvas.bitmap.Pixel(corner.x - 1, corner.y), kNone);
    EXPECT_EQ(canvas.bitmap.Pixel(corner.x, corner.y - 1), kNone);
  }
}

// --- Metafiles ---

BOOL CALLBACK CountRecord(EmfPlusRecordType, UINT, UINT, const BYTE*, VOID* data) {
  ++*static_cast<int*>(data);
  return TRUE;
}

TEST(PlusGraphicsMetafiles, EveryEnumerationCallsTheCallbackWithItsDataForTheRecords) {
  DibSurface reference(8, 8);
  const ForeignObject metafile = test::NewMetafile(reference.Dc(), {0, 0, 20, 20}, [](GpGraphics* g) {
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(kRed, &brush);
    GdipFillRectangleI(g, brush, 2, 2, 10, 10);
    GdipDeleteBrush(brush);
  });
  ASSERT_NE(metafile.GetHandle(), nullptr);
  PlusImageAttributes attributes;
  const std::vector<PointF> corners = {{0, 0}, {20, 0}, {0, 20}};
  const std::vector<PointI> cornersI = {{0, 0}, {20, 0}, {0, 20}};
  const RectF source{0, 0, 20, 20};
  const RectI sourceI{0, 0, 20, 20};
  struct Case {
    const char* name;
    const char* gdipFunction;
    std::function<bool(PlusGraphics&, int*)> enumerate;
  };
  const Case cases[] = {
      {"EnumerateMetafileDestPoint", "GdipEnumerateMetafileDestPoint",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileDestPoint(metafile, {0, 0}, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileDestPointI", "GdipEnumerateMetafileDestPointI",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileDestPointI(metafile, {0, 0}, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileDestPoints", "GdipEnumerateMetafileDestPoints",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileDestPoints(metafile, corners, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileDestPointsI", "GdipEnumerateMetafileDestPointsI",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileDestPointsI(metafile, cornersI, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileDestRect", "GdipEnumerateMetafileDestRect",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileDestRect(metafile, {0, 0, 20, 20}, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileDestRectI", "GdipEnumerateMetafileDestRectI",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileDestRectI(metafile, {0, 0, 20, 20}, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileSrcRectDestPoint", "GdipEnumerateMetafileSrcRectDestPoint",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileSrcRectDestPoint(metafile, {0, 0}, source, UnitPixel, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileSrcRectDestPointI", "GdipEnumerateMetafileSrcRectDestPointI",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileSrcRectDestPointI(metafile, {0, 0}, sourceI, UnitPixel, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileSrcRectDestPoints", "GdipEnumerateMetafileSrcRectDestPoints",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileSrcRectDestPoints(metafile, corners, source, UnitPixel, CountRecord, n, attributes);
       }},
      {"EnumerateMetafileSrcRectDestPointsI", "GdipEnumerateMetafileSrcRectDestPointsI",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileSrcRectDestPointsI(metafile, cornersI, sourceI, UnitPixel, CountRecord, n,
                                                      attributes);
       }},
      {"EnumerateMetafileSrcRectDestRect", "GdipEnumerateMetafileSrcRectDestRect",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileSrcRectDestRect(metafile, {0, 0, 20, 20}, source, UnitPixel, CountRecord, n,
                                                   attributes);
       }},
      {"EnumerateMetafileSrcRectDestRectI", "GdipEnumerateMetafileSrcRectDestRectI",
       [&](PlusGraphics& g, int* n) {
         return g.EnumerateMetafileSrcRectDestRectI(metafile, {0, 0, 20, 20}, sourceI, UnitPixel, CountRecord, n,
                                                    attributes);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (test::IsWineStub(c.gdipFunction)) continue;
    Canvas canvas(20, 20);
    int records = 0;
    EXPECT_TRUE(c.enumerate(canvas.graphics, &records));
    EXPECT_GT(records, 0);
  }
}

// Wine 8.0 implements no comment records: GdipComment answers NotImplemented on any graphics.
TEST(PlusGraphicsMetafiles, CommentAddsARecordToTheMetafileTheGraphicsRecordsInto) {
  DibSurface reference(8, 8);
  GpMetafile* recording = nullptr;
  const Gdiplus::RectF frame(0, 0, 20, 20);
  ASSERT_EQ(GdipRecordMetafile(reference.Dc(), EmfTypeEmfPlusOnly, &frame, MetafileFrameUnitPixel, nullptr, &recording),
            Ok);
  PlusImage metafile;
  metafile.SetHandle(recording);
  PlusGraphics graphics;
  ASSERT_TRUE(graphics.CreateFromImage(metafile));
  const Status expected = test::RunningUnderWine() ? NotImplemented : Ok;
  EXPECT_EQ(graphics.Comment({1, 2, 3, 4, 5}), expected == Ok);
  EXPECT_EQ(lastStatus, expected);
}

// --- Texts ---

TEST(PlusGraphicsText, AnsiToWideGivesZeroTerminatedUtf16) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run with the Chinese code page";
  EXPECT_EQ(AnsiToWide("abc"), (ByteBuffer{0x61, 0x00, 0x62, 0x00, 0x63, 0x00, 0x00, 0x00}));
  EXPECT_EQ(AnsiToWide(""), (ByteBuffer{0x00, 0x00}));
  EXPECT_EQ(AnsiToWide(nullptr), ByteBuffer{});
  // U+4E00 U+952E U+6E05 U+9664.
  EXPECT_EQ(std::strlen(test::kClearCaption936), 8u);
  EXPECT_EQ(AnsiToWide(test::kClearCaption936),
            (ByteBuffer{0x00, 0x4E, 0x2E, 0x95, 0x05, 0x6E, 0x64, 0x96, 0x00, 0x00}));
}

TEST(PlusGraphicsText, DrawStringDrawsInsideItsLayoutAndMeasureStringBoundsIt) {
  Canvas canvas(120, 40, kWhite);
  PlusFont font;
  GiveFont(font, 16);
  PlusSolidBrush brush;
  GiveSolidBrush(brush, kBlack);
  PlusStringFormat format;
  GiveFormat(format);
  const RectF layout{10, 5, 100, 30};
  for (const char* text : {"Tavrel", test::kClearCaption936}) {
    SCOPED_TRACE(text == test::kClearCaption936 ? "code page 936" : text);
    ASSERT_TRUE(canvas.graphics.Clear());
    ASSERT_TRUE(canvas.graphics.DrawString(text, font, brush, layout, format));
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 120; ++x) {
        if (canvas.bitmap.Pixel(x, y) == kWhite) continue;
        const bool in = x >= 10 && x < 110 && y >= 5 && y < 35;
        ++(in ? inside : outside);
      }
    }
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
    RectF box;
    ASSERT_TRUE(canvas.graphics.MeasureString(text, font, layout, format, box));
    EXPECT_GT(box.width, 10);
    EXPECT_GT(box.height, 10);
    EXPECT_GE(box.x, layout.x);
    EXPECT_LE(box.x + box.width, layout.x + layout.width + 0.5f);
  }
}

TEST(PlusGraphicsText, MeasureCharacterRangesReplacesTheListByCountRegionsThatGdiplusFills) {
  Canvas canvas(200, 40);
  PlusFont font;
  GiveFont(font, 16);
  PlusStringFormat format;
  GiveFormat(format);
  const Gdiplus::CharacterRange ranges[] = {{0, 1}, {1, 3}};
  ASSERT_EQ(GdipSetStringFormatMeasurableCharacterRanges(format.GetHandle(), 2, ranges), Ok);
  std::vector<std::unique_ptr<PlusRegion>> regions(3);
  ASSERT_TRUE(canvas.graphics.MeasureCharacterRanges("WWWW", font, {0, 0, 200, 40}, format, 2, regions));
  ASSERT_EQ(regions.size(), 2u);
  ASSERT_NE(regions[0]->GetHandle(), nullptr);
  ASSERT_NE(regions[1]->GetHandle(), nullptr);
  const RectF first = RegionBounds(*regions[0], canvas.graphics);
  const RectF second = RegionBounds(*regions[1], canvas.graphics);
  EXPECT_GT(first.width, 0);
  EXPECT_NEAR(second.width, 3 * first.width, 1.5);
  EXPECT_NEAR(second.x, first.x + first.width, 1.5);
}

TEST(PlusGraphicsTextDeathTest, ANegativeRegionCountIsACallerErrorThatAborts) {
  PlusGraphics graphics;
  PlusFont font;
  PlusStringFormat format;
  std::vector<std::unique_ptr<PlusRegion>> regions;
  EXPECT_DEATH(graphics.MeasureCharacterRanges("a", font, {}, format, -1, regions), "negative region count -1");
}

TEST(PlusGraphicsText, DrawDriverStringLooksTheCharactersUpUnlessToldOtherwise) {
  PlusFont font;
  GiveFont(font, 16);
  PlusSolidBrush brush;
  GiveSolidBrush(brush, kBlack);
  const ForeignObject noMatrix;
  const auto drawn = [&](std::optional<INT> flags) {
    Canvas canvas(60, 30, kWhite);
    EXPECT_TRUE(canvas.graphics.DrawDriverString("AB", font, brush, {{5, 20}, {25, 20}}, flags, noMatrix));
    return canvas.bitmap.Pixels();
  };
  const std::vector<Argb> byDefault = drawn(std::nullopt);
  EXPECT_NE(byDefault, std::vector<Argb>(60 * 30, kWhite));
  EXPECT_EQ(byDefault, drawn(DriverStringOptionsCmapLookup));
  EXPECT_NE(byDefault, drawn(0));  // glyph indexes 0x41 and 0x42 are other glyphs
}

// --- Device contexts ---

TEST(PlusGraphicsDeviceContext, GetHdcLendsTheDeviceContextUntilReleaseHdc) {
  DibSurface surface(8, 8);
  PlusGraphics graphics;
  ASSERT_TRUE(graphics.CreateFromHDC(surface.Dc()));
  const HDC dc = graphics.GetHDC();
  ASSERT_NE(dc, nullptr);
  const RECT rect{0, 0, 4, 4};
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(graphics.ReleaseHDC(dc));
  EXPECT_EQ(surface.Pixel(1, 1) & 0x00FFFFFF, 0x00FFFFFFu);
  EXPECT_EQ(surface.Pixel(5, 5), 0u);
}

// --- Every operation ---

// The objects every operation takes, all with handles or all without.
struct Arguments {
  explicit Arguments(bool withHandles)
      : matrix(withHandles ? test::NewMatrix() : ForeignObject()),
        metafile(withHandles ? test::NewMetafile(reference.Dc(), {0, 0, 10, 10},
                                                 [](GpGraphics* g) { GdipGraphicsClear(g, kRed); })
                             : ForeignObject()) {
    if (!withHandles) return;
    GivePen(pen, kBlack);
    GiveSolidBrush(brush, kRed);
    GiveRectPath(path, {1, 1, 5, 5});
    GiveRectRegion(region, {1, 1, 5, 5});
    GiveFont(font);
    GiveFormat(format);
    Adopt(image, ArgbBitmap(20, 10, QuadrantPixels()));
    attributes.Create();
    cachedSource.emplace(4, 4, kBlue);
    clipSource.graphics.SetClipRect(0, 0, 5, 5);
    window.emplace();
    dc = reference.Dc();
    hrgn = CreateRectRgn(0, 0, 5, 5);
  }
  ~Arguments() {
    if (hrgn) DeleteObject(hrgn);
  }
  DibSurface reference{8, 8};
  PlusPen pen;
  PlusSolidBrush brush;
  PlusPath path;
  PlusRegion region;
  PlusFont font;
  PlusStringFormat format;
  PlusImage image;
  PlusImageAttributes attributes;
  ForeignObject matrix;
  ForeignObject metafile;
  std::optional<ArgbBitmap> cachedSource;
  std::optional<TestWindow> window;
  Canvas clipSource{8, 8};
  HDC dc = nullptr;
  HRGN hrgn = nullptr;
  int records = 0;
  // Kept beyond the call: disposing them would record statuses of their own.
  std::vector<std::unique_ptr<PlusRegion>> regions;
  std::vector<PointF> points{{1, 1}, {8, 2}, {9, 9}, {2, 8}};
  std::vector<PointI> pointsI{{1, 1}, {8, 2}, {9, 9}, {2, 8}};
  std::vector<RectF> rects{{1, 1, 3, 3}, {5, 5, 3, 3}};
  std::vector<RectI> rectsI{{1, 1, 3, 3}, {5, 5, 3, 3}};
};

// One operation: its name, the GDI+ function it calls, and a call that answers whether the result
// was true or non-zero.
struct Operation {
  const char* name;
  const char* gdipFunction;
  std::function<bool(PlusGraphics&, Arguments&)> call;
};

// Every operation of the class after the base ones, in the order of its table of operations.
std::vector<Operation> EveryOperation() {
  using A = Arguments&;
  using G = PlusGraphics&;
  return {
      {"Dispose", "GdipDeleteGraphics", [](G g, A) { return g.Dispose(); }},
      {"CreateFromHWND", "GdipCreateFromHWND",
       [](G g, A a) { return g.CreateFromHWND(a.window ? a.window->Handle() : nullptr); }},
      {"CreateFromHDC", "GdipCreateFromHDC", [](G g, A a) { return g.CreateFromHDC(a.dc); }},
      {"CreateFromImage", "GdipGetImageGraphicsContext", [](G g, A a) { return g.CreateFromImage(a.image); }},
      {"GetHDC", "GdipGetDC",
       [](G g, A) {
         const HDC dc = g.GetHDC();
         const Status status = lastStatus;
         if (dc) g.ReleaseHDC(dc);
         lastStatus = status;
         return dc != nullptr;
       }},
      {"ReleaseHDC", "GdipReleaseDC", [](G g, A) { return g.ReleaseHDC(g.GetHDC()); }},
      {"GetCompositingMode", "GdipGetCompositingMode", [](G g, A) { return g.GetCompositingMode() != 0; }},
      {"SetCompositingMode", "GdipSetCompositingMode",
       [](G g, A) { return g.SetCompositingMode(CompositingModeSourceCopy); }},
      {"GetRenderingOrigin", "GdipGetRenderingOrigin",
       [](G g, A) {
         INT x = 0, y = 0;
         return g.GetRenderingOrigin(x, y);
       }},
      {"SetRenderingOrigin", "GdipSetRenderingOrigin", [](G g, A) { return g.SetRenderingOrigin(1, 2); }},
      {"GetCompositingQuality", "GdipGetCompositingQuality", [](G g, A) { return g.GetCompositingQuality() != 0; }},
      {"SetCompositingQuality", "GdipSetCompositingQuality",
       [](G g, A) { return g.SetCompositingQuality(CompositingQualityHighSpeed); }},
      {"SetSmoothingMode", "GdipSetSmoothingMode", [](G g, A) { return g.SetSmoothingMode(SmoothingModeAntiAlias); }},
      {"GetSmoothingMode", "GdipGetSmoothingMode", [](G g, A) { return g.GetSmoothingMode() != 0; }},
      {"SetTextRenderingHint", "GdipSetTextRenderingHint",
       [](G g, A) { return g.SetTextRenderingHint(TextRenderingHintAntiAlias); }},
      {"GetTextRenderingHint", "GdipGetTextRenderingHint", [](G g, A) { return g.GetTextRenderingHint() != 0; }},
      {"SetInterpolationMode", "GdipSetInterpolationMode",
       [](G g, A) { return g.SetInterpolationMode(InterpolationModeBilinear); }},
      {"GetInterpolationMode", "GdipGetInterpolationMode", [](G g, A) { return g.GetInterpolationMode() != 0; }},
      {"SetPixelOffsetMode", "GdipSetPixelOffsetMode",
       [](G g, A) { return g.SetPixelOffsetMode(PixelOffsetModeHalf); }},
      {"GetPixelOffsetMode", "GdipGetPixelOffsetMode", [](G g, A) { return g.GetPixelOffsetMode() != 0; }},
      {"SetTransform", "GdipSetWorldTransform", [](G g, A a) { return g.SetTransform(a.matrix); }},
      {"GetTransform", "GdipGetWorldTransform", [](G g, A a) { return g.GetTransform(a.matrix); }},
      {"ResetTransform", "GdipResetWorldTransform", [](G g, A) { return g.ResetTransform(); }},
      {"MultiplyTransform", "GdipMultiplyWorldTransform", [](G g, A a) { return g.MultiplyTransform(a.matrix); }},
      {"TranslateTransform", "GdipTranslateWorldTransform", [](G g, A) { return g.TranslateTransform(1, 2); }},
      {"ScaleTransform", "GdipScaleWorldTransform", [](G g, A) { return g.ScaleTransform(1, 2); }},
      {"RotateTransform", "GdipRotateWorldTransform", [](G g, A) { return g.RotateTransform(30); }},
      {"SetPageUnit", "GdipSetPageUnit", [](G g, A) { return g.SetPageUnit(UnitPixel); }},
      {"GetPageUnit", "GdipGetPageUnit", [](G g, A) { return g.GetPageUnit() != 0; }},
      {"SetPageScale", "GdipSetPageScale", [](G g, A) { return g.SetPageScale(1); }},
      {"GetPageScale", "GdipGetPageScale", [](G g, A) { return g.GetPageScale() != 0; }},
      {"GetDpiX", "GdipGetDpiX", [](G g, A) { return g.GetDpiX() != 0; }},
      {"GetDpiY", "GdipGetDpiY", [](G g, A) { return g.GetDpiY() != 0; }},
      {"TransformPoints", "GdipTransformPoints",
       [](G g, A a) { return g.TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, a.points); }},
      {"TransformPointsI", "GdipTransformPointsI",
       [](G g, A a) { return g.TransformPointsI(CoordinateSpaceDevice, CoordinateSpaceWorld, a.pointsI); }},
      {"GetNearestColor", "GdipGetNearestColor", [](G g, A) { return g.GetNearestColor(kRed) != 0; }},
      {"DrawLine", "GdipDrawLine", [](G g, A a) { return g.DrawLine(a.pen, 1, 1, 8, 8); }},
      {"DrawLineI", "GdipDrawLineI", [](G g, A a) { return g.DrawLineI(a.pen, 1, 1, 8, 8); }},
      {"DrawLines", "GdipDrawLines", [](G g, A a) { return g.DrawLines(a.pen, a.points); }},
      {"DrawLinesI", "GdipDrawLinesI", [](G g, A a) { return g.DrawLinesI(a.pen, a.pointsI); }},
      {"DrawArc", "GdipDrawArc", [](G g, A a) { return g.DrawArc(a.pen, 1, 1, 8, 8, 0, 90); }},
      {"DrawArcI", "GdipDrawArcI", [](G g, A a) { return g.DrawArcI(a.pen, 1, 1, 8, 8, 0, 90); }},
      {"DrawBezier", "GdipDrawBezier", [](G g, A a) { return g.DrawBezier(a.pen, 1, 1, 2, 8, 8, 2, 9, 9); }},
      {"DrawBezierI", "GdipDrawBezierI", [](G g, A a) { return g.DrawBezierI(a.pen, 1, 1, 2, 8, 8, 2, 9, 9); }},
      {"DrawBeziers", "GdipDrawBeziers", [](G g, A a) { return g.DrawBeziers(a.pen, a.points); }},
      {"DrawBeziersI", "GdipDrawBeziersI", [](G g, A a) { return g.DrawBeziersI(a.pen, a.pointsI); }},
      {"DrawRectangle", "GdipDrawRectangle", [](G g, A a) { return g.DrawRectangle(a.pen, 1, 1, 5, 5); }},
      {"DrawRectangleI", "GdipDrawRectangleI", [](G g, A a) { return g.DrawRectangleI(a.pen, 1, 1, 5, 5); }},
      {"DrawRectangles", "GdipDrawRectangles", [](G g, A a) { return g.DrawRectangles(a.pen, a.rects); }},
      {"DrawRectanglesI", "GdipDrawRectanglesI", [](G g, A a) { return g.DrawRectanglesI(a.pen, a.rectsI); }},
      {"DrawEllipse", "GdipDrawEllipse", [](G g, A a) { return g.DrawEllipse(a.pen, 1, 1, 5, 5); }},
      {"DrawEllipseI", "GdipDrawEllipseI", [](G g, A a) { return g.DrawEllipseI(a.pen, 1, 1, 5, 5); }},
      {"DrawPie", "GdipDrawPie", [](G g, A a) { return g.DrawPie(a.pen, 1, 1, 8, 8, 0, 90); }},
      {"DrawPieI", "GdipDrawPieI", [](G g, A a) { return g.DrawPieI(a.pen, 1, 1, 8, 8, 0, 90); }},
      {"DrawPolygon", "GdipDrawPolygon", [](G g, A a) { return g.DrawPolygon(a.pen, a.points); }},
      {"DrawPolygonI", "GdipDrawPolygonI", [](G g, A a) { return g.DrawPolygonI(a.pen, a.pointsI); }},
      {"DrawPath", "GdipDrawPath", [](G g, A a) { return g.DrawPath(a.pen, a.path); }},
      {"DrawCurve", "GdipDrawCurve", [](G g, A a) { return g.DrawCurve(a.pen, a.points); }},
      {"DrawCurveI", "GdipDrawCurveI", [](G g, A a) { return g.DrawCurveI(a.pen, a.pointsI); }},
      {"DrawCurve2", "GdipDrawCurve2", [](G g, A a) { return g.DrawCurve2(a.pen, a.points, 0.5f); }},
      {"DrawCurve2I", "GdipDrawCurve2I", [](G g, A a) { return g.DrawCurve2I(a.pen, a.pointsI, 0.5f); }},
      {"DrawCurve3", "GdipDrawCurve3", [](G g, A a) { return g.DrawCurve3(a.pen, a.points, 0, 2, 0.5f); }},
      {"DrawCurve3I", "GdipDrawCurve3I", [](G g, A a) { return g.DrawCurve3I(a.pen, a.pointsI, 0, 2, 0.5f); }},
      {"DrawClosedCurve", "GdipDrawClosedCurve", [](G g, A a) { return g.DrawClosedCurve(a.pen, a.points); }},
      {"DrawClosedCurveI", "GdipDrawClosedCurveI", [](G g, A a) { return g.DrawClosedCurveI(a.pen, a.pointsI); }},
      {"DrawClosedCurve2", "GdipDrawClosedCurve2", [](G g, A a) { return g.DrawClosedCurve2(a.pen, a.points, 0.5f); }},
      {"DrawClosedCurve2I", "GdipDrawClosedCurve2I",
       [](G g, A a) { return g.DrawClosedCurve2I(a.pen, a.pointsI, 0.5f); }},
      {"Clear", "GdipGraphicsClear", [](G g, A) { return g.Clear(); }},
      {"FillRectangle", "GdipFillRectangle", [](G g, A a) { return g.FillRectangle(a.brush, 1, 1, 5, 5); }},
      {"FillRectangleRect", "GdipFillRectangle",
       [](G g, A a) {
         return g.FillRectangleRect(a.brush, {1, 1, 5, 5});
       }},
      {"FillRectangleI", "GdipFillRectangleI", [](G g, A a) { return g.FillRectangleI(a.brush, 1, 1, 5, 5); }},
      {"FillRectangles", "GdipFillRectangles", [](G g, A a) { return g.FillRectangles(a.brush, a.rects); }},
      {"FillRectanglesI", "GdipFillRectanglesI", [](G g, A a) { return g.FillRectanglesI(a.brush, a.rectsI); }},
      {"FillPolygon", "GdipFillPolygon", [](G g, A a) { return g.FillPolygon(a.brush, a.points); }},
      {"FillPolygonI", "GdipFillPolygonI", [](G g, A a) { return g.FillPolygonI(a.brush, a.pointsI); }},
      {"FillEllipse", "GdipFillEllipse", [](G g, A a) { return g.FillEllipse(a.brush, 1, 1, 5, 5); }},
      {"FillEllipseI", "GdipFillEllipseI", [](G g, A a) { return g.FillEllipseI(a.brush, 1, 1, 5, 5); }},
      {"FillPie", "GdipFillPie", [](G g, A a) { return g.FillPie(a.brush, 1, 1, 8, 8, 0, 90); }},
      {"FillPieI", "GdipFillPieI", [](G g, A a) { return g.FillPieI(a.brush, 1, 1, 8, 8, 0, 90); }},
      {"FillPath", "GdipFillPath", [](G g, A a) { return g.FillPath(a.brush, a.path); }},
      {"FillClosedCurve", "GdipFillClosedCurve", [](G g, A a) { return g.FillClosedCurve(a.brush, a.points); }},
      {"FillClosedCurve2", "GdipFillClosedCurve2",
       [](G g, A a) { return g.FillClosedCurve2(a.brush, a.points, 0.5f); }},
      {"FillClosedCurveI", "GdipFillClosedCurveI", [](G g, A a) { return g.FillClosedCurveI(a.brush, a.pointsI); }},
      {"FillClosedCurve2I", "GdipFillClosedCurve2I",
       [](G g, A a) { return g.FillClosedCurve2I(a.brush, a.pointsI, 0.5f); }},
      {"FillRegion", "GdipFillRegion", [](G g, A a) { return g.FillRegion(a.brush, a.region); }},
      {"DrawString", "GdipDrawString",
       [](G g, A a) {
         return g.DrawString("Tavrel", a.font, a.brush, {0, 0, 10, 10}, a.format);
       }},
      {"MeasureString", "GdipMeasureString",
       [](G g, A a) {
         RectF box;
         return g.MeasureString("Tavrel", a.font, {0, 0, 10, 10}, a.format, box);
       }},
      {"MeasureCharacterRanges", "GdipMeasureCharacterRanges",
       [](G g, A a) {
         return g.MeasureCharacterRanges("Tavrel", a.font, {0, 0, 10, 10}, a.format, 1, a.regions);
       }},
      {"DrawDriverString", "GdipDrawDriverString",
       [](G g, A a) {
         return g.DrawDriverString("AB", a.font, a.brush, {{1, 8}, {5, 8}}, std::nullopt, a.matrix);
       }},
      {"SetTextContrast", "GdipSetTextContrast", [](G g, A) { return g.SetTextContrast(4); }},
      {"GetTextContrast", "GdipGetTextContrast", [](G g, A) { return g.GetTextContrast() != 0; }},
      {"DrawImage", "GdipDrawImage", [](G g, A a) { return g.DrawImage(a.image, 1, 1); }},
      {"DrawImageI", "GdipDrawImageI", [](G g, A a) { return g.DrawImageI(a.image, 1, 1); }},
      {"DrawCachedBitmap", "GdipDrawCachedBitmap",
       [](G g, A a) {
         const ForeignObject cached =
             a.cachedSource ? test::NewCachedBitmap(a.cachedSource->Handle(), g.GetHandle()) : ForeignObject();
         return g.DrawCachedBitmap(cached, 1, 1);
       }},
      {"DrawImageRect", "GdipDrawImageRectRect", [](G g, A a) { return g.DrawImageRect(a.image, 1, 1, 5, 5); }},
      {"DrawImageRectI", "GdipDrawImageRectRectI", [](G g, A a) { return g.DrawImageRectI(a.image, 1, 1, 5, 5); }},
      {"DrawImagePoints", "GdipDrawImagePoints", [](G g, A a) { return g.DrawImagePoints(a.image, 1, 1, 8, 1, 1, 8); }},
      {"DrawImagePointsI", "GdipDrawImagePointsI",
       [](G g, A a) { return g.DrawImagePointsI(a.image, 1, 1, 8, 1, 1, 8); }},
      {"DrawImagePointRect", "GdipDrawImagePointRect",
       [](G g, A a) { return g.DrawImagePointRect(a.image, 1, 1, 0, 0, 5, 5); }},
      {"DrawImagePointRectI", "GdipDrawImagePointRectI",
       [](G g, A a) { return g.DrawImagePointRectI(a.image, 1, 1, 0, 0, 5, 5); }},
      {"DrawImageRectRect", "GdipDrawImageRectRect",
       [](G g, A a) { return g.DrawImageRectRect(a.image, 1, 1, 5, 5, 0, 0, 5, 5, std::nullopt, a.attributes); }},
      {"DrawImageRectRectI", "GdipDrawImageRectRectI",
       [](G g, A a) { return g.DrawImageRectRectI(a.image, 1, 1, 5, 5, 0, 0, 5, 5, std::nullopt, a.attributes); }},
      {"DrawImagePointsRect", "GdipDrawImagePointsRect",
       [](G g, A a) {
         return g.DrawImagePointsRect(a.image, 1, 1, 8, 1, 1, 8, 0, 0, 5, 5, std::nullopt, a.attributes);
       }},
      {"DrawImagePointsRectI", "GdipDrawImagePointsRectI",
       [](G g, A a) {
         return g.DrawImagePointsRectI(a.image, 1, 1, 8, 1, 1, 8, 0, 0, 5, 5, std::nullopt, a.attributes);
       }},
      {"EnumerateMetafileDestPoint", "GdipEnumerateMetafileDestPoint",
       [](G g, A a) {
         return g.EnumerateMetafileDestPoint(a.metafile, {0, 0}, CountRecord, &a.records, a.attributes);
       }},
      {"EnumerateMetafileDestPointI", "GdipEnumerateMetafileDestPointI",
       [](G g, A a) {
         return g.EnumerateMetafileDestPointI(a.metafile, {0, 0}, CountRecord, &a.records, a.attributes);
       }},
      {"EnumerateMetafileDestPoints", "GdipEnumerateMetafileDestPoints",
       [](G g, A a) {
         return g.EnumerateMetafileDestPoints(a.metafile, {{0, 0}, {5, 0}, {0, 5}}, CountRecord, &a.records,
                                              a.attributes);
       }},
      {"EnumerateMetafileDestPointsI", "GdipEnumerateMetafileDestPointsI",
       [](G g, A a) {
         return g.EnumerateMetafileDestPointsI(a.metafile, {{0, 0}, {5, 0}, {0, 5}}, CountRecord, &a.records,
                                               a.attributes);
       }},
      {"EnumerateMetafileDestRect", "GdipEnumerateMetafileDestRect",
       [](G g, A a) {
         return g.EnumerateMetafileDestRect(a.metafile, {0, 0, 5, 5}, CountRecord, &a.records, a.attributes);
       }},
      {"EnumerateMetafileDestRectI", "GdipEnumerateMetafileDestRectI",
       [](G g, A a) {
         return g.EnumerateMetafileDestRectI(a.metafile, {0, 0, 5, 5}, CountRecord, &a.records, a.attributes);
       }},
      {"EnumerateMetafileSrcRectDestPoint", "GdipEnumerateMetafileSrcRectDestPoint",
       [](G g, A a) {
         return g.EnumerateMetafileSrcRectDestPoint(a.metafile, {0, 0}, {0, 0, 5, 5}, UnitPixel, CountRecord,
                                                    &a.records, a.attributes);
       }},
      {"EnumerateMetafileSrcRectDestPointI", "GdipEnumerateMetafileSrcRectDestPointI",
       [](G g, A a) {
         return g.EnumerateMetafileSrcRectDestPointI(a.metafile, {0, 0}, {0, 0, 5, 5}, UnitPixel, CountRecord,
                                                     &a.records, a.attributes);
       }},
      {"EnumerateMetafileSrcRectDestPoints", "GdipEnumerateMetafileSrcRectDestPoints",
       [](G g, A a) {
         return g.EnumerateMetafileSrcRectDestPoints(a.metafile, {{0, 0}, {5, 0}, {0, 5}}, {0, 0, 5, 5}, UnitPixel,
                                                     CountRecord, &a.records, a.attributes);
       }},
      {"EnumerateMetafileSrcRectDestPointsI", "GdipEnumerateMetafileSrcRectDestPointsI",
       [](G g, A a) {
         return g.EnumerateMetafileSrcRectDestPointsI(a.metafile, {{0, 0}, {5, 0}, {0, 5}}, {0, 0, 5, 5}, UnitPixel,
                                                      CountRecord, &a.records, a.attributes);
       }},
      {"EnumerateMetafileSrcRectDestRect", "GdipEnumerateMetafileSrcRectDestRect",
       [](G g, A a) {
         return g.EnumerateMetafileSrcRectDestRect(a.metafile, {0, 0, 5, 5}, {0, 0, 5, 5}, UnitPixel, CountRecord,
                                                   &a.records, a.attributes);
       }},
      {"EnumerateMetafileSrcRectDestRectI", "GdipEnumerateMetafileSrcRectDestRectI",
       [](G g, A a) {
         return g.EnumerateMetafileSrcRectDestRectI(a.metafile, {0, 0, 5, 5}, {0, 0, 5, 5}, UnitPixel, CountRecord,
                                                    &a.records, a.attributes);
       }},
      {"SetClipGraphics", "GdipSetClipGraphics", [](G g, A a) { return g.SetClipGraphics(a.clipSource.graphics); }},
      {"SetClipPath", "GdipSetClipPath", [](G g, A a) { return g.SetClipPath(a.path); }},
      {"SetClipRect", "GdipSetClipRect", [](G g, A) { return g.SetClipRect(1, 1, 5, 5); }},
      {"SetClipRectI", "GdipSetClipRectI", [](G g, A) { return g.SetClipRectI(1, 1, 5, 5); }},
      {"SetClipRegion", "GdipSetClipRegion", [](G g, A a) { return g.SetClipRegion(a.region); }},
      {"SetClipHrgn", "GdipSetClipHrgn", [](G g, A a) { return g.SetClipHrgn(a.hrgn); }},
      {"ResetClip", "GdipResetClip", [](G g, A) { return g.ResetClip(); }},
      {"TranslateClip", "GdipTranslateClip", [](G g, A) { return g.TranslateClip(1, 1); }},
      {"TranslateClipI", "GdipTranslateClipI", [](G g, A) { return g.TranslateClipI(1, 1); }},
      {"GetClip", "GdipGetClip", [](G g, A a) { return g.GetClip(a.region); }},
      {"GetClipBounds", "GdipGetClipBounds", [](G g, A) { return g.GetClipBounds() != RectF{}; }},
      {"GetClipBoundsI", "GdipGetClipBoundsI", [](G g, A) { return g.GetClipBoundsI() != RectI{}; }},
      {"GetVisibleClipBounds", "GdipGetVisibleClipBounds", [](G g, A) { return g.GetVisibleClipBounds() != RectF{}; }},
      {"GetVisibleClipBoundsI", "GdipGetVisibleClipBoundsI",
       [](G g, A) { return g.GetVisibleClipBoundsI() != RectI{}; }},
      {"IsClipEmpty", "GdipIsClipEmpty", [](G g, A) { return g.IsClipEmpty(); }},
      {"IsVisibleClipEmpty", "GdipIsVisibleClipEmpty", [](G g, A) { return g.IsVisibleClipEmpty(); }},
      {"IsVisiblePoint", "GdipIsVisiblePoint", [](G g, A) { return g.IsVisiblePoint(1, 1); }},
      {"IsVisiblePointI", "GdipIsVisiblePointI", [](G g, A) { return g.IsVisiblePointI(1, 1); }},
      {"IsVisibleRect", "GdipIsVisibleRect", [](G g, A) { return g.IsVisibleRect(1, 1, 2, 2); }},
      {"IsVisibleRectI", "GdipIsVisibleRectI", [](G g, A) { return g.IsVisibleRectI(1, 1, 2, 2); }},
      {"Save", "GdipSaveGraphics", [](G g, A) { return g.Save() != 0; }},
      {"Restore", "GdipRestoreGraphics", [](G g, A) { return g.Restore(g.Save()); }},
      {"BeginContainer", "GdipBeginContainer",
       [](G g, A) {
         return g.BeginContainer({0, 0, 5, 5}, {0, 0, 5, 5}) != 0;
       }},
      {"BeginContainerI", "GdipBeginContainerI",
       [](G g, A) {
         return g.BeginContainerI({0, 0, 5, 5}, {0, 0, 5, 5}) != 0;
       }},
      {"BeginContainer2", "GdipBeginContainer2", [](G g, A) { return g.BeginContainer2() != 0; }},
      {"EndContainer", "GdipEndContainer", [](G g, A) { return g.EndContainer(g.BeginContainer2()); }},
      {"Comment", "GdipComment",
       [](G g, A) {
         return g.Comment({1, 2, 3});
       }},
  };
}

// The operations Wine 8.0 answers NotImplemented, whatever the object and the arguments.
const std::vector<std::string> kNotImplementedUnderWine = {"Comment"};

bool NotImplementedHere(const std::string& operation) {
  return test::RunningUnderWine() && std::find(kNotImplementedUnderWine.begin(), kNotImplementedUnderWine.end(),
                                               operation) != kNotImplementedUnderWine.end();
}

// What GDI+ answers an operation on an object without a handle.
Status WithoutHandle(const std::string& operation) {
  static const std::map<std::string, Status> exceptions = {
      {"CreateFromHWND", Ok},          // without a window GDI+ draws on the screen
      {"CreateFromHDC", OutOfMemory},  // a missing device context
      {"Dispose", Win32Error},         // not called: the status set before stays
  };
  if (NotImplementedHere(operation)) return NotImplemented;
  return exceptions.count(operation) ? exceptions.at(operation) : InvalidParameter;
}

// What GDI+ answers an operation with handles and valid arguments.
Status WithHandles(const std::string& operation) {
  // Without a unit a container gets UnitWorld, which GDI+ does not take for its rectangles.
  if (operation == "BeginContainer" || operation == "BeginContainerI") return InvalidParameter;
  return NotImplementedHere(operation) ? NotImplemented : Ok;
}

TEST(PlusGraphicsEveryOperation, TheTableHoldsThe143OperationsOfTheClass) { EXPECT_EQ(EveryOperation().size(), 143u); }

TEST(PlusGraphicsEveryOperation, WithoutHandlesNoneCrashesAndEachAnswersFalseWithTheStatusOfGdiplus) {
  Arguments arguments(false);
  for (const Operation& operation : EveryOperation()) {
    SCOPED_TRACE(operation.name);
    if (test::IsWineStub(operation.gdipFunction)) continue;
    const Status expected = WithoutHandle(operation.name);
    PlusGraphics graphics;
    Record(Win32Error);
    EXPECT_EQ(operation.call(graphics, arguments), expected == Ok);
    EXPECT_EQ(lastStatus, expected);
  }
}

TEST(PlusGraphicsEveryOperation, WithHandlesEachAnswersTheStatusOfGdiplus) {
  Arguments arguments(true);
  for (const Operation& operation : EveryOperation()) {
    SCOPED_TRACE(operation.name);
    if (test::IsWineStub(operation.gdipFunction)) continue;
    const Status expected = WithHandles(operation.name);
    Canvas canvas(10, 10);
    Record(Win32Error);
    operation.call(canvas.graphics, arguments);
    EXPECT_EQ(lastStatus, expected);
  }
}

TEST(PlusGraphicsEveryOperation, UnderWineTheUnimplementedOnesAnswerNotImplemented) {
  if (!test::RunningUnderWine()) GTEST_SKIP() << "Wine's answers";
  Arguments arguments(true);
  std::vector<std::string> answered;
  for (const Operation& operation : EveryOperation()) {
    if (test::IsWineStub(operation.gdipFunction)) continue;
    Canvas canvas(10, 10);
    if (!operation.call(canvas.graphics, arguments) && lastStatus == NotImplemented) answered.push_back(operation.name);
  }
  EXPECT_EQ(answered, kNotImplementedUnderWine);
}

}  // namespace
}  // namespace tavrel::plus
