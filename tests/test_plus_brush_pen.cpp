// The brushes and the pen against the real GDI+. Pixels are drawn and read back with raw GDI+
// calls on a 32bppARGB bitmap; matrices and custom line caps are made with raw calls too.
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/plus_brush_pen.h"
#include "tests/support/foreign_objects.h"
#include "tests/support/null_handle_sweep.h"
#include "tests/support/pixels.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

using namespace plus;
using namespace Gdiplus;
using namespace Gdiplus::DllExports;

static_assert(!std::is_copy_constructible_v<PlusSolidBrush> && !std::is_copy_constructible_v<PlusPen>);
static_assert(!std::is_copy_constructible_v<PlusLinearGradientBrush>);

const std::vector<float> kIdentity = {1, 0, 0, 1, 0, 0};

void DeleteCustomLineCap(void* handle) { GdipDeleteCustomLineCap(static_cast<GpCustomLineCap*>(handle)); }

// A custom line cap drawn by a small square path.
ForeignObject NewCustomLineCap() {
  GpPath* path = nullptr;
  GdipCreatePath(FillModeAlternate, &path);
  GdipAddPathRectangle(path, -1, -1, 2, 2);
  GpCustomLineCap* cap = nullptr;
  GdipCreateCustomLineCap(nullptr, path, LineCapFlat, 0, &cap);
  GdipDeletePath(path);
  return ForeignObject(cap, DeleteCustomLineCap);
}

// The brush filling a width x height bitmap, pixel by pixel.
std::vector<Argb> Filled(const PlusBrush& brush, int width, int height) {
  ArgbBitmap bitmap(width, height);
  GpGraphics* graphics = bitmap.NewGraphics();
  EXPECT_EQ(GdipFillRectangleI(graphics, brush.GetHandle(), 0, 0, width, height), Ok);
  GdipDeleteGraphics(graphics);
  return bitmap.Pixels();
}

// The brush level and the solid brush

TEST(PlusSolidBrush, ColorAndType) {
  PlusSolidBrush brush;
  ASSERT_TRUE(brush.Create(0x80112233));
  EXPECT_NE(brush.GetHandle(), nullptr);
  EXPECT_EQ(brush.GetColor(), 0x80112233u);
  EXPECT_EQ(brush.GetType(), BrushTypeSolidColor);
  EXPECT_TRUE(brush.SetColor(0xFF445566));
  EXPECT_EQ(brush.GetColor(), 0xFF445566u);
  EXPECT_EQ(lastStatus, Ok);
}

TEST(PlusSolidBrush, SetHandleKeepsAllThreeCopies) {
  GpSolidFill* fill = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xFF010203, &fill), Ok);
  PlusSolidBrush brush;
  brush.SetHandle(fill);
  EXPECT_EQ(brush.GetHandle(), fill);
  // GetType reads the brush level's copy, GetColor the class's own.
  EXPECT_EQ(brush.GetType(), BrushTypeSolidColor);
  EXPECT_EQ(brush.GetColor(), 0xFF010203u);
  brush.SetHandle(nullptr);
  EXPECT_FALSE(brush.SetColor(1));
  EXPECT_EQ(lastStatus, InvalidParameter);
  GdipDeleteBrush(fill);
}

TEST(PlusSolidBrush, FillsWithItsColor) {
  PlusSolidBrush brush;
  ASSERT_TRUE(brush.Create(0xFF336699));
  for (Argb pixel : Filled(brush, 4, 4)) EXPECT_EQ(pixel, 0xFF336699u);
}

TEST(PlusBrush, CloneReplacesTheTargetsHandleWithoutDeletingIt) {
  PlusSolidBrush brush;
  ASSERT_TRUE(brush.Create(0xFF0000FF));
  PlusSolidBrush target;
  ASSERT_TRUE(target.Create(0xFF00FF00));
  GpBrush* const previous = target.GetHandle();

  EXPECT_TRUE(brush.Clone(target));
  EXPECT_NE(target.GetHandle(), previous);
  EXPECT_NE(target.GetHandle(), brush.GetHandle());
  EXPECT_EQ(target.GetColor(), 0xFF0000FFu);
  ARGB color = 0;
  EXPECT_EQ(GdipGetSolidFillColor(static_cast<GpSolidFill*>(previous), &color), Ok);
  EXPECT_EQ(color, 0xFF00FF00u);
  GdipDeleteBrush(previous);
}

TEST(PlusBrush, DisposeOnceThenFalseWithoutStatus) {
  PlusSolidBrush solid;
  ASSERT_TRUE(solid.Create(0xFF000000));
  PlusLinearGradientBrush gradient;
  ASSERT_TRUE(gradient.CreateFromPoints({0, 0}, {1, 0}, 0xFF000000, 0xFFFFFFFF));
  for (PlusBrush* brush : {static_cast<PlusBrush*>(&solid), static_cast<PlusBrush*>(&gradient)}) {
    EXPECT_TRUE(brush->Dispose());
    EXPECT_EQ(brush->GetHandle(), nullptr);
    lastStatus = kStatusUntouched;
    EXPECT_FALSE(brush->Dispose());
    EXPECT_EQ(lastStatus, kStatusUntouched);
  }
}

