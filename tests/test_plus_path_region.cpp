// PlusPath and PlusRegion against the real GDI+. The paths they build are checked against paths
// built by raw GDI+ calls; a PlusGraphics, PlusPen or PlusFontFamily that a test needs gets its
// handle from a raw call too, so that these tests lean on nothing of those classes but their handles.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_path_region.h"
#include "tests/support/foreign_objects.h"
#include "tests/support/null_handle_sweep.h"
#include "tests/support/path_region_texts.h"
#include "tests/support/pixels.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

using namespace plus;
using namespace Gdiplus;
using namespace Gdiplus::DllExports;

static_assert(!std::is_copy_constructible_v<PlusPath> && !std::is_copy_assignable_v<PlusPath>);
static_assert(!std::is_copy_constructible_v<PlusRegion> && !std::is_copy_assignable_v<PlusRegion>);

// Path point types.
constexpr BYTE kStart = PathPointTypeStart;
constexpr BYTE kLine = PathPointTypeLine;
constexpr BYTE kClosedLine = PathPointTypeLine | PathPointTypeCloseSubpath;

// A PlusGraphics drawing into a small bitmap.
struct BitmapGraphics {
  BitmapGraphics() { graphics.SetHandle(bitmap.NewGraphics()); }
  ArgbBitmap bitmap{8, 8};
  PlusGraphics graphics;
};

// A PlusPen with a handle from GdipCreatePen1; the pen disposes it.
struct Pen {
  explicit Pen(float width) {
    GpPen* raw = nullptr;
    GdipCreatePen1(0xFF000000, width, UnitWorld, &raw);
    pen.SetHandle(raw);
  }
  PlusPen pen;
};

// A PlusFontFamily with a handle from GdipCreateFontFamilyFromName; a family is not deleted by its
// destructor, so this one deletes it.
struct Family {
  explicit Family(const char* name) {
    GpFontFamily* raw = nullptr;
    GdipCreateFontFamilyFromName(WideText(name), nullptr, &raw);
    family.SetHandle(raw);
  }
  ~Family() { GdipDeleteFontFamily(family.GetHandle()); }
  PlusFontFamily family;
};

// A raw GDI+ path, the reference the wrapper's paths are compared with.
struct RawPath {
  RawPath() { GdipCreatePath(FillModeAlternate, &path); }
  RawPath(const RawPath&) = delete;
  RawPath& operator=(const RawPath&) = delete;
  ~RawPath() { GdipDeletePath(path); }
  GpPath* path = nullptr;
};

// The points and types of a raw path.
std::vector<PointF> PointsOf(GpPath* path) {
  INT count = 0;
  GdipGetPointCount(path, &count);
  std::vector<PointF> points(static_cast<size_t>(count));
  if (count) GdipGetPathPoints(path, Packed(points), count);
  return points;
}
ByteBuffer TypesOf(GpPath* path) {
  INT count = 0;
  GdipGetPointCount(path, &count);
  ByteBuffer types(static_cast<size_t>(count));
  if (count) GdipGetPathTypes(path, types.data(), count);
  return types;
}

// The four arcs of a rounded rectangle added by GDI+ itself, then the figure closed: (left, top,
// width, height, start angle) each.
struct Arc {
  float left, top, width, height, startAngle;
};
GpStatus AddRawRoundedRectangle(GpPath* path, const std::vector<Arc>& arcs) {
  for (const Arc& arc : arcs) GdipAddPathArc(path, arc.left, arc.top, arc.width, arc.height, arc.startAngle, 90);
  return GdipClosePathFigure(path);
}

// The arcs the rounded rectangle (0, 0, width, height) has with a corner box of cw by ch.
std::vector<Arc> CornerArcs(float width, float height, float cw, float ch) {
  return {{width - cw, 0, cw, ch, 270},
          {width - cw, height - ch, cw, ch, 0},
          {0, height - ch, cw, ch, 90},
          {0, 0, cw, ch, 180}};
}

void ExpectSamePath(const PlusPath& path, GpPath* reference) {
  const std::vector<PointF> expected = PointsOf(reference);
  std::vector<PointF> points;
  ByteBuffer types;
  // The list getters answer false for an empty path.
  EXPECT_EQ(path.GetPathPoints(points), !expected.empty());
  EXPECT_EQ(path.GetPathTypes(types), !expected.empty());
  EXPECT_EQ(points, expected);
  EXPECT_EQ(types, TypesOf(reference));
}

// Rounded rectangles

TEST(PlusPathRoundedRectangle, IsFourArcsClosed) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  EXPECT_TRUE(path.AddRoundedRectangle(0, 0, 200, 100, 10));
  EXPECT_EQ(lastStatus, Ok);

  RawPath reference;
  ASSERT_EQ(
      AddRawRoundedRectangle(reference.path,
                             {{180, 0, 20, 10, 270}, {180, 90, 20, 10, 0}, {0, 90, 20, 10, 90}, {0, 0, 20, 10, 180}}),
      Ok);
  ExpectSamePath(path, reference.path);

  // One figure, running clockwise from the right end of the top edge, closed at its last point.
  ByteBuffer types;
  ASSERT_TRUE(path.GetPathTypes(types));
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types.front(), kStart);
  EXPECT_EQ(types.back() & PathPointTypeCloseSubpath, PathPointTypeCloseSubpath);
  for (size_t i = 1; i < types.size(); ++i) EXPECT_NE(types[i] & PathPointTypePathTypeMask, kStart) << i;
  std::vector<PointF> points;
  ASSERT_TRUE(path.GetPathPoints(points));
  EXPECT_NEAR(points.front().x, 190, 0.01);
  EXPECT_NEAR(points.front().y, 0, 0.01);
  EXPECT_EQ(path.GetBounds(), (RectF{0, 0, 200, 100}));
}

TEST(PlusPathRoundedRectangle, ClampsRoundnessTo1Through100) {
  struct Case {
    std::int32_t roundness;
    std::int32_t clamped;
  };
  for (const Case& c : {Case{0, 1}, Case{-7, 1}, Case{1, 1}, Case{150, 100}, Case{100, 100}}) {
    SCOPED_TRACE(c.roundness);
    PlusPath path;
    ASSERT_TRUE(path.Create());
    EXPECT_TRUE(path.AddRoundedRectangle(0, 0, 200, 100, c.roundness));

    RawPath reference;
    const float cw = 200.0f * c.clamped / 100;
    const float ch = 100.0f * c.clamped / 100;
    AddRawRoundedRectangle(reference.path, CornerArcs(200, 100, cw, ch));
    ExpectSamePath(path, reference.path);
  }
}

TEST(PlusPathRoundedRectangle, FullRoundnessIsAnEllipseFillingTheRectangle) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  EXPECT_TRUE(path.AddRoundedRectangle(10, 20, 200, 100, 100));
  const RectF bounds = path.GetBounds();
  EXPECT_NEAR(bounds.x, 10, 0.01);
  EXPECT_NEAR(bounds.y, 20, 0.01);
  EXPECT_NEAR(bounds.width, 200, 0.01);
  EXPECT_NEAR(bounds.height, 100, 0.01);
  EXPECT_TRUE(path.IsVisible(110, 70));
  EXPECT_FALSE(path.IsVisible(12, 22));  // the cut-off corner
}

TEST(PlusPathRoundedRectangle, TruncatesTheCornerBox) {
  // 33.9 x 50 / 100 = 16.95 and 10 x 50 / 100 = 5: a 16 by 5 box.
  PlusPath path;
  ASSERT_TRUE(path.Create());
  EXPECT_TRUE(path.AddRoundedRectangle(0, 0, 33.9f, 10, 50));

  RawPath reference;
  const auto left = static_cast<float>(static_cast<double>(33.9f) - 16);
  AddRawRoundedRectangle(reference.path,
                         {{left, 0, 16, 5, 270}, {left, 5, 16, 5, 0}, {0, 5, 16, 5, 90}, {0, 0, 16, 5, 180}});
  ExpectSamePath(path, reference.path);
}

