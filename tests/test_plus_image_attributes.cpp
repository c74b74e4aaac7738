// PlusImageAttributes against Wine's real GDI+: each adjustment is checked by drawing a small
// one-coloured image through it and reading the pixels back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "gdiplus_objects/plus_graphics.h"
#include "tests/support/pixels.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::plus {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;
using test::ArgbBitmap;
using test::ChannelDistance;

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kGreen = 0xFF00FF00;
constexpr Argb kBlue = 0xFF0000FF;
constexpr Argb kWhite = 0xFFFFFFFF;
constexpr Argb kNone = 0x00000000;

ColorMatrix Identity() {
  ColorMatrix matrix;
  for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1;
  return matrix;
}

// The identity with alpha scaled: how the skin draws a picture with an opacity.
ColorMatrix Opacity(float alpha) {
  ColorMatrix matrix = Identity();
  matrix.m[3][3] = alpha;
  return matrix;
}

// Red out of blue and blue out of red.
ColorMatrix SwapRedAndBlue() {
  ColorMatrix matrix = Identity();
  matrix.m[0][0] = matrix.m[2][2] = 0;
  matrix.m[0][2] = matrix.m[2][0] = 1;
  return matrix;
}

// The pixel in the middle of an 8 x 8 image of one colour drawn 1:1 through the attributes onto
// the background.
Argb Drawn(Argb color, const PlusImageAttributes& attributes, Argb background = kNone) {
  ArgbBitmap canvas(8, 8, background);
  PlusGraphics graphics;
  graphics.SetHandle(canvas.NewGraphics());
  PlusImage image;
  image.SetHandle(ArgbBitmap(8, 8, color).Release());
  EXPECT_TRUE(graphics.DrawImageRectRect(image, 0, 0, 8, 8, 0, 0, 8, 8, std::nullopt, attributes));
  graphics.Dispose();
  return canvas.Pixel(4, 4);
}

// --- Lifecycle ---

TEST(PlusImageAttributesLifecycle, DisposeOfAnObjectNeverCreatedAnswersInvalidParameter) {
  PlusImageAttributes attributes;
  Record(Ok);
  EXPECT_FALSE(attributes.Dispose());
  EXPECT_EQ(lastStatus, InvalidParameter);
}

TEST(PlusImageAttributesLifecycle, CreateGivesAHandleThatDisposeDeletes) {
  PlusImageAttributes attributes;
  EXPECT_EQ(attributes.GetHandle(), nullptr);
  ASSERT_TRUE(attributes.Create());
  EXPECT_NE(attributes.GetHandle(), nullptr);
  EXPECT_TRUE(attributes.Dispose());
  EXPECT_EQ(attributes.GetHandle(), nullptr);
}

TEST(PlusImageAttributesLifecycle, CloneReplacesTheTargetsHandleWithoutDisposingIt) {
  PlusImageAttributes source;
  ASSERT_TRUE(source.Create());
  ASSERT_TRUE(source.SetColorMatrix(SwapRedAndBlue()));
  PlusImageAttributes target;
  ASSERT_TRUE(target.Create());
  GpImageAttributes* before = target.GetHandle();
  ASSERT_TRUE(source.Clone(target));
  EXPECT_NE(target.GetHandle(), nullptr);
  EXPECT_NE(target.GetHandle(), before);
  EXPECT_NE(target.GetHandle(), source.GetHandle());
  EXPECT_EQ(Drawn(kRed, target), kBlue);  // the clone carries the matrix
  // The handle held before is still alive: GDI+ takes it, and it is ours to dispose.
  EXPECT_EQ(GdipSetImageAttributesGamma(before, ColorAdjustTypeDefault, TRUE, 1.5f), Ok);
  EXPECT_EQ(GdipDisposeImageAttributes(before), Ok);
}

TEST(PlusImageAttributesLifecycle, CloneOfAnObjectWithoutHandleGivesTheTargetNone) {
  PlusImageAttributes source;
  PlusImageAttributes target;
  ASSERT_TRUE(target.Create());
  GpImageAttributes* before = target.GetHandle();
  EXPECT_FALSE(source.Clone(target));
  EXPECT_EQ(lastStatus, InvalidParameter);
  EXPECT_EQ(target.GetHandle(), nullptr);
  EXPECT_EQ(GdipDisposeImageAttributes(before), Ok);
}