// Destroying a brush or a pen deletes its GDI+ object: the deletion's status is the last one.
TEST(PlusBrushPen, DestroyingDisposes) {
  {
    PlusSolidBrush solid;
    ASSERT_TRUE(solid.Create(0xFF000000));
    lastStatus = kStatusUntouched;
  }
  EXPECT_EQ(lastStatus, Ok);
  {
    PlusLinearGradientBrush gradient;
    ASSERT_TRUE(gradient.CreateFromPoints({0, 0}, {1, 0}, 0xFF000000, 0xFFFFFFFF));
    lastStatus = kStatusUntouched;
  }
  EXPECT_EQ(lastStatus, Ok);
  {
    PlusPen pen;
    ASSERT_TRUE(pen.Create(0xFF000000, 1));
    lastStatus = kStatusUntouched;
  }
  EXPECT_EQ(lastStatus, Ok);
  // Without a handle nothing is called.
  { PlusPen pen; }
  EXPECT_EQ(lastStatus, Ok);
}

// The linear gradient brush

TEST(PlusLinearGradientBrush, EveryCreationTiles) {
  struct Case {
    const char* name;
    std::function<bool(PlusLinearGradientBrush&)> create;
  };
  const Argb from = 0xFF000000;
  const Argb to = 0xFFFF0000;
  const PointF start{0, 0}, end{16, 0};
  const PointI startI{0, 0}, endI{16, 0};
  const RectF rect{0, 0, 16, 4};
  const RectI rectI{0, 0, 16, 4};
  const std::vector<Case> cases = {
      {"CreateFromPoints", [&](auto& b) { return b.CreateFromPoints(start, end, from, to); }},
      {"CreateFromPointsI", [&](auto& b) { return b.CreateFromPointsI(startI, endI, from, to); }},
      {"CreateFromRect", [&](auto& b) { return b.CreateFromRect(rect, from, to); }},
      {"CreateFromRectI", [&](auto& b) { return b.CreateFromRectI(rectI, from, to, LinearGradientModeVertical); }},
      {"CreateFromRectWithAngle", [&](auto& b) { return b.CreateFromRectWithAngle(rect, from, to, 30); }},
      {"CreateFromRectWithAngleI", [&](auto& b) { return b.CreateFromRectWithAngleI(rectI, from, to, 45, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusLinearGradientBrush brush;
    EXPECT_TRUE(c.create(brush));
    EXPECT_NE(brush.GetHandle(), nullptr);
    EXPECT_EQ(brush.GetType(), BrushTypeLinearGradient);
    EXPECT_EQ(brush.GetWrapMode(), WrapModeTile);
    Argb color1 = 0;
    Argb color2 = 0;
    EXPECT_TRUE(brush.GetColors(color1, color2));
    EXPECT_EQ(color1, from);
    EXPECT_EQ(color2, to);
  }
}

TEST(PlusLinearGradientBrush, FillsARampThatRepeats) {
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromPoints({0, 0}, {16, 0}, 0xFF000000, 0xFFFF0000));
  const std::vector<Argb> pixels = Filled(brush, 32, 2);
  for (int x = 0; x < 16; ++x) {
    SCOPED_TRACE(x);
    // Black to red across 16 pixels, sampled at the pixel's centre or its left edge.
    const int red = static_cast<int>(255 * (x + 0.5) / 16);
    EXPECT_LE(ChannelDistance(pixels[x], 0xFF000000 | static_cast<Argb>(red) << 16), 9);
    // Tiled: the second 16 pixels repeat the first.
    EXPECT_EQ(pixels[16 + x], pixels[x]);
  }
  EXPECT_LT(pixels[0] >> 16 & 0xFF, pixels[15] >> 16 & 0xFF);
}

TEST(PlusLinearGradientBrush, ColorsAndRectangles) {
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromRectI({1, 2, 30, 40}, 0xFF102030, 0x80405060));
  EXPECT_EQ(brush.GetRectI(), (RectI{1, 2, 30, 40}));
  EXPECT_EQ(brush.GetRect(), (RectF{1, 2, 30, 40}));
  EXPECT_TRUE(brush.SetColors(0xFFFFFFFF, 0x01020304));
  Argb color1 = 0;
  Argb color2 = 0;
  EXPECT_TRUE(brush.GetColors(color1, color2));
  EXPECT_EQ(color1, 0xFFFFFFFFu);
  EXPECT_EQ(color2, 0x01020304u);
}

TEST(PlusLinearGradientBrush, GammaCorrectionAndWrapMode) {
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromPoints({0, 0}, {8, 0}, 0xFF000000, 0xFFFFFFFF));
  EXPECT_FALSE(brush.GetGammaCorrection());
  EXPECT_TRUE(brush.SetGammaCorrection(true));
  EXPECT_TRUE(brush.GetGammaCorrection());
  EXPECT_TRUE(brush.SetWrapMode(WrapModeTileFlipX));
  EXPECT_EQ(brush.GetWrapMode(), WrapModeTileFlipX);
}