TEST(PlusPathRoundedRectangle, AnswersTheStatusOfClosingOnly) {
  // 50 x 1 / 100 truncates to 0: four arcs in a 0 by 0 box, whatever GDI+ makes of them.
  PlusPath path;
  ASSERT_TRUE(path.Create());
  const bool added = path.AddRoundedRectangle(0, 0, 50, 50, 1);
  const Status status = lastStatus;

  RawPath reference;
  EXPECT_EQ(status, AddRawRoundedRectangle(reference.path, CornerArcs(50, 50, 0, 0)));
  EXPECT_EQ(added, status == Ok);
  ExpectSamePath(path, reference.path);
}

TEST(PlusPathRoundedRectangle, OffsetRectangle) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  EXPECT_TRUE(path.AddRoundedRectangle(5.5f, 7.25f, 40, 30, 25));

  // right = 45.5, bottom = 37.25; the box is 10 by 7.
  RawPath reference;
  AddRawRoundedRectangle(
      reference.path,
      {{35.5f, 7.25f, 10, 7, 270}, {35.5f, 30.25f, 10, 7, 0}, {5.5f, 30.25f, 10, 7, 90}, {5.5f, 7.25f, 10, 7, 180}});
  ExpectSamePath(path, reference.path);
}

// Texts

// A string format made by GdipCreateStringFormat; the format disposes it.
struct Format {
  Format() {
    GpStringFormat* raw = nullptr;
    GdipCreateStringFormat(0, LANG_NEUTRAL, &raw);
    format.SetHandle(raw);
  }
  PlusStringFormat format;
};

TEST(PlusPathString, ChineseTextHasAnOutline) {
  Family songTi(kPathSongTi936);
  ASSERT_NE(songTi.family.GetHandle(), nullptr);
  Format format;
  PlusPath path;
  ASSERT_TRUE(path.Create());
  EXPECT_TRUE(
      path.AddString(kPathClearCaption936, songTi.family, 20, RectF{0, 0, 200, 50}, std::nullopt, &format.format));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_GT(path.GetPointCount(), 0);
  const RectF bounds = path.GetBounds();
  EXPECT_GT(bounds.width, 0);
  EXPECT_GT(bounds.height, 0);

  // The length handed to GDI+ is the four UTF-16 units of the text.
  RawPath all, three;
  const WideText wide(kPathClearCaption936);
  const Gdiplus::RectF layout(0, 0, 200, 50);
  GpStringFormat* rawFormat = format.format.GetHandle();
  GdipAddPathString(all.path, wide, 4, songTi.family.GetHandle(), FontStyleRegular, 20, &layout, rawFormat);
  GdipAddPathString(three.path, wide, 3, songTi.family.GetHandle(), FontStyleRegular, 20, &layout, rawFormat);
  ExpectSamePath(path, all.path);
  EXPECT_LT(PointsOf(three.path).size(), PointsOf(all.path).size());
}

TEST(PlusPathString, WithoutAFormatPassesNull) {
  // Wine 8.0's GDI+ takes no null format (InvalidParameter); native GDI+ lays the text out with
  // its default format. Either way the wrapper answers what GDI+ answers to a null format.
  Family songTi(kPathSongTi936);
  PlusPath path;
  ASSERT_TRUE(path.Create());
  const bool added = path.AddString(kPathClearCaption936, songTi.family, 20, RectF{0, 0, 200, 50});
  const Status status = lastStatus;
  RawPath reference;
  const Gdiplus::RectF layout(0, 0, 200, 50);
  EXPECT_EQ(status, GdipAddPathString(reference.path, WideText(kPathClearCaption936), 4, songTi.family.GetHandle(),
                                      FontStyleRegular, 20, &layout, nullptr));
  EXPECT_EQ(added, status == Ok);
  if (RunningUnderWine()) {
    EXPECT_EQ(status, InvalidParameter);
  }
  ExpectSamePath(path, reference.path);
}

TEST(PlusPathString, IntegerLayoutStyleAndFormat) {
  Family songTi(kPathSongTi936);
  Format format;
  GpStringFormat* rawFormat = format.format.GetHandle();

  PlusPath path;
  ASSERT_TRUE(path.Create());
  EXPECT_TRUE(
      path.AddStringI(kPathClearCaption936, songTi.family, 20, RectI{10, 10, 200, 50}, FontStyleBold, &format.format));
  RawPath reference;
  const Gdiplus::Rect layout(10, 10, 200, 50);
  GdipAddPathStringI(reference.path, WideText(kPathClearCaption936), 4, songTi.family.GetHandle(), FontStyleBold, 20,
                     &layout, rawFormat);
  ExpectSamePath(path, reference.path);
  EXPECT_GT(path.GetPointCount(), 0);
}

TEST(PlusPathString, WithoutAFamilyFails) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  Format format;
  EXPECT_FALSE(
      path.AddString(kPathClearCaption936, PlusFontFamily(), 20, RectF{0, 0, 200, 50}, std::nullopt, &format.format));
  EXPECT_EQ(lastStatus, InvalidParameter);
  EXPECT_EQ(path.GetPointCount(), 0);
}

// Lists handed out

TEST(PlusPathLists, PathDataOfAnEmptyPath) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  PathData data{77, {{1, 2}, {3, 4}}, {1, 1}};
  EXPECT_FALSE(path.GetPathData(data));
  EXPECT_TRUE(data.points.empty());
  EXPECT_TRUE(data.types.empty());
  EXPECT_EQ(data.count, 77);
}

TEST(PlusPathLists, PathDataOfARectangle) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddRectangle(1, 2, 3, 4));
  PathData data;
  EXPECT_TRUE(path.GetPathData(data));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(data.count, 4);
  EXPECT_EQ(data.points, (std::vector<PointF>{{1, 2}, {4, 2}, {4, 6}, {1, 6}}));
  EXPECT_EQ(data.types, (ByteBuffer{kStart, kLine, kLine, kClosedLine}));
}

TEST(PlusPathLists, PathDataOfAPathWithoutHandleIsLeftAlone) {
  PlusPath path;
  PathData data{5, {{1, 2}}, {7}};
  EXPECT_FALSE(path.GetPathData(data));
  EXPECT_EQ(lastStatus, InvalidParameter);
  EXPECT_EQ(data.count, 5);
  EXPECT_EQ(data.points, (std::vector<PointF>{{1, 2}}));
  EXPECT_EQ(data.types, (ByteBuffer{7}));
}