TEST(PlusImageAttributesLastStatus, HoldsTheStatusOfTheSecondOfTwoOperationsOnTwoObjects) {
  PlusImageAttributes created;
  ASSERT_TRUE(created.Create());
  PlusImageAttributes none;
  EXPECT_FALSE(none.SetGamma(2));
  EXPECT_TRUE(created.SetGamma(2));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_FALSE(none.SetGamma(2));
  EXPECT_EQ(lastStatus, InvalidParameter);
}

// --- The colour matrix ---

TEST(PlusImageAttributesColorMatrix, AnOpacityOf40PercentBlendsThePictureWithWhatIsBelow) {
  struct Case {
    const char* name;
    Argb background;
    Argb expected;
  };
  // Blue at 40 % over white: 0.4 * 0x00 + 0.6 * 0xFF = 0x99 in red and green.
  const Case cases[] = {
      {"over opaque white", kWhite, 0xFF9999FF},
      {"over nothing", kNone, 0x660000FF},
  };
  PlusImageAttributes attributes;
  ASSERT_TRUE(attributes.Create());
  ASSERT_TRUE(attributes.SetColorMatrix(Opacity(0.4f)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_LE(ChannelDistance(Drawn(kBlue, attributes, c.background), c.expected), 2);
  }
}

TEST(PlusImageAttributesColorMatrix, AppliesToTheTypeGivenAndGoesWithClearResetOrNoOp) {
  struct Case {
    const char* name;
    std::function<bool(PlusImageAttributes&)> adjust;
    Argb expected;
  };
  const Case cases[] = {
      {"the matrix", [](PlusImageAttributes& a) { return a.SetColorMatrix(SwapRedAndBlue()); }, kBlue},
      {"the matrix for bitmaps",
       [](PlusImageAttributes& a) {
         return a.SetColorMatrix(SwapRedAndBlue(), std::nullopt, std::nullopt, ColorAdjustTypeBitmap);
       },
       kBlue},
      {"the matrix for brushes only",
       [](PlusImageAttributes& a) {
         return a.SetColorMatrix(SwapRedAndBlue(), std::nullopt, std::nullopt, ColorAdjustTypeBrush);
       },
       kRed},
      {"with a gray matrix and no flags",
       [](PlusImageAttributes& a) { return a.SetColorMatrix(SwapRedAndBlue(), Identity()); }, kBlue},
      {"cleared", [](PlusImageAttributes& a) { return a.SetColorMatrix(SwapRedAndBlue()) && a.ClearColorMatrix(); },
       kRed},
      {"reset", [](PlusImageAttributes& a) { return a.SetColorMatrix(SwapRedAndBlue()) && a.Reset(); }, kRed},
      {"switched off", [](PlusImageAttributes& a) { return a.SetColorMatrix(SwapRedAndBlue()) && a.SetNoOp(); }, kRed},
      {"switched off and on again",
       [](PlusImageAttributes& a) { return a.SetColorMatrix(SwapRedAndBlue()) && a.SetNoOp() && a.ClearNoOp(); },
       kBlue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusImageAttributes attributes;
    ASSERT_TRUE(attributes.Create());
    ASSERT_TRUE(c.adjust(attributes));
    EXPECT_EQ(lastStatus, Ok);
    EXPECT_LE(ChannelDistance(Drawn(kRed, attributes), c.expected), 1);
  }
}

// Red, green and blue scaled by the factor.
ColorMatrix Scale(float factor) {
  ColorMatrix matrix = Identity();
  matrix.m[0][0] = matrix.m[1][1] = matrix.m[2][2] = factor;
  return matrix;
}

TEST(PlusImageAttributesColorMatrix, GrayPixelsFollowTheFlagsAndTheGrayMatrix) {
  struct Case {
    const char* name;
    std::optional<ColorMatrix> grayMatrix;
    std::optional<ColorMatrixFlags> flags;
    Argb color;
    Argb expected;
  };
  const Case cases[] = {
      {"gray, no flags: the colour matrix", Scale(0.25f), std::nullopt, 0xFF808080, 0xFF404040},
      {"gray, skipped", std::nullopt, ColorMatrixFlagsSkipGrays, 0xFF808080, 0xFF808080},
      {"gray, the gray matrix", Scale(0.25f), ColorMatrixFlagsAltGray, 0xFF808080, 0xFF202020},
      {"not gray, the colour matrix", Scale(0.25f), ColorMatrixFlagsAltGray, kRed, 0xFF800000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusImageAttributes attributes;
    ASSERT_TRUE(attributes.Create());
    ASSERT_TRUE(attributes.SetColorMatrix(Scale(0.5f), c.grayMatrix, c.flags));
    EXPECT_LE(ChannelDistance(Drawn(c.color, attributes), c.expected), 1);
  }
}

// --- The other adjustments ---

TEST(PlusImageAttributesAdjustments, EachChangesTheDrawnColourAndItsClearUndoesIt) {
  struct Case {
    const char* name;
    Argb color;
    std::function<bool(PlusImageAttributes&)> adjust;
    Argb expected;
  };
  const Case cases[] = {
      {"colour key inside the range", 0xFF808080,
       [](PlusImageAttributes& a) { return a.SetColorKey(0xFF707070, 0xFF909090); }, kNone},
      {"colour key outside the range", 0xFF808080,
       [](PlusImageAttributes& a) { return a.SetColorKey(0xFF000000, 0xFF101010); }, 0xFF808080},
      {"colour key cleared", 0xFF808080,
       [](PlusImageAttributes& a) { return a.SetColorKey(0xFF707070, 0xFF909090) && a.ClearColorKey(); }, 0xFF808080},
      {"remap table", kRed,
       [](PlusImageAttributes& a) {
         return a.SetRemapTable({{kGreen, kWhite}, {kRed, kBlue}});
       },
       kBlue},
      {"remap table cleared", kRed,
       [](PlusImageAttributes& a) {
         return a.SetRemapTable({{kRed, kBlue}}) && a.ClearRemapTable();
       },
       kRed},
      {"gamma 2", 0xFF808080, [](PlusImageAttributes& a) { return a.SetGamma(2); }, 0xFF404040},
      {"gamma cleared", 0xFF808080, [](PlusImageAttributes& a) { return a.SetGamma(2) && a.ClearGamma(); }, 0xFF808080},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusImageAttributes attributes;
    ASSERT_TRUE(attributes.Create());
    ASSERT_TRUE(c.adjust(attributes));
    EXPECT_LE(ChannelDistance(Drawn(c.color, attributes), c.expected), 2)
        << std::hex << Drawn(c.color, attributes) << " instead of " << c.expected;
  }
}

TEST(PlusImageAttributesAdjustments, WrapModeDecidesWhatLiesOutsideTheImage) {
  struct Case {
    const char* name;
    std::function<bool(PlusImageAttributes&)> wrap;
    Argb outside;
  };
  const Case cases[] = {
      {"clamped without a colour", [](PlusImageAttributes& a) { return a.SetWrapMode(WrapModeClamp); }, kNone},
      {"clamped to green", [](PlusImageAttributes& a) { return a.SetWrapMode(WrapModeClamp, kGreen); }, kGreen},
      {"tiled", [](PlusImageAttributes& a) { return a.SetWrapMode(WrapModeTile, kGreen); }, kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusImageAttributes attributes;
    ASSERT_TRUE(attributes.Create());
    ASSERT_TRUE(c.wrap(attributes));
    // A 4 x 4 red image drawn from a source rectangle twice its width: the right half lies outside.
    ArgbBitmap canvas(16, 8);
    PlusGraphics graphics;
    graphics.SetHandle(canvas.NewGraphics());
    graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    PlusImage image;
    image.SetHandle(ArgbBitmap(4, 4, kRed).Release());
    ASSERT_TRUE(graphics.DrawImageRectRect(image, 0, 0, 16, 8, 0, 0, 8, 4, UnitPixel, attributes));
    EXPECT_EQ(canvas.Pixel(3, 4), kRed);
    EXPECT_EQ(canvas.Pixel(12, 4), c.outside);
  }
}

TEST(PlusImageAttributesAdjustments, GetAdjustedPaletteRemapsThePaletteInPlace) {
  PlusImageAttributes attributes;
  ASSERT_TRUE(attributes.Create());
  ASSERT_TRUE(attributes.SetRemapTable({{kRed, kBlue}}, ColorAdjustTypeBitmap));
  ColorPalette palette{PaletteFlagsHasAlpha, 3, {kRed, kGreen, kRed, 0x12345678}};
  EXPECT_TRUE(attributes.GetAdjustedPalette(palette, ColorAdjustTypeBitmap));
  EXPECT_EQ(palette.flags, static_cast<std::uint32_t>(PaletteFlagsHasAlpha));
  EXPECT_EQ(palette.count, 3u);
  EXPECT_EQ(palette.entries, (std::vector<Argb>{kBlue, kGreen, kBlue, 0x12345678}));  // beyond count: untouched
}

TEST(PlusImageAttributesAdjustmentsDeathTest, APaletteWithFewerEntriesThanItsCountIsACallerErrorThatAborts) {
  PlusImageAttributes attributes;
  ASSERT_TRUE(attributes.Create());
  ColorPalette palette{0, 3, {kRed, kGreen}};
  EXPECT_DEATH(attributes.GetAdjustedPalette(palette), "count 3 but 2 entries");
}

TEST(PlusImageAttributesAdjustments, AnEmptyRemapTablePassesNoEntries) {
  PlusImageAttributes attributes;
  ASSERT_TRUE(attributes.Create());
  EXPECT_FALSE(attributes.SetRemapTable({}));
  EXPECT_EQ(lastStatus, InvalidParameter);
}

// --- Every operation ---

// Every operation of the class after the base ones, in the order of its table of operations, with
// the GDI+ function each calls. Each call answers whether the result was true.
struct Operation {
  const char* name;
  const char* gdipFunction;
  // The attributes, and a target that lives beyond the call: disposing it would record a status.
  std::function<bool(PlusImageAttributes&, PlusImageAttributes&)> call;
};

std::vector<Operation> EveryOperation() {
  using A = PlusImageAttributes&;
  return {
      {"Dispose", "GdipDisposeImageAttributes", [](A a, A) { return a.Dispose(); }},
      {"Create", "GdipCreateImageAttributes", [](A a, A) { return a.Create(); }},
      {"Clone", "GdipCloneImageAttributes", [](A a, A target) { return a.Clone(target); }},
      {"SetToIdentity", "GdipSetImageAttributesToIdentity",
       [](A a, A) { return a.SetToIdentity(ColorAdjustTypeDefault); }},
      {"Reset", "GdipResetImageAttributes", [](A a, A) { return a.Reset(); }},
      {"SetThreshold", "GdipSetImageAttributesThreshold", [](A a, A) { return a.SetThreshold(0.5f); }},
      {"ClearThreshold", "GdipSetImageAttributesThreshold", [](A a, A) { return a.ClearThreshold(); }},
      {"SetNoOp", "GdipSetImageAttributesNoOp", [](A a, A) { return a.SetNoOp(); }},
      {"ClearNoOp", "GdipSetImageAttributesNoOp", [](A a, A) { return a.ClearNoOp(); }},
      {"SetGamma", "GdipSetImageAttributesGamma", [](A a, A) { return a.SetGamma(2); }},
      {"ClearGamma", "GdipSetImageAttributesGamma", [](A a, A) { return a.ClearGamma(); }},
      {"SetColorKey", "GdipSetImageAttributesColorKeys", [](A a, A) { return a.SetColorKey(kRed, kWhite); }},
      {"ClearColorKey", "GdipSetImageAttributesColorKeys", [](A a, A) { return a.ClearColorKey(); }},
      {"SetOutputChannel", "GdipSetImageAttributesOutputChannel",
       [](A a, A) { return a.SetOutputChannel(ColorChannelFlagsC); }},
      {"ClearOutputChannel", "GdipSetImageAttributesOutputChannel", [](A a, A) { return a.ClearOutputChannel(); }},
      {"SetOutputChannelColorProfile", "GdipSetImageAttributesOutputChannelColorProfile",
       [](A a, A) { return a.SetOutputChannelColorProfile("sRGB Color Space Profile.icm"); }},
      {"ClearOutputChannelColorProfile", "GdipSetImageAttributesOutputChannelColorProfile",
       [](A a, A) { return a.ClearOutputChannelColorProfile(); }},
      {"SetRemapTable", "GdipSetImageAttributesRemapTable",
       [](A a, A) {
         return a.SetRemapTable({{kRed, kBlue}});
       }},
      {"ClearRemapTable", "GdipSetImageAttributesRemapTable", [](A a, A) { return a.ClearRemapTable(); }},
      {"SetWrapMode", "GdipSetImageAttributesWrapMode", [](A a, A) { return a.SetWrapMode(WrapModeTile); }},
      {"GetAdjustedPalette", "GdipGetImageAttributesAdjustedPalette",
       [](A a, A) {
         ColorPalette palette{0, 2, {kRed, kGreen}};
         return a.GetAdjustedPalette(palette, ColorAdjustTypeBitmap);
       }},
      {"SetColorMatrix", "GdipSetImageAttributesColorMatrix", [](A a, A) { return a.SetColorMatrix(Opacity(0.5f)); }},
      {"ClearColorMatrix", "GdipSetImageAttributesColorMatrix", [](A a, A) { return a.ClearColorMatrix(); }},
  };
}

// The operations Wine 8.0 answers NotImplemented, whatever the object and the arguments.
const std::vector<std::string> kNotImplementedUnderWine = {
    "SetToIdentity",
    "SetThreshold",
    "ClearThreshold",
    "SetOutputChannel",
    "ClearOutputChannel",
    "SetOutputChannelColorProfile",
    "ClearOutputChannelColorProfile",
};

bool NotImplementedHere(const std::string& operation) {
  return test::RunningUnderWine() && std::find(kNotImplementedUnderWine.begin(), kNotImplementedUnderWine.end(),
                                               operation) != kNotImplementedUnderWine.end();
}

// What GDI+ answers an operation on an object without a handle.
Status WithoutHandle(const std::string& operation) {
  if (operation == "Create") return Ok;
  return NotImplementedHere(operation) ? NotImplemented : InvalidParameter;
}

// What GDI+ answers an operation on a created object.
Status WithHandle(const std::string& operation) { return NotImplementedHere(operation) ? NotImplemented : Ok; }

TEST(PlusImageAttributesEveryOperation, TheTableHoldsThe23OperationsOfTheClass) {
  EXPECT_EQ(EveryOperation().size(), 23u);
}

TEST(PlusImageAttributesEveryOperation, WithoutHandleNoneCrashesAndEachAnswersFalseWithTheStatusOfGdiplus) {
  for (const Operation& operation : EveryOperation()) {
    SCOPED_TRACE(operation.name);
    if (test::IsWineStub(operation.gdipFunction)) continue;
    const Status expected = WithoutHandle(operation.name);
    PlusImageAttributes attributes;
    PlusImageAttributes target;
    Record(Win32Error);
    EXPECT_EQ(operation.call(attributes, target), expected == Ok);
    EXPECT_EQ(lastStatus, expected);
  }
}

TEST(PlusImageAttributesEveryOperation, WithAHandleEachAnswersTheStatusOfGdiplus) {
  for (const Operation& operation : EveryOperation()) {
    SCOPED_TRACE(operation.name);
    if (test::IsWineStub(operation.gdipFunction)) continue;
    const Status expected = WithHandle(operation.name);
    PlusImageAttributes attributes;
    PlusImageAttributes target;
    ASSERT_TRUE(attributes.Create());
    GpImageAttributes* created = attributes.GetHandle();
    Record(Win32Error);
    EXPECT_EQ(operation.call(attributes, target), expected == Ok);
    EXPECT_EQ(lastStatus, expected);
    // Create gives a new handle without disposing the one held before.
    if (attributes.GetHandle() != created && attributes.GetHandle()) GdipDisposeImageAttributes(created);
  }
}

TEST(PlusImageAttributesEveryOperation, UnderWineTheUnimplementedOnesAnswerNotImplemented) {
  if (!test::RunningUnderWine()) GTEST_SKIP() << "Wine's answers";
  std::vector<std::string> answered;
  for (const Operation& operation : EveryOperation()) {
    PlusImageAttributes attributes;
    PlusImageAttributes target;
    ASSERT_TRUE(attributes.Create());
    if (!operation.call(attributes, target) && lastStatus == NotImplemented) answered.push_back(operation.name);
  }
  EXPECT_EQ(answered, kNotImplementedUnderWine);
}

}  // namespace
}  // namespace tavrel::plus