TEST(PlusLinearGradientBrush, BlendCounts) {
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromPoints({0, 0}, {8, 0}, 0xFF000000, 0xFFFFFFFF));
  INT reported = -1;
  ASSERT_EQ(GdipGetLineBlendCount(static_cast<GpLineGradient*>(brush.GetHandle()), &reported), Ok);
  std::vector<float> factors = {9, 9, 9, 9, 9};
  std::vector<float> positions;
  EXPECT_EQ(brush.GetBlend(factors, positions), reported);
  EXPECT_EQ(factors.size(), static_cast<size_t>(reported));
  EXPECT_EQ(positions.size(), static_cast<size_t>(reported));

  ASSERT_TRUE(brush.SetBlend({0, 1, 0.25f}, {0, 0.5f, 1}));
  EXPECT_EQ(brush.GetBlend(factors, positions), 3);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(factors, (std::vector<float>{0, 1, 0.25f}));
  EXPECT_EQ(positions, (std::vector<float>{0, 0.5f, 1}));

  EXPECT_TRUE(brush.SetSigmaBlend(0.5f, 1));
  EXPECT_GT(brush.GetBlend(factors, positions), 1);
  EXPECT_TRUE(brush.SetLinearBlend(0.5f, 1));
  EXPECT_GT(brush.GetBlend(factors, positions), 1);
}

TEST(PlusLinearGradientBrush, PresetBlend) {
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromPoints({0, 0}, {8, 0}, 0xFF000000, 0xFFFFFFFF));
  ASSERT_TRUE(brush.SetPresetBlend({0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0, 0.5f, 1}));
  std::vector<Argb> colors;
  std::vector<float> positions = {7};
  EXPECT_EQ(brush.GetPresetBlend(colors, positions), 3);
  EXPECT_EQ(colors, (std::vector<Argb>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
  EXPECT_EQ(positions, (std::vector<float>{0, 0.5f, 1}));
}

TEST(PlusLinearGradientBrush, Transforms) {
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromRect({0, 0, 8, 8}, 0xFF000000, 0xFFFFFFFF));
  ForeignObject out = NewMatrix();
  ASSERT_TRUE(brush.SetTransform(NewMatrix(2, 0, 0, 2, 0, 0)));
  EXPECT_TRUE(brush.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{2, 0, 0, 2, 0, 0}));
  EXPECT_TRUE(brush.TranslateTransform(3, 4, MatrixOrderAppend));
  EXPECT_TRUE(brush.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{2, 0, 0, 2, 3, 4}));
  EXPECT_TRUE(brush.ScaleTransform(0.5f, 0.5f));
  EXPECT_TRUE(brush.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{1, 0, 0, 1, 3, 4}));
  EXPECT_TRUE(brush.MultiplyTransform(NewMatrix(1, 0, 0, 1, 1, 1), MatrixOrderAppend));
  EXPECT_TRUE(brush.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{1, 0, 0, 1, 4, 5}));
  EXPECT_TRUE(brush.ResetTransform());
  EXPECT_TRUE(brush.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), kIdentity);
}

TEST(PlusLinearGradientBrush, RotateTransformIsNotImplementedInWine) {
  if (!RunningUnderWine()) GTEST_SKIP() << "a Wine limitation";
  PlusLinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateFromRect({0, 0, 8, 8}, 0xFF000000, 0xFFFFFFFF));
  for (MatrixOrder order : {MatrixOrderPrepend, MatrixOrderAppend}) {
    EXPECT_FALSE(brush.RotateTransform(90, order));
    EXPECT_EQ(lastStatus, NotImplemented);
  }
  ForeignObject out = NewMatrix(5, 5, 5, 5, 5, 5);
  EXPECT_TRUE(brush.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), kIdentity);
}

// The pen

TEST(PlusPen, CreateWithColorAndWidth) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF112233, 2.0f));
  EXPECT_NE(pen.GetHandle(), nullptr);
  EXPECT_EQ(pen.GetWidth(), 2);
  EXPECT_EQ(pen.GetUnit(), UnitWorld);
  EXPECT_EQ(pen.GetColor(), 0xFF112233u);
  EXPECT_EQ(pen.GetPenType(), PenTypeSolidColor);
  EXPECT_TRUE(pen.SetWidth(3.5f));
  EXPECT_EQ(pen.GetWidth(), 3.5f);
  EXPECT_TRUE(pen.SetColor(0x80FFFFFF));
  EXPECT_EQ(pen.GetColor(), 0x80FFFFFFu);

  PlusPen inPixels;
  ASSERT_TRUE(inPixels.Create(0xFF000000, 1, UnitPixel));
  EXPECT_EQ(inPixels.GetUnit(), UnitPixel);
}