TEST(PlusPathLists, PointsAndTypesWithoutACountOfAnEmptyPath) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  std::vector<PointF> points = {{1, 2}, {3, 4}, {5, 6}};
  ByteBuffer types = {9, 9};
  EXPECT_FALSE(path.GetPathPoints(points));
  EXPECT_FALSE(path.GetPathTypes(types));
  EXPECT_EQ(points, (std::vector<PointF>{{1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(types, (ByteBuffer{9, 9}));
}

TEST(PlusPathLists, PointsAndTypesWithAndWithoutACount) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddLines({{0, 0}, {10, 0}, {10, 5}}));

  std::vector<PointF> points;
  ByteBuffer types;
  EXPECT_TRUE(path.GetPathPoints(points));
  EXPECT_EQ(points, (std::vector<PointF>{{0, 0}, {10, 0}, {10, 5}}));
  EXPECT_TRUE(path.GetPathTypes(types));
  EXPECT_EQ(types, (ByteBuffer{kStart, kLine, kLine}));

  // A given count is used as it is: the list has that many entries, GDI+ fills the path's.
  EXPECT_TRUE(path.GetPathPoints(points, 5));
  EXPECT_EQ(points, (std::vector<PointF>{{0, 0}, {10, 0}, {10, 5}, {0, 0}, {0, 0}}));
  EXPECT_TRUE(path.GetPathTypes(types, 4));
  EXPECT_EQ(types, (ByteBuffer{kStart, kLine, kLine, 0}));

  // Too small a count is GDI+'s InsufficientBuffer; the list was replaced all the same.
  EXPECT_FALSE(path.GetPathPoints(points, 2));
  EXPECT_EQ(lastStatus, InsufficientBuffer);
  EXPECT_EQ(points, (std::vector<PointF>{{0, 0}, {0, 0}}));
}

TEST(PlusRegionScans, OfAnEmptyRegion) {
  ForeignObject identity = NewMatrix();
  PlusRegion region;
  ASSERT_TRUE(region.Create());
  ASSERT_TRUE(region.MakeEmpty());
  std::vector<RectF> rects = {{1, 2, 3, 4}};
  std::vector<RectI> rectsI = {{1, 2, 3, 4}};
  EXPECT_EQ(region.GetScansCount(identity), 0u);
  EXPECT_EQ(region.GetScans(identity, rects), 0u);
  EXPECT_TRUE(rects.empty());
  EXPECT_EQ(region.GetScansI(identity, rectsI), 0u);
  EXPECT_TRUE(rectsI.empty());
}

TEST(PlusRegionScans, OfARectangleRegion) {
  ForeignObject identity = NewMatrix();
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRect(RectF{10, 20, 30, 40}));
  std::vector<RectF> rects;
  std::vector<RectI> rectsI;
  EXPECT_EQ(region.GetScansCount(identity), 1u);
  EXPECT_EQ(region.GetScans(identity, rects), 1u);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(rects, (std::vector<RectF>{{10, 20, 30, 40}}));
  EXPECT_EQ(region.GetScansI(identity, rectsI), 1u);
  EXPECT_EQ(rectsI, (std::vector<RectI>{{10, 20, 30, 40}}));

  // Through a matrix that moves by (5, 6).
  ForeignObject moved = NewMatrix(1, 0, 0, 1, 5, 6);
  EXPECT_EQ(region.GetScansI(moved, rectsI), 1u);
  EXPECT_EQ(rectsI, (std::vector<RectI>{{15, 26, 30, 40}}));
}

TEST(PlusRegionScans, WithoutAMatrixTheListStays) {
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRectI(RectI{0, 0, 4, 4}));
  std::vector<RectI> rects = {{1, 1, 1, 1}};
  EXPECT_EQ(region.GetScansI(ForeignObject(), rects), 0u);
  EXPECT_EQ(lastStatus, InvalidParameter);
  EXPECT_EQ(rects, (std::vector<RectI>{{1, 1, 1, 1}}));
}

// Regions

TEST(PlusRegion, CreateGivesTheInfiniteRegion) {
  BitmapGraphics surface;
  PlusRegion region;
  ASSERT_TRUE(region.Create());
  EXPECT_NE(region.GetHandle(), nullptr);
  EXPECT_TRUE(region.IsInfinite(surface.graphics));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_FALSE(region.IsEmpty(surface.graphics));
  EXPECT_TRUE(region.IsVisiblePoint(PointF{-1e6f, 1e6f}));

  ASSERT_TRUE(region.MakeEmpty());
  EXPECT_TRUE(region.IsEmpty(surface.graphics));
  EXPECT_FALSE(region.IsInfinite(surface.graphics));
  ASSERT_TRUE(region.MakeInfinite());
  EXPECT_TRUE(region.IsInfinite(surface.graphics));
}

TEST(PlusRegion, CombineRectWithoutAModeIntersects) {
  ForeignObject identity = NewMatrix();
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRect(RectF{0, 0, 100, 100}));
  EXPECT_TRUE(region.CombineRect(RectF{50, 50, 100, 100}));
  std::vector<RectF> rects;
  ASSERT_EQ(region.GetScans(identity, rects), 1u);
  EXPECT_EQ(rects, (std::vector<RectF>{{50, 50, 50, 50}}));

  PlusRegion regionI;
  ASSERT_TRUE(regionI.CreateFromRectI(RectI{0, 0, 100, 100}));
  EXPECT_TRUE(regionI.CombineRectI(RectI{50, 50, 100, 100}));
  std::vector<RectI> rectsI;
  ASSERT_EQ(regionI.GetScansI(identity, rectsI), 1u);
  EXPECT_EQ(rectsI, (std::vector<RectI>{{50, 50, 50, 50}}));
}

TEST(PlusRegion, CombineModes) {
  ForeignObject identity = NewMatrix();
  PlusPath square;
  ASSERT_TRUE(square.Create());
  ASSERT_TRUE(square.AddRectangleI(5, 0, 10, 10));
  PlusRegion other;
  ASSERT_TRUE(other.CreateFromRectI(RectI{5, 0, 10, 10}));

  struct Case {
    std::optional<CombineMode> mode;
    std::vector<RectI> scans;
  };
  const std::vector<Case> cases = {
      {std::nullopt, {{5, 0, 5, 10}}},
      {CombineModeIntersect, {{5, 0, 5, 10}}},
      {CombineModeUnion, {{0, 0, 15, 10}}},
      {CombineModeReplace, {{5, 0, 10, 10}}},
      {CombineModeExclude, {{0, 0, 5, 10}}},
      {CombineModeComplement, {{10, 0, 5, 10}}},
      {CombineModeXor, {{0, 0, 5, 10}, {10, 0, 5, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode.value_or(static_cast<CombineMode>(-1)));
    for (int kind = 0; kind < 2; ++kind) {
      PlusRegion region;
      ASSERT_TRUE(region.CreateFromRectI(RectI{0, 0, 10, 10}));
      EXPECT_TRUE(kind == 0 ? region.CombineRegion(other, c.mode) : region.CombinePath(square, c.mode));
      std::vector<RectI> scans;
      region.GetScansI(identity, scans);
      EXPECT_EQ(scans, c.scans) << (kind == 0 ? "CombineRegion" : "CombinePath");
    }
  }
}

TEST(PlusRegion, CreateFromPathAndVisibility) {
  BitmapGraphics surface;
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddEllipse(0, 0, 100, 100));
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromPath(path));
  EXPECT_TRUE(region.IsVisiblePoint(PointF{50, 50}));
  EXPECT_FALSE(region.IsVisiblePoint(PointF{2, 2}));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_TRUE(region.IsVisiblePointI(PointI{50, 50}, &surface.graphics));
  EXPECT_TRUE(region.IsVisibleRect(RectF{0, 45, 10, 10}));
  EXPECT_FALSE(region.IsVisibleRectI(RectI{0, 0, 3, 3}));
  EXPECT_FALSE(region.IsVisibleRectI(RectI{200, 200, 3, 3}, &surface.graphics));

  const RectI bounds = region.GetBoundsI(surface.graphics);
  EXPECT_NEAR(bounds.x, 0, 1);
  EXPECT_NEAR(bounds.width, 100, 1);
  const RectF boundsF = region.GetBounds(surface.graphics);
  EXPECT_NEAR(boundsF.height, 100, 1);
}

TEST(PlusRegion, TranslateAndTransform) {
  BitmapGraphics surface;
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRectI(RectI{0, 0, 10, 10}));
  // Wine measures region bounds on whole pixels: whole-number moves keep the checks exact.
  EXPECT_TRUE(region.Translate(2, 1));
  EXPECT_EQ(region.GetBounds(surface.graphics), (RectF{2, 1, 10, 10}));
  EXPECT_TRUE(region.TranslateI(-1, 3));
  EXPECT_EQ(region.GetBoundsI(surface.graphics), (RectI{1, 4, 10, 10}));
  ForeignObject doubled = NewMatrix(2, 0, 0, 2, 0, 0);
  EXPECT_TRUE(region.Transform(doubled));
  EXPECT_EQ(region.GetBounds(surface.graphics), (RectF{2, 8, 20, 20}));
  EXPECT_TRUE(region.Translate(0.5f, 0));
  EXPECT_TRUE(region.IsVisiblePoint(PointF{2.75f, 9}));
}