TEST(PlusPen, UnitNumbersAreTruncatedTowardZero) {
  EXPECT_EQ(PlusPen::UnitArgument(2.7), UnitPixel);
  EXPECT_EQ(PlusPen::UnitArgument(2.0), UnitPixel);
  EXPECT_EQ(PlusPen::UnitArgument(6.999), UnitMillimeter);
  EXPECT_EQ(PlusPen::UnitArgument(0.9), UnitWorld);
  EXPECT_EQ(PlusPen::UnitArgument(-0.9), UnitWorld);
  EXPECT_EQ(static_cast<int>(PlusPen::UnitArgument(-1.5)), -1);
}

TEST(PlusPen, SetUnit) {
  // Wine's GdipSetPenUnit is a stub that ends the process.
  if (IsWineStub("GdipSetPenUnit")) GTEST_SKIP() << "GdipSetPenUnit is a Wine stub";
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 2.0f));
  EXPECT_TRUE(pen.SetUnit(2.7));
  EXPECT_EQ(pen.GetUnit(), UnitPixel);
}

TEST(PlusPen, SettersAndGettersRoundTrip) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 2.0f));
  struct Case {
    const char* name;
    std::function<bool()> set;
    std::function<double()> get;
    double expected;
  };
  const std::vector<Case> cases = {
      {"StartCap", [&] { return pen.SetStartCap(LineCapRound); }, [&] { return pen.GetStartCap(); }, LineCapRound},
      {"EndCap", [&] { return pen.SetEndCap(LineCapTriangle); }, [&] { return pen.GetEndCap(); }, LineCapTriangle},
      {"DashCap", [&] { return pen.SetDashCap(DashCapTriangle); }, [&] { return pen.GetDashCap(); }, DashCapTriangle},
      {"DashCap2", [&] { return pen.SetDashCap(DashCapRound); }, [&] { return pen.GetDashCap2(); }, DashCapRound},
      {"LineJoin", [&] { return pen.SetLineJoin(LineJoinRound); }, [&] { return pen.GetLineJoin(); }, LineJoinRound},
      {"MiterLimit", [&] { return pen.SetMiterLimit(5.5f); }, [&] { return pen.GetMiterLimit(); }, 5.5},
      {"Alignment", [&] { return pen.SetAlignment(PenAlignmentInset); }, [&] { return pen.GetAlignment(); },
       PenAlignmentInset},
      {"DashStyle", [&] { return pen.SetDashStyle(DashStyleDashDot); }, [&] { return pen.GetDashStyle(); },
       DashStyleDashDot},
      {"DashOffset", [&] { return pen.SetDashOffset(1.5f); }, [&] { return pen.GetDashOffset(); }, 1.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.set());
    EXPECT_EQ(c.get(), c.expected);
    EXPECT_EQ(lastStatus, Ok);
  }
}

TEST(PlusPen, SetLineCapAndSetLineCap2Agree) {
  for (auto setLineCap : {&PlusPen::SetLineCap, &PlusPen::SetLineCap2}) {
    PlusPen pen;
    ASSERT_TRUE(pen.Create(0xFF000000, 2.0f));
    EXPECT_TRUE((pen.*setLineCap)(LineCapSquare, LineCapArrowAnchor, DashCapTriangle));
    EXPECT_EQ(pen.GetStartCap(), LineCapSquare);
    EXPECT_EQ(pen.GetEndCap(), LineCapArrowAnchor);
    EXPECT_EQ(pen.GetDashCap(), DashCapTriangle);
    EXPECT_EQ(pen.GetDashCap2(), DashCapTriangle);
  }
}

TEST(PlusPen, DashPattern) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 2.0f));
  std::vector<float> pattern = {9};
  // A solid pen has no dashes: GDI+ reports 0 entries and the list is emptied.
  EXPECT_EQ(pen.GetDashPattern(pattern), 0);
  EXPECT_TRUE(pattern.empty());

  ASSERT_TRUE(pen.SetDashPattern({1, 2, 3, 4}));
  EXPECT_EQ(pen.GetDashStyle(), DashStyleCustom);
  EXPECT_EQ(pen.GetDashPattern(pattern), 4);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(pattern, (std::vector<float>{1, 2, 3, 4}));
  if (RunningUnderWine()) {
    // An empty pattern passes 0 entries, which Wine's GDI+ refuses.
    EXPECT_FALSE(pen.SetDashPattern({}));
    EXPECT_EQ(lastStatus, InvalidParameter);
  }
}