TEST(PlusRegion, DataRoundTrip) {
  BitmapGraphics surface;
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRectI(RectI{1, 2, 3, 4}));
  ASSERT_TRUE(region.CombineRectI(RectI{2, 2, 9, 9}, CombineModeUnion));
  const UINT size = region.GetDataSize();
  ASSERT_GT(size, 0u);
  UINT filled = 0;
  const ByteBuffer data = region.GetData(size, &filled);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(data.size(), size);
  EXPECT_EQ(filled, size);
  EXPECT_EQ(region.GetData(size), data);

  PlusRegion copy;
  ASSERT_TRUE(copy.CreateFromRgnData(data, static_cast<INT>(size)));
  EXPECT_TRUE(copy.Equals(region, surface.graphics));
  EXPECT_EQ(lastStatus, Ok);

  // Too small a buffer: GDI+ says so and the bytes stay zero.
  const ByteBuffer small = region.GetData(4, &filled);
  EXPECT_EQ(lastStatus, InsufficientBuffer);
  EXPECT_EQ(small, (ByteBuffer{0, 0, 0, 0}));
}

TEST(PlusRegion, GdiRegionRoundTrip) {
  BitmapGraphics surface;
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRectI(RectI{3, 4, 20, 10}));
  const HRGN hrgn = region.GetHRGN(surface.graphics);
  ASSERT_NE(hrgn, nullptr);
  RECT box{};
  GetRgnBox(hrgn, &box);
  EXPECT_EQ(box.left, 3);
  EXPECT_EQ(box.top, 4);
  EXPECT_EQ(box.right, 23);
  EXPECT_EQ(box.bottom, 14);

  PlusRegion fromGdi;
  EXPECT_TRUE(fromGdi.CreateFromHrgn(hrgn));
  EXPECT_TRUE(fromGdi.Equals(region, surface.graphics));
  DeleteObject(hrgn);

  PlusRegion other;
  ASSERT_TRUE(other.CreateFromRectI(RectI{3, 4, 20, 11}));
  EXPECT_FALSE(fromGdi.Equals(other, surface.graphics));
  EXPECT_EQ(lastStatus, Ok);
}

TEST(PlusRegion, CloneGivesTheTargetItsOwnRegion) {
  BitmapGraphics surface;
  PlusRegion region;
  ASSERT_TRUE(region.CreateFromRectI(RectI{0, 0, 5, 5}));
  PlusRegion target;
  EXPECT_TRUE(region.Clone(target));
  ASSERT_NE(target.GetHandle(), nullptr);
  EXPECT_NE(target.GetHandle(), region.GetHandle());
  EXPECT_TRUE(target.Equals(region, surface.graphics));
  EXPECT_TRUE(target.Dispose());
  EXPECT_EQ(target.GetHandle(), nullptr);
  EXPECT_TRUE(region.IsVisiblePointI(PointI{1, 1}));
}

TEST(PlusRegion, DisposeWithoutAHandleIsFalseAndCallsNothing) {
  PlusRegion region;
  lastStatus = kStatusUntouched;
  EXPECT_FALSE(region.Dispose());
  EXPECT_EQ(lastStatus, kStatusUntouched);
  ASSERT_TRUE(region.Create());
  EXPECT_TRUE(region.Dispose());
  EXPECT_EQ(region.GetHandle(), nullptr);
  EXPECT_FALSE(region.Dispose());
}

// Paths

TEST(PlusPath, CreateFillModeAndDispose) {
  PlusPath path;
  lastStatus = kStatusUntouched;
  EXPECT_FALSE(path.Dispose());
  EXPECT_EQ(lastStatus, kStatusUntouched);

  ASSERT_TRUE(path.Create());
  EXPECT_EQ(path.GetFillMode(), FillModeAlternate);
  EXPECT_TRUE(path.SetFillMode(FillModeWinding));
  EXPECT_EQ(path.GetFillMode(), FillModeWinding);
  EXPECT_TRUE(path.Dispose());
  EXPECT_EQ(path.GetHandle(), nullptr);

  ASSERT_TRUE(path.Create(FillModeWinding));
  EXPECT_EQ(path.GetFillMode(), FillModeWinding);
}

TEST(PlusPath, CreateFromPoints) {
  const ByteBuffer types = {kStart, kLine, kClosedLine};
  PlusPath path;
  ASSERT_TRUE(path.CreateFromPoints({{0, 0}, {4, 0}, {4, 3}}, types));
  EXPECT_EQ(path.GetFillMode(), FillModeAlternate);
  PathData data;
  ASSERT_TRUE(path.GetPathData(data));
  EXPECT_EQ(data.points, (std::vector<PointF>{{0, 0}, {4, 0}, {4, 3}}));
  EXPECT_EQ(data.types, types);

  PlusPath pathI;
  ASSERT_TRUE(pathI.CreateFromPointsI({{1, 1}, {2, 2}, {3, 1}}, types, FillModeWinding));
  EXPECT_EQ(pathI.GetFillMode(), FillModeWinding);
  EXPECT_EQ(pathI.GetLastPoint(), (PointF{3, 1}));
}

TEST(PlusPath, CloneResetAndFigures) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddLineI(0, 0, 5, 0));
  ASSERT_TRUE(path.AddLine(5, 0, 5, 5));
  EXPECT_TRUE(path.CloseFigure());
  EXPECT_TRUE(path.StartFigure());
  ASSERT_TRUE(path.AddLine(10, 10, 20, 10));
  EXPECT_EQ(path.GetLastPoint(), (PointF{20, 10}));
  EXPECT_TRUE(path.CloseAllFigures());
  ByteBuffer types;
  ASSERT_TRUE(path.GetPathTypes(types));
  ASSERT_EQ(types.size(), 5u);
  EXPECT_EQ(types[2], kClosedLine);
  // Wine 8.0 closes every figure but the last one; native GDI+ closes that too.
  RawPath reference;
  GdipAddPathLineI(reference.path, 0, 0, 5, 0);
  GdipAddPathLine(reference.path, 5, 0, 5, 5);
  GdipClosePathFigure(reference.path);
  GdipStartPathFigure(reference.path);
  GdipAddPathLine(reference.path, 10, 10, 20, 10);
  GdipClosePathFigures(reference.path);
  ExpectSamePath(path, reference.path);

  PlusPath target;
  EXPECT_TRUE(path.Clone(target));
  EXPECT_NE(target.GetHandle(), path.GetHandle());
  ExpectSamePath(target, path.GetHandle());

  EXPECT_TRUE(path.Reverse());
  EXPECT_EQ(path.GetLastPoint(), (PointF{0, 0}));
  EXPECT_TRUE(path.Reset());
  EXPECT_EQ(path.GetPointCount(), 0);
  EXPECT_EQ(target.GetPointCount(), 5);
}

TEST(PlusPath, Markers) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddLine(0, 0, 1, 1));
  EXPECT_TRUE(path.SetMarker());
  ASSERT_TRUE(path.AddLine(2, 2, 3, 3));
  ByteBuffer types;
  ASSERT_TRUE(path.GetPathTypes(types));
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[1] & PathPointTypePathMarker, PathPointTypePathMarker);
  EXPECT_TRUE(path.ClearMarkers());
  ASSERT_TRUE(path.GetPathTypes(types));
  EXPECT_EQ(types[1] & PathPointTypePathMarker, 0);
}

// Each figure operation against the same GDI+ call made directly.
TEST(PlusPath, FiguresMatchGdiplus) {
  const std::vector<PointF> pointsF = {{0, 0}, {10, 5}, {20, 0}, {30, 10}};
  const std::vector<PointI> pointsI = {{0, 0}, {10, 5}, {20, 0}, {30, 10}};
  const std::vector<RectF> rectsF = {{0, 0, 5, 5}, {10, 10, 2, 3}};
  const std::vector<RectI> rectsI = {{0, 0, 5, 5}, {10, 10, 2, 3}};
  const Gdiplus::PointF* gpF = Packed(pointsF);
  const Gdiplus::Point* gpI = Packed(pointsI);
  PlusPath other;
  ASSERT_TRUE(other.Create());
  ASSERT_TRUE(other.AddLine(100, 100, 110, 100));

  struct Case {
    const char* name;
    std::function<bool(PlusPath&)> add;
    std::function<GpStatus(GpPath*)> raw;
  };
  const std::vector<Case> cases = {
      {"AddLines", [&](PlusPath& p) { return p.AddLines(pointsF); },
       [&](GpPath* p) { return GdipAddPathLine2(p, gpF, 4); }},
      {"AddLinesI", [&](PlusPath& p) { return p.AddLinesI(pointsI); },
       [&](GpPath* p) { return GdipAddPathLine2I(p, gpI, 4); }},
      {"AddArc", [](PlusPath& p) { return p.AddArc(0, 0, 10, 20, 30, 120); },
       [](GpPath* p) { return GdipAddPathArc(p, 0, 0, 10, 20, 30, 120); }},
      {"AddArcI", [](PlusPath& p) { return p.AddArcI(0, 0, 10, 20, 30, 120); },
       [](GpPath* p) { return GdipAddPathArcI(p, 0, 0, 10, 20, 30, 120); }},
      {"AddBezier", [](PlusPath& p) { return p.AddBezier(0, 0, 1, 2, 3, 4, 5, 6); },
       [](GpPath* p) { return GdipAddPathBezier(p, 0, 0, 1, 2, 3, 4, 5, 6); }},
      {"AddBezierI", [](PlusPath& p) { return p.AddBezierI(0, 0, 1, 2, 3, 4, 5, 6); },
       [](GpPath* p) { return GdipAddPathBezierI(p, 0, 0, 1, 2, 3, 4, 5, 6); }},
      {"AddBeziers", [&](PlusPath& p) { return p.AddBeziers(pointsF); },
       [&](GpPath* p) { return GdipAddPathBeziers(p, gpF, 4); }},
      {"AddBeziersI", [&](PlusPath& p) { return p.AddBeziersI(pointsI); },
       [&](GpPath* p) { return GdipAddPathBeziersI(p, gpI, 4); }},
      {"AddCurve", [&](PlusPath& p) { return p.AddCurve(pointsF); },
       [&](GpPath* p) { return GdipAddPathCurve(p, gpF, 4); }},
      {"AddCurve2", [&](PlusPath& p) { return p.AddCurve2(pointsF, 0.7f); },
       [&](GpPath* p) { return GdipAddPathCurve2(p, gpF, 4, 0.7f); }},
      {"AddCurve3", [&](PlusPath& p) { return p.AddCurve3(pointsF, 1, 2, 0.7f); },
       [&](GpPath* p) { return GdipAddPathCurve3(p, gpF, 4, 1, 2, 0.7f); }},
      {"AddCurveI", [&](PlusPath& p) { return p.AddCurveI(pointsI); },
       [&](GpPath* p) { return GdipAddPathCurveI(p, gpI, 4); }},
      {"AddCurve2I", [&](PlusPath& p) { return p.AddCurve2I(pointsI, 0.7f); },
       [&](GpPath* p) { return GdipAddPathCurve2I(p, gpI, 4, 0.7f); }},
      {"AddCurve3I", [&](PlusPath& p) { return p.AddCurve3I(pointsI, 1, 2, 0.7f); },
       [&](GpPath* p) { return GdipAddPathCurve3I(p, gpI, 4, 1, 2, 0.7f); }},
      {"AddClosedCurve", [&](PlusPath& p) { return p.AddClosedCurve(pointsF); },
       [&](GpPath* p) { return GdipAddPathClosedCurve(p, gpF, 4); }},
      {"AddClosedCurve2", [&](PlusPath& p) { return p.AddClosedCurve2(pointsF, 0.3f); },
       [&](GpPath* p) { return GdipAddPathClosedCurve2(p, gpF, 4, 0.3f); }},
      {"AddClosedCurveI", [&](PlusPath& p) { return p.AddClosedCurveI(pointsI); },
       [&](GpPath* p) { return GdipAddPathClosedCurveI(p, gpI, 4); }},
      {"AddClosedCurve2I", [&](PlusPath& p) { return p.AddClosedCurve2I(pointsI, 0.3f); },
       [&](GpPath* p) { return GdipAddPathClosedCurve2I(p, gpI, 4, 0.3f); }},
      {"AddRectangle", [](PlusPath& p) { return p.AddRectangle(1, 2, 3, 4); },
       [](GpPath* p) { return GdipAddPathRectangle(p, 1, 2, 3, 4); }},
      {"AddRectangles", [&](PlusPath& p) { return p.AddRectangles(rectsF); },
       [&](GpPath* p) { return GdipAddPathRectangles(p, Packed(rectsF), 2); }},
      {"AddRectangleI", [](PlusPath& p) { return p.AddRectangleI(1, 2, 3, 4); },
       [](GpPath* p) { return GdipAddPathRectangleI(p, 1, 2, 3, 4); }},
      {"AddRectanglesI", [&](PlusPath& p) { return p.AddRectanglesI(rectsI); },
       [&](GpPath* p) { return GdipAddPathRectanglesI(p, Packed(rectsI), 2); }},
      {"AddEllipse", [](PlusPath& p) { return p.AddEllipse(1, 2, 30, 40); },
       [](GpPath* p) { return GdipAddPathEllipse(p, 1, 2, 30, 40); }},
      {"AddEllipseI", [](PlusPath& p) { return p.AddEllipseI(1, 2, 30, 40); },
       [](GpPath* p) { return GdipAddPathEllipseI(p, 1, 2, 30, 40); }},
      {"AddPieI", [](PlusPath& p) { return p.AddPieI(0, 0, 40, 30, 10, 200); },
       [](GpPath* p) { return GdipAddPathPieI(p, 0, 0, 40, 30, 10, 200); }},
      {"AddPolygon", [&](PlusPath& p) { return p.AddPolygon(pointsF); },
       [&](GpPath* p) { return GdipAddPathPolygon(p, gpF, 4); }},
      {"AddPolygonI", [&](PlusPath& p) { return p.AddPolygonI(pointsI); },
       [&](GpPath* p) { return GdipAddPathPolygonI(p, gpI, 4); }},
      {"AddPath", [&](PlusPath& p) { return p.AddLine(0, 0, 1, 1) && p.AddPath(other); },
       [&](GpPath* p) {
         GdipAddPathLine(p, 0, 0, 1, 1);
         return GdipAddPathPath(p, other.GetHandle(), FALSE);
       }},
      {"AddPath connected", [&](PlusPath& p) { return p.AddLine(0, 0, 1, 1) && p.AddPath(other, true); },
       [&](GpPath* p) {
         GdipAddPathLine(p, 0, 0, 1, 1);
         return GdipAddPathPath(p, other.GetHandle(), TRUE);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusPath path;
    ASSERT_TRUE(path.Create());
    RawPath reference;
    ASSERT_EQ(c.raw(reference.path), Ok);
    EXPECT_TRUE(c.add(path));
    EXPECT_EQ(lastStatus, Ok);
    ExpectSamePath(path, reference.path);
  }
}

TEST(PlusPath, FlattenWidenAndTransform) {
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddEllipse(0, 0, 100, 50));
  RawPath reference;
  GdipAddPathEllipse(reference.path, 0, 0, 100, 50);
  EXPECT_TRUE(path.Flatten());
  GdipFlattenPath(reference.path, nullptr, 0.25f);
  ExpectSamePath(path, reference.path);
  ByteBuffer types;
  ASSERT_TRUE(path.GetPathTypes(types));
  for (BYTE type : types) EXPECT_NE(type & PathPointTypePathTypeMask, PathPointTypeBezier);

  ForeignObject moved = NewMatrix(1, 0, 0, 1, 10, 0);
  EXPECT_TRUE(path.Transform(moved));
  EXPECT_NEAR(path.GetBounds().x, 10, 0.01);
  EXPECT_NEAR(path.GetBounds(&moved).x, 20, 0.01);

  Pen pen(4);
  PlusPath line;
  ASSERT_TRUE(line.Create());
  ASSERT_TRUE(line.AddLine(0, 0, 100, 0));
  EXPECT_FALSE(line.IsVisible(50, 1));
  EXPECT_TRUE(line.Widen(pen.pen, nullptr, 1.0f));
  EXPECT_TRUE(line.IsVisible(50, 1));
  EXPECT_FALSE(line.IsVisible(50, 3));
}

TEST(PlusPath, IsVisibleAnswersNotTheStatus) {
  BitmapGraphics surface;
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddRectangle(0, 0, 10, 10));
  EXPECT_TRUE(path.IsVisible(5, 5));
  EXPECT_FALSE(path.IsVisible(15, 5));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_TRUE(path.IsVisibleI(5, 5, &surface.graphics));
  EXPECT_FALSE(path.IsVisibleI(-1, 5, &surface.graphics));
  EXPECT_EQ(lastStatus, Ok);

  // When GDI+ fails the answer is false, the status only in lastStatus.
  PlusPath noPath;
  EXPECT_FALSE(noPath.IsVisible(5, 5));
  EXPECT_EQ(lastStatus, InvalidParameter);
  EXPECT_FALSE(noPath.IsVisibleI(5, 5));
  EXPECT_EQ(lastStatus, InvalidParameter);
}