TEST(PlusPen, CompoundArray) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 4.0f));
  ASSERT_TRUE(pen.SetCompoundArray({0, 0.25f, 0.75f, 1}));
  std::vector<float> values;
  EXPECT_EQ(pen.GetCompoundArray(values), 4);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(values, (std::vector<float>{0, 0.25f, 0.75f, 1}));
}

TEST(PlusPen, CustomCaps) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 2.0f));
  ForeignObject cap = NewCustomLineCap();
  ASSERT_NE(cap.GetHandle(), nullptr);
  EXPECT_TRUE(pen.SetCustomStartCap(cap));
  EXPECT_TRUE(pen.SetCustomEndCap(cap));
  EXPECT_EQ(pen.GetStartCap(), LineCapCustom);
  EXPECT_EQ(pen.GetEndCap(), LineCapCustom);
  // Each getter hands out a new custom cap.
  ForeignObject start(nullptr, DeleteCustomLineCap);
  ForeignObject end(nullptr, DeleteCustomLineCap);
  EXPECT_TRUE(pen.GetCustomStartCap(start));
  EXPECT_TRUE(pen.GetCustomEndCap(end));
  EXPECT_NE(start.GetHandle(), nullptr);
  EXPECT_NE(end.GetHandle(), nullptr);
  EXPECT_NE(start.GetHandle(), cap.GetHandle());
}

TEST(PlusPen, Transforms) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 2.0f));
  ForeignObject out = NewMatrix();
  ASSERT_TRUE(pen.SetTransform(NewMatrix(2, 0, 0, 2, 0, 0)));
  EXPECT_TRUE(pen.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{2, 0, 0, 2, 0, 0}));
  EXPECT_TRUE(pen.ScaleTransform(0.5f, 0.25f));
  EXPECT_TRUE(pen.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{1, 0, 0, 0.5f, 0, 0}));
  EXPECT_TRUE(pen.MultiplyTransform(NewMatrix(2, 0, 0, 2, 0, 0)));
  EXPECT_TRUE(pen.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), (std::vector<float>{2, 0, 0, 1, 0, 0}));
  EXPECT_TRUE(pen.RotateTransform(90));
  EXPECT_TRUE(pen.TranslateTransform(1, 1));
  EXPECT_TRUE(pen.ResetTransform());
  EXPECT_TRUE(pen.GetTransform(out));
  EXPECT_EQ(MatrixElements(out), kIdentity);
}

TEST(PlusPen, BrushFill) {
  PlusSolidBrush solid;
  ASSERT_TRUE(solid.Create(0x80112233));
  PlusPen pen;
  ASSERT_TRUE(pen.CreateFromBrush(solid, 3));
  EXPECT_EQ(pen.GetWidth(), 3);
  EXPECT_EQ(pen.GetPenType(), PenTypeSolidColor);
  EXPECT_EQ(pen.GetColor(), 0x80112233u);
  PlusSolidBrush solidFill;
  EXPECT_TRUE(pen.GetBrush(solidFill));
  EXPECT_NE(solidFill.GetHandle(), solid.GetHandle());
  EXPECT_EQ(solidFill.GetType(), BrushTypeSolidColor);
  EXPECT_EQ(solidFill.GetColor(), 0x80112233u);

  PlusLinearGradientBrush gradient;
  ASSERT_TRUE(gradient.CreateFromPoints({0, 0}, {4, 0}, 0xFF000000, 0xFF0000FF));
  EXPECT_TRUE(pen.SetBrush(gradient));
  EXPECT_EQ(pen.GetPenType(), PenTypeLinearGradient);
  PlusLinearGradientBrush gradientFill;
  EXPECT_TRUE(pen.GetBrush(gradientFill));
  Argb color1 = 0;
  Argb color2 = 0;
  EXPECT_TRUE(gradientFill.GetColors(color1, color2));
  EXPECT_EQ(color1, 0xFF000000u);
  EXPECT_EQ(color2, 0xFF0000FFu);
}

TEST(PlusPen, CloneReplacesTheTargetsHandleWithoutDeletingIt) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF0000FF, 2));
  PlusPen target;
  ASSERT_TRUE(target.Create(0xFF00FF00, 7));
  GpPen* const previous = target.GetHandle();

  EXPECT_TRUE(pen.Clone(target));
  EXPECT_NE(target.GetHandle(), previous);
  EXPECT_NE(target.GetHandle(), pen.GetHandle());
  EXPECT_EQ(target.GetWidth(), 2);
  REAL width = 0;
  EXPECT_EQ(GdipGetPenWidth(previous, &width), Ok);
  EXPECT_EQ(width, 7);
  GdipDeletePen(previous);
}

TEST(PlusPen, DisposeOnceThenFalseWithoutStatus) {
  PlusPen pen;
  ASSERT_TRUE(pen.Create(0xFF000000, 1));
  EXPECT_TRUE(pen.Dispose());
  EXPECT_EQ(pen.GetHandle(), nullptr);
  lastStatus = kStatusUntouched;
  EXPECT_FALSE(pen.Dispose());
  EXPECT_EQ(lastStatus, kStatusUntouched);
}