TEST(PlusPath, BoundsWithAPen) {
  Pen pen(4);
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddRectangle(10, 10, 20, 20));
  EXPECT_EQ(path.GetBounds(), (RectF{10, 10, 20, 20}));
  const RectF widened = path.GetBounds(nullptr, &pen.pen);
  EXPECT_LT(widened.x, 10);
  EXPECT_GT(widened.width, 20);
}

// Operations that Wine 8.0's GDI+ does not implement: it answers NotImplemented.
TEST(PlusPath, WineAnswersNotImplemented) {
  if (!RunningUnderWine()) GTEST_SKIP() << "Wine's answers only";
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddRectangle(0, 0, 10, 10));
  EXPECT_FALSE(path.Outline());
  EXPECT_EQ(lastStatus, NotImplemented);
  EXPECT_FALSE(path.Warp({{0, 0}, {20, 0}, {0, 20}, {20, 20}}, RectF{0, 0, 10, 10}));
  EXPECT_EQ(lastStatus, NotImplemented);
}

TEST(PlusPath, OutlineVisibility) {
  BitmapGraphics surface;
  Pen pen(4);
  PlusPath path;
  ASSERT_TRUE(path.Create());
  ASSERT_TRUE(path.AddRectangle(0, 0, 10, 10));
  EXPECT_TRUE(path.IsOutlineVisible(0, 5, pen.pen));
  EXPECT_FALSE(path.IsOutlineVisible(5, 5, pen.pen));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_TRUE(path.IsOutlineVisibleI(11, 5, pen.pen, &surface.graphics));
  EXPECT_FALSE(path.IsOutlineVisibleI(5, 5, pen.pen, &surface.graphics));
  EXPECT_EQ(lastStatus, Ok);
  // Without a pen GDI+ fails, and the answer is false.
  EXPECT_FALSE(path.IsOutlineVisible(0, 5, PlusPen()));
  EXPECT_EQ(lastStatus, InvalidParameter);
}

// Objects without handles

struct NoHandles {
  PlusPath path;
  PlusPath pathTarget;
  PlusRegion region;
  PlusRegion regionTarget;
  PlusPen pen;
  PlusGraphics graphics;
  PlusFontFamily family;
  PlusStringFormat format;
  ForeignObject matrix;
};

// The status of a call with a null handle, where Wine's GDI+ answers NotImplemented first.
Status NotImplementedUnderWine() { return RunningUnderWine() ? NotImplemented : InvalidParameter; }

TEST(PlusPathRegion, SweepWithoutHandles) {
  using Case = NullHandleCase<NoHandles>;
  const std::vector<PointF> pointsF = {{0, 0}, {1, 1}, {2, 0}, {3, 1}};
  const std::vector<PointI> pointsI = {{0, 0}, {1, 1}, {2, 0}, {3, 1}};
  SweepNullHandles<NoHandles>({
      // PlusPath
      Case{"PlusPath::Dispose", "GdipDeletePath", [](NoHandles& o) { return !o.path.Dispose(); }, kStatusUntouched},
      Case{"PlusPath::Clone", "GdipClonePath",
           [](NoHandles& o) { return !o.path.Clone(o.pathTarget) && !o.pathTarget.GetHandle(); }},
      Case{"PlusPath::Reset", "GdipResetPath", [](NoHandles& o) { return !o.path.Reset(); }},
      Case{"PlusPath::GetFillMode", "GdipGetPathFillMode", [](NoHandles& o) { return o.path.GetFillMode() == 0; }},
      Case{"PlusPath::SetFillMode", "GdipSetPathFillMode",
           [](NoHandles& o) { return !o.path.SetFillMode(FillModeWinding); }},
      Case{"PlusPath::GetPathData", "GdipGetPointCount",
           [](NoHandles& o) {
             PathData data{3, {{1, 1}}, {1}};
             return !o.path.GetPathData(data) && data.count == 3 && data.points.size() == 1 && data.types.size() == 1;
           }},
      Case{"PlusPath::GetPathTypes", "GdipGetPointCount",
           [](NoHandles& o) {
             ByteBuffer types = {1};
             return !o.path.GetPathTypes(types) && types == ByteBuffer{1};
           }},
      Case{"PlusPath::GetPathTypes counted", "GdipGetPathTypes",
           [](NoHandles& o) {
             ByteBuffer types;
             return !o.path.GetPathTypes(types, 2) && types == ByteBuffer{0, 0};
           }},
      Case{"PlusPath::GetPathPoints", "GdipGetPointCount",
           [](NoHandles& o) {
             std::vector<PointF> points = {{1, 1}};
             return !o.path.GetPathPoints(points) && points.size() == 1;
           }},
      Case{"PlusPath::GetPathPoints counted", "GdipGetPathPoints",
           [](NoHandles& o) {
             std::vector<PointF> points;
             return !o.path.GetPathPoints(points, 2) && points == std::vector<PointF>(2);
           }},
      Case{"PlusPath::StartFigure", "GdipStartPathFigure", [](NoHandles& o) { return !o.path.StartFigure(); }},
      Case{"PlusPath::CloseFigure", "GdipClosePathFigure", [](NoHandles& o) { return !o.path.CloseFigure(); }},
      Case{"PlusPath::CloseAllFigures", "GdipClosePathFigures", [](NoHandles& o) { return !o.path.CloseAllFigures(); }},
      Case{"PlusPath::SetMarker", "GdipSetPathMarker", [](NoHandles& o) { return !o.path.SetMarker(); }},
      Case{"PlusPath::ClearMarkers", "GdipClearPathMarkers", [](NoHandles& o) { return !o.path.ClearMarkers(); }},
      Case{"PlusPath::Reverse", "GdipReversePath", [](NoHandles& o) { return !o.path.Reverse(); }},
      Case{"PlusPath::GetLastPoint", "GdipGetPathLastPoint",
           [](NoHandles& o) { return o.path.GetLastPoint() == PointF{}; }},
      Case{"PlusPath::AddLine", "GdipAddPathLine", [](NoHandles& o) { return !o.path.AddLine(0, 0, 1, 1); }},
      Case{"PlusPath::AddLineI", "GdipAddPathLineI", [](NoHandles& o) { return !o.path.AddLineI(0, 0, 1, 1); }},
      Case{"PlusPath::AddLines", "GdipAddPathLine2", [&](NoHandles& o) { return !o.path.AddLines(pointsF); }},
      Case{"PlusPath::AddLinesI", "GdipAddPathLine2I", [&](NoHandles& o) { return !o.path.AddLinesI(pointsI); }},
      Case{"PlusPath::AddArc", "GdipAddPathArc", [](NoHandles& o) { return !o.path.AddArc(0, 0, 5, 5, 0, 90); }},
      Case{"PlusPath::AddArcI", "GdipAddPathArcI", [](NoHandles& o) { return !o.path.AddArcI(0, 0, 5, 5, 0, 90); }},
      Case{"PlusPath::AddBezier", "GdipAddPathBezier",
           [](NoHandles& o) { return !o.path.AddBezier(0, 0, 1, 1, 2, 2, 3, 3); }},
      Case{"PlusPath::AddBezierI", "GdipAddPathBezierI",
           [](NoHandles& o) { return !o.path.AddBezierI(0, 0, 1, 1, 2, 2, 3, 3); }},
      Case{"PlusPath::AddBeziers", "GdipAddPathBeziers", [&](NoHandles& o) { return !o.path.AddBeziers(pointsF); }},
      Case{"PlusPath::AddBeziersI", "GdipAddPathBeziersI", [&](NoHandles& o) { return !o.path.AddBeziersI(pointsI); }},
      Case{"PlusPath::AddCurve", "GdipAddPathCurve", [&](NoHandles& o) { return !o.path.AddCurve(pointsF); }},
      Case{"PlusPath::AddCurve2", "GdipAddPathCurve2", [&](NoHandles& o) { return !o.path.AddCurve2(pointsF, 0.5f); }},
      Case{"PlusPath::AddCurve3", "GdipAddPathCurve3",
           [&](NoHandles& o) { return !o.path.AddCurve3(pointsF, 0, 2, 0.5f); }},
      Case{"PlusPath::AddCurveI", "GdipAddPathCurveI", [&](NoHandles& o) { return !o.path.AddCurveI(pointsI); }},
      Case{"PlusPath::AddCurve2I", "GdipAddPathCurve2I",
           [&](NoHandles& o) { return !o.path.AddCurve2I(pointsI, 0.5f); }},
      Case{"PlusPath::AddCurve3I", "GdipAddPathCurve3I",
           [&](NoHandles& o) { return !o.path.AddCurve3I(pointsI, 0, 2, 0.5f); }},
      Case{"PlusPath::AddClosedCurve", "GdipAddPathClosedCurve",
           [&](NoHandles& o) { return !o.path.AddClosedCurve(pointsF); }},
      Case{"PlusPath::AddClosedCurve2", "GdipAddPathClosedCurve2",
           [&](NoHandles& o) { return !o.path.AddClosedCurve2(pointsF, 0.5f); }},
      Case{"PlusPath::AddClosedCurveI", "GdipAddPathClosedCurveI",
           [&](NoHandles& o) { return !o.path.AddClosedCurveI(pointsI); }},
      Case{"PlusPath::AddClosedCurve2I", "GdipAddPathClosedCurve2I",
           [&](NoHandles& o) { return !o.path.AddClosedCurve2I(pointsI, 0.5f); }},
      Case{"PlusPath::AddRectangle", "GdipAddPathRectangle",
           [](NoHandles& o) { return !o.path.AddRectangle(0, 0, 5, 5); }},
      Case{"PlusPath::AddRoundedRectangle", "GdipClosePathFigure",
           [](NoHandles& o) { return !o.path.AddRoundedRectangle(0, 0, 50, 50, 20); }},
      Case{"PlusPath::AddRectangles", "GdipAddPathRectangles",
           [](NoHandles& o) {
             return !o.path.AddRectangles({{0, 0, 5, 5}});
           }},
      Case{"PlusPath::AddRectangleI", "GdipAddPathRectangleI",
           [](NoHandles& o) { return !o.path.AddRectangleI(0, 0, 5, 5); }},
      Case{"PlusPath::AddRectanglesI", "GdipAddPathRectanglesI",
           [](NoHandles& o) {
             return !o.path.AddRectanglesI({{0, 0, 5, 5}});
           }},
      Case{"PlusPath::AddEllipse", "GdipAddPathEllipse", [](NoHandles& o) { return !o.path.AddEllipse(0, 0, 5, 5); }},
      Case{"PlusPath::AddEllipseI", "GdipAddPathEllipseI",
           [](NoHandles& o) { return !o.path.AddEllipseI(0, 0, 5, 5); }},
      Case{"PlusPath::AddPieI", "GdipAddPathPieI", [](NoHandles& o) { return !o.path.AddPieI(0, 0, 5, 5, 0, 90); }},
      Case{"PlusPath::AddPolygon", "GdipAddPathPolygon", [&](NoHandles& o) { return !o.path.AddPolygon(pointsF); }},
      Case{"PlusPath::AddPolygonI", "GdipAddPathPolygonI", [&](NoHandles& o) { return !o.path.AddPolygonI(pointsI); }},
      Case{"PlusPath::AddPath", "GdipAddPathPath", [](NoHandles& o) { return !o.path.AddPath(o.pathTarget, true); }},
      Case{
          "PlusPath::AddString", "GdipAddPathString",
          [](NoHandles& o) {
            return !o.path.AddString(kPathClearCaption936, o.family, 12, RectF{0, 0, 50, 20}, FontStyleBold, &o.format);
          }},
      Case{"PlusPath::AddStringI", "GdipAddPathStringI",
           [](NoHandles& o) {
             return !o.path.AddStringI("abc", o.family, 12, RectI{0, 0, 50, 20});
           }},
      Case{"PlusPath::Transform", "GdipTransformPath", [](NoHandles& o) { return !o.path.Transform(o.matrix); }},
      Case{"PlusPath::Flatten", "GdipFlattenPath", [](NoHandles& o) { return !o.path.Flatten(&o.matrix, 0.5f); }},
      Case{"PlusPath::Widen", "GdipWidenPath", [](NoHandles& o) { return !o.path.Widen(o.pen); }},
      Case{"PlusPath::Outline", "GdipWindingModeOutline", [](NoHandles& o) { return !o.path.Outline(); },
           NotImplementedUnderWine()},
      Case{"PlusPath::Warp", "GdipWarpPath",
           [&](NoHandles& o) {
             return !o.path.Warp(pointsF, RectF{0, 0, 3, 1}, nullptr, WarpModeBilinear);
           },
           NotImplementedUnderWine()},
      Case{"PlusPath::GetPointCount", "GdipGetPointCount", [](NoHandles& o) { return o.path.GetPointCount() == 0; }},
      Case{"PlusPath::GetBounds", "GdipGetPathWorldBounds",
           [](NoHandles& o) { return o.path.GetBounds(&o.matrix, &o.pen) == RectF{}; }},
      Case{"PlusPath::IsVisible", "GdipIsVisiblePathPoint",
           [](NoHandles& o) { return !o.path.IsVisible(0, 0, &o.graphics); }},
      Case{"PlusPath::IsVisibleI", "GdipIsVisiblePathPointI", [](NoHandles& o) { return !o.path.IsVisibleI(0, 0); }},
      Case{"PlusPath::IsOutlineVisible", "GdipIsOutlineVisiblePathPoint",
           [](NoHandles& o) { return !o.path.IsOutlineVisible(0, 0, o.pen); }},
      Case{"PlusPath::IsOutlineVisibleI", "GdipIsOutlineVisiblePathPointI",
           [](NoHandles& o) { return !o.path.IsOutlineVisibleI(0, 0, o.pen, &o.graphics); }},

      // PlusRegion
      Case{"PlusRegion::Dispose", "GdipDeleteRegion", [](NoHandles& o) { return !o.region.Dispose(); },
           kStatusUntouched},
      Case{"PlusRegion::CreateFromPath", "GdipCreateRegionPath",
           [](NoHandles& o) { return !o.region.CreateFromPath(o.path) && !o.region.GetHandle(); }},
      Case{"PlusRegion::CreateFromHrgn", "GdipCreateRegionHrgn",
           [](NoHandles& o) { return !o.region.CreateFromHrgn(nullptr) && !o.region.GetHandle(); }},
      Case{"PlusRegion::CreateFromRgnData", "GdipCreateRegionRgnData",
           [](NoHandles& o) { return !o.region.CreateFromRgnData({}, 0) && !o.region.GetHandle(); }},
      Case{"PlusRegion::Clone", "GdipCloneRegion",
           [](NoHandles& o) { return !o.region.Clone(o.regionTarget) && !o.regionTarget.GetHandle(); }},
      Case{"PlusRegion::MakeInfinite", "GdipSetInfinite", [](NoHandles& o) { return !o.region.MakeInfinite(); }},
      Case{"PlusRegion::MakeEmpty", "GdipSetEmpty", [](NoHandles& o) { return !o.region.MakeEmpty(); }},
      Case{"PlusRegion::CombineRect", "GdipCombineRegionRect",
           [](NoHandles& o) {
             return !o.region.CombineRect(RectF{0, 0, 1, 1});
           }},
      Case{"PlusRegion::CombineRectI", "GdipCombineRegionRectI",
           [](NoHandles& o) {
             return !o.region.CombineRectI(RectI{0, 0, 1, 1}, CombineModeUnion);
           }},
      Case{"PlusRegion::CombineRegion", "GdipCombineRegionRegion",
           [](NoHandles& o) { return !o.region.CombineRegion(o.regionTarget); }},
      Case{"PlusRegion::CombinePath", "GdipCombineRegionPath",
           [](NoHandles& o) { return !o.region.CombinePath(o.path, CombineModeXor); }},
      Case{"PlusRegion::Translate", "GdipTranslateRegion", [](NoHandles& o) { return !o.region.Translate(1, 2); }},
      Case{"PlusRegion::TranslateI", "GdipTranslateRegionI", [](NoHandles& o) { return !o.region.TranslateI(1, 2); }},
      Case{"PlusRegion::Transform", "GdipTransformRegion", [](NoHandles& o) { return !o.region.Transform(o.matrix); }},
      Case{"PlusRegion::GetBounds", "GdipGetRegionBounds",
           [](NoHandles& o) { return o.region.GetBounds(o.graphics) == RectF{}; }},
      Case{"PlusRegion::GetBoundsI", "GdipGetRegionBoundsI",
           [](NoHandles& o) { return o.region.GetBoundsI(o.graphics) == RectI{}; }},
      Case{"PlusRegion::GetDataSize", "GdipGetRegionDataSize",
           [](NoHandles& o) { return o.region.GetDataSize() == 0; }},
      Case{"PlusRegion::GetData", "GdipGetRegionData",
           [](NoHandles& o) {
             UINT filled = 9;
             return o.region.GetData(3, &filled) == ByteBuffer{0, 0, 0} && filled == 9;
           }},
      Case{"PlusRegion::GetHRGN", "GdipGetRegionHRgn",
           [](NoHandles& o) { return o.region.GetHRGN(o.graphics) == nullptr; }},
      Case{"PlusRegion::IsEmpty", "GdipIsEmptyRegion", [](NoHandles& o) { return !o.region.IsEmpty(o.graphics); }},
      Case{"PlusRegion::IsInfinite", "GdipIsInfiniteRegion",
           [](NoHandles& o) { return !o.region.IsInfinite(o.graphics); }},
      Case{"PlusRegion::Equals", "GdipIsEqualRegion",
           [](NoHandles& o) { return !o.region.Equals(o.regionTarget, o.graphics); }},
      Case{"PlusRegion::IsVisiblePoint", "GdipIsVisibleRegionPoint",
           [](NoHandles& o) {
             return !o.region.IsVisiblePoint(PointF{0, 0});
           }},
      Case{"PlusRegion::IsVisiblePointI", "GdipIsVisibleRegionPointI",
           [](NoHandles& o) {
             return !o.region.IsVisiblePointI(PointI{0, 0}, &o.graphics);
           }},
      Case{"PlusRegion::IsVisibleRect", "GdipIsVisibleRegionRect",
           [](NoHandles& o) {
             return !o.region.IsVisibleRect(RectF{0, 0, 1, 1}, &o.graphics);
           }},
      Case{"PlusRegion::IsVisibleRectI", "GdipIsVisibleRegionRectI",
           [](NoHandles& o) {
             return !o.region.IsVisibleRectI(RectI{0, 0, 1, 1});
           }},
      Case{"PlusRegion::GetScansCount", "GdipGetRegionScansCount",
           [](NoHandles& o) { return o.region.GetScansCount(o.matrix) == 0; }},
      Case{"PlusRegion::GetScans", "GdipGetRegionScansCount",
           [](NoHandles& o) {
             std::vector<RectF> rects = {{1, 1, 1, 1}};
             return o.region.GetScans(o.matrix, rects) == 0 && rects.size() == 1;
           }},
      Case{"PlusRegion::GetScansI", "GdipGetRegionScansCount",
           [](NoHandles& o) {
             std::vector<RectI> rects = {{1, 1, 1, 1}};
             return o.region.GetScansI(o.matrix, rects) == 0 && rects.size() == 1;
           }},
  });
}