// Every operation on objects without handles.

const std::vector<float> kZeroOne = {0, 1};
// A list a failed getter must leave as it was.
const std::vector<float> kBefore = {7};
const std::vector<Argb> kTwoColors = {1, 2};

struct NoHandles {
  PlusSolidBrush solid, solidTarget;
  PlusLinearGradientBrush gradient, gradientTarget;
  PlusPen pen, penTarget;
  ForeignObject matrix, cap, capTarget;
};

TEST(PlusBrushPen, EveryOperationWithoutHandles) {
  using Case = NullHandleCase<NoHandles>;
  SweepNullHandles<NoHandles>({
      // The brush level, through both brush classes
      Case{"PlusSolidBrush::Dispose", "GdipDeleteBrush", [](NoHandles& o) { return !o.solid.Dispose(); },
           kStatusUntouched},
      Case{"PlusSolidBrush::Clone", "GdipCloneBrush",
           [](NoHandles& o) { return !o.solid.Clone(o.solidTarget) && !o.solidTarget.GetHandle(); }},
      Case{"PlusSolidBrush::GetType", "GdipGetBrushType", [](NoHandles& o) { return !o.solid.GetType(); }},
      Case{"PlusLinearGradientBrush::Dispose", "GdipDeleteBrush", [](NoHandles& o) { return !o.gradient.Dispose(); },
           kStatusUntouched},
      Case{"PlusLinearGradientBrush::Clone", "GdipCloneBrush",
           [](NoHandles& o) { return !o.gradient.Clone(o.gradientTarget) && !o.gradientTarget.GetHandle(); }},
      Case{"PlusLinearGradientBrush::GetType", "GdipGetBrushType", [](NoHandles& o) { return !o.gradient.GetType(); }},
      // PlusSolidBrush
      Case{"PlusSolidBrush::SetColor", "GdipSetSolidFillColor", [](NoHandles& o) { return !o.solid.SetColor(1); }},
      Case{"PlusSolidBrush::GetColor", "GdipGetSolidFillColor", [](NoHandles& o) { return !o.solid.GetColor(); }},
      // PlusLinearGradientBrush
      Case{"PlusLinearGradientBrush::GetColors", "GdipGetLineColors",
           [](NoHandles& o) {
             Argb color1 = 5;
             Argb color2 = 5;
             return !o.gradient.GetColors(color1, color2) && !color1 && !color2;
           }},
      Case{"PlusLinearGradientBrush::SetColors", "GdipSetLineColors",
           [](NoHandles& o) { return !o.gradient.SetColors(1, 2); }},
      Case{"PlusLinearGradientBrush::GetRect", "GdipGetLineRect",
           [](NoHandles& o) { return o.gradient.GetRect() == RectF{}; }},
      Case{"PlusLinearGradientBrush::GetRectI", "GdipGetLineRectI",
           [](NoHandles& o) { return o.gradient.GetRectI() == RectI{}; }},
      Case{"PlusLinearGradientBrush::SetGammaCorrection", "GdipSetLineGammaCorrection",
           [](NoHandles& o) { return !o.gradient.SetGammaCorrection(true); }},
      Case{"PlusLinearGradientBrush::GetGammaCorrection", "GdipGetLineGammaCorrection",
           [](NoHandles& o) { return !o.gradient.GetGammaCorrection(); }},
      Case{"PlusLinearGradientBrush::SetBlend", "GdipSetLineBlend",
           [](NoHandles& o) { return !o.gradient.SetBlend(kZeroOne, kZeroOne); }},
      Case{"PlusLinearGradientBrush::GetBlend", "GdipGetLineBlendCount",
           [](NoHandles& o) {
             std::vector<float> factors = kBefore;
             std::vector<float> positions = kBefore;
             return !o.gradient.GetBlend(factors, positions) && factors == kBefore && positions == kBefore;
           }},
      Case{"PlusLinearGradientBrush::SetPresetBlend", "GdipSetLinePresetBlend",
           [](NoHandles& o) { return !o.gradient.SetPresetBlend(kTwoColors, kZeroOne); }},
      Case{"PlusLinearGradientBrush::GetPresetBlend", "GdipGetLinePresetBlendCount",
           [](NoHandles& o) {
             std::vector<Argb> colors = {7};
             std::vector<float> positions = kBefore;
             return !o.gradient.GetPresetBlend(colors, positions) && colors.size() == 1 && positions == kBefore;
           }},
      Case{"PlusLinearGradientBrush::SetSigmaBlend", "GdipSetLineSigmaBlend",
           [](NoHandles& o) { return !o.gradient.SetSigmaBlend(0.5f, 1); }},
      Case{"PlusLinearGradientBrush::SetLinearBlend", "GdipSetLineLinearBlend",
           [](NoHandles& o) { return !o.gradient.SetLinearBlend(0.5f, 1); }},
      Case{"PlusLinearGradientBrush::GetWrapMode", "GdipGetLineWrapMode",
           [](NoHandles& o) { return !o.gradient.GetWrapMode(); }},
      Case{"PlusLinearGradientBrush::SetWrapMode", "GdipSetLineWrapMode",
           [](NoHandles& o) { return !o.gradient.SetWrapMode(WrapModeClamp); }},
      Case{"PlusLinearGradientBrush::GetTransform", "GdipGetLineTransform",
           [](NoHandles& o) { return !o.gradient.GetTransform(o.matrix); }},
      Case{"PlusLinearGradientBrush::SetTransform", "GdipSetLineTransform",
           [](NoHandles& o) { return !o.gradient.SetTransform(o.matrix); }},
      Case{"PlusLinearGradientBrush::ResetTransform", "GdipResetLineTransform",
           [](NoHandles& o) { return !o.gradient.ResetTransform(); }},
      Case{"PlusLinearGradientBrush::MultiplyTransform", "GdipMultiplyLineTransform",
           [](NoHandles& o) { return !o.gradient.MultiplyTransform(o.matrix); }},
      Case{"PlusLinearGradientBrush::TranslateTransform", "GdipTranslateLineTransform",
           [](NoHandles& o) { return !o.gradient.TranslateTransform(1, 1); }},
      Case{"PlusLinearGradientBrush::ScaleTransform", "GdipScaleLineTransform",
           [](NoHandles& o) { return !o.gradient.ScaleTransform(2, 2); }},
      Case{"PlusLinearGradientBrush::RotateTransform", "GdipRotateLineTransform",
           [](NoHandles& o) { return !o.gradient.RotateTransform(90); }},
      // PlusPen
      Case{"PlusPen::Dispose", "GdipDeletePen", [](NoHandles& o) { return !o.pen.Dispose(); }, kStatusUntouched},
      Case{"PlusPen::CreateFromBrush", "GdipCreatePen2",
           [](NoHandles& o) { return !o.pen.CreateFromBrush(o.solid, 1) && !o.pen.GetHandle(); }},
      Case{"PlusPen::Clone", "GdipClonePen",
           [](NoHandles& o) { return !o.pen.Clone(o.penTarget) && !o.penTarget.GetHandle(); }},
      Case{"PlusPen::GetWidth", "GdipGetPenWidth", [](NoHandles& o) { return !o.pen.GetWidth(); }},
      Case{"PlusPen::SetWidth", "GdipSetPenWidth", [](NoHandles& o) { return !o.pen.SetWidth(2); }},
      Case{"PlusPen::GetUnit", "GdipGetPenUnit", [](NoHandles& o) { return !o.pen.GetUnit(); }},
      Case{"PlusPen::SetUnit", "GdipSetPenUnit", [](NoHandles& o) { return !o.pen.SetUnit(2.7); }},
      Case{"PlusPen::SetLineCap", "GdipSetPenLineCap197819",
           [](NoHandles& o) { return !o.pen.SetLineCap(LineCapRound, LineCapRound, DashCapRound); }},
      Case{"PlusPen::SetLineCap2", "GdipSetPenLineCap197819",
           [](NoHandles& o) { return !o.pen.SetLineCap2(LineCapRound, LineCapRound, DashCapRound); }},
      Case{"PlusPen::SetStartCap", "GdipSetPenStartCap", [](NoHandles& o) { return !o.pen.SetStartCap(LineCapRound); }},
      Case{"PlusPen::SetEndCap", "GdipSetPenEndCap", [](NoHandles& o) { return !o.pen.SetEndCap(LineCapRound); }},
      Case{"PlusPen::SetDashCap", "GdipSetPenDashCap197819",
           [](NoHandles& o) { return !o.pen.SetDashCap(DashCapRound); }},
      Case{"PlusPen::GetStartCap", "GdipGetPenStartCap", [](NoHandles& o) { return !o.pen.GetStartCap(); }},
      Case{"PlusPen::GetEndCap", "GdipGetPenEndCap", [](NoHandles& o) { return !o.pen.GetEndCap(); }},
      Case{"PlusPen::GetDashCap", "GdipGetPenDashCap197819", [](NoHandles& o) { return !o.pen.GetDashCap(); }},
      Case{"PlusPen::GetDashCap2", "GdipGetPenDashCap197819", [](NoHandles& o) { return !o.pen.GetDashCap2(); }},
      Case{"PlusPen::SetLineJoin", "GdipSetPenLineJoin",
           [](NoHandles& o) { return !o.pen.SetLineJoin(LineJoinRound); }},
      Case{"PlusPen::GetLineJoin", "GdipGetPenLineJoin", [](NoHandles& o) { return !o.pen.GetLineJoin(); }},
      Case{"PlusPen::SetCustomStartCap", "GdipSetPenCustomStartCap",
           [](NoHandles& o) { return !o.pen.SetCustomStartCap(o.cap); }},
      Case{"PlusPen::GetCustomStartCap", "GdipGetPenCustomStartCap",
           [](NoHandles& o) { return !o.pen.GetCustomStartCap(o.capTarget) && !o.capTarget.GetHandle(); }},
      Case{"PlusPen::SetCustomEndCap", "GdipSetPenCustomEndCap",
           [](NoHandles& o) { return !o.pen.SetCustomEndCap(o.cap); }},
      Case{"PlusPen::GetCustomEndCap", "GdipGetPenCustomEndCap",
           [](NoHandles& o) { return !o.pen.GetCustomEndCap(o.capTarget) && !o.capTarget.GetHandle(); }},
      Case{"PlusPen::SetMiterLimit", "GdipSetPenMiterLimit", [](NoHandles& o) { return !o.pen.SetMiterLimit(3); }},
      Case{"PlusPen::GetMiterLimit", "GdipGetPenMiterLimit", [](NoHandles& o) { return !o.pen.GetMiterLimit(); }},
      Case{"PlusPen::SetAlignment", "GdipSetPenMode",
           [](NoHandles& o) { return !o.pen.SetAlignment(PenAlignmentInset); }},
      Case{"PlusPen::GetAlignment", "GdipGetPenMode", [](NoHandles& o) { return !o.pen.GetAlignment(); }},
      Case{"PlusPen::SetTransform", "GdipSetPenTransform", [](NoHandles& o) { return !o.pen.SetTransform(o.matrix); }},
      Case{"PlusPen::GetTransform", "GdipGetPenTransform", [](NoHandles& o) { return !o.pen.GetTransform(o.matrix); }},
      Case{"PlusPen::ResetTransform", "GdipResetPenTransform", [](NoHandles& o) { return !o.pen.ResetTransform(); }},
      Case{"PlusPen::MultiplyTransform", "GdipMultiplyPenTransform",
           [](NoHandles& o) { return !o.pen.MultiplyTransform(o.matrix); }},
      Case{"PlusPen::RotateTransform", "GdipRotatePenTransform",
           [](NoHandles& o) { return !o.pen.RotateTransform(90); }},
      Case{"PlusPen::ScaleTransform", "GdipScalePenTransform",
           [](NoHandles& o) { return !o.pen.ScaleTransform(2, 2); }},
      Case{"PlusPen::TranslateTransform", "GdipTranslatePenTransform",
           [](NoHandles& o) { return !o.pen.TranslateTransform(1, 1); }},
      Case{"PlusPen::GetColor", "GdipGetPenColor", [](NoHandles& o) { return !o.pen.GetColor(); }},
      Case{"PlusPen::SetColor", "GdipSetPenColor", [](NoHandles& o) { return !o.pen.SetColor(1); }},
      Case{"PlusPen::SetBrush", "GdipSetPenBrushFill", [](NoHandles& o) { return !o.pen.SetBrush(o.solid); }},
      Case{"PlusPen::GetBrush", "GdipGetPenBrushFill",
           [](NoHandles& o) { return !o.pen.GetBrush(o.solidTarget) && !o.solidTarget.GetHandle(); }},
      Case{"PlusPen::GetPenType", "GdipGetPenFillType", [](NoHandles& o) { return !o.pen.GetPenType(); }},
      Case{"PlusPen::SetDashStyle", "GdipSetPenDashStyle",
           [](NoHandles& o) { return !o.pen.SetDashStyle(DashStyleDot); }},
      Case{"PlusPen::GetDashStyle", "GdipGetPenDashStyle", [](NoHandles& o) { return !o.pen.GetDashStyle(); }},
      Case{"PlusPen::GetDashOffset", "GdipGetPenDashOffset", [](NoHandles& o) { return !o.pen.GetDashOffset(); }},
      Case{"PlusPen::SetDashOffset", "GdipSetPenDashOffset", [](NoHandles& o) { return !o.pen.SetDashOffset(1); }},
      Case{"PlusPen::GetDashPattern", "GdipGetPenDashCount",
           [](NoHandles& o) {
             std::vector<float> pattern = kBefore;
             return !o.pen.GetDashPattern(pattern) && pattern == kBefore;
           }},
      Case{"PlusPen::SetDashPattern", "GdipSetPenDashArray",
           [](NoHandles& o) { return !o.pen.SetDashPattern(kZeroOne); }},
      Case{"PlusPen::SetCompoundArray", "GdipSetPenCompoundArray",
           [](NoHandles& o) { return !o.pen.SetCompoundArray(kZeroOne); }},
      Case{"PlusPen::GetCompoundArray", "GdipGetPenCompoundCount",
           [](NoHandles& o) {
             std::vector<float> values = kBefore;
             return !o.pen.GetCompoundArray(values) && values == kBefore;
           }},
  });
}

}  // namespace
}  // namespace tavrel::test