// The creating operations that take no other object need no handle; a failed creation leaves the
// object without one.
TEST(PlusPathRegion, CreatingOperationsOnFreshObjects) {
  struct Case {
    const char* name;
    std::function<bool(PlusPath&, PlusRegion&)> create;
    bool pathMade;
    bool regionMade;
  };
  const std::vector<Case> cases = {
      {"PlusPath::Create", [](PlusPath& p, PlusRegion&) { return p.Create(); }, true, false},
      {"PlusPath::CreateFromPoints",
       [](PlusPath& p, PlusRegion&) {
         return p.CreateFromPoints({{0, 0}, {1, 1}}, {kStart, kLine});
       },
       true, false},
      {"PlusPath::CreateFromPointsI",
       [](PlusPath& p, PlusRegion&) {
         return p.CreateFromPointsI({{0, 0}, {1, 1}}, {kStart, kLine});
       },
       true, false},
      {"PlusRegion::Create", [](PlusPath&, PlusRegion& r) { return r.Create(); }, false, true},
      {"PlusRegion::CreateFromRect",
       [](PlusPath&, PlusRegion& r) {
         return r.CreateFromRect(RectF{0, 0, 1, 1});
       },
       false, true},
      {"PlusRegion::CreateFromRectI",
       [](PlusPath&, PlusRegion& r) {
         return r.CreateFromRectI(RectI{0, 0, 1, 1});
       },
       false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusPath path;
    PlusRegion region;
    lastStatus = kStatusUntouched;
    EXPECT_TRUE(c.create(path, region));
    EXPECT_EQ(lastStatus, Ok);
    EXPECT_EQ(path.GetHandle() != nullptr, c.pathMade);
    EXPECT_EQ(region.GetHandle() != nullptr, c.regionMade);
  }
}

}  // namespace
}  // namespace tavrel::test
