// The text objects against the real GDI+: string formats, fonts, font families and collections.
// Under Wine the prefix maps 宋体, SimSun, 微软雅黑, Microsoft YaHei, 楷体 and KaiTi to
// WenQuanYi Zen Hei, and the ANSI and OEM code pages are 936.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_text.h"
#include "tests/support/font_texts.h"
#include "tests/support/null_handle_sweep.h"
#include "tests/support/pixels.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

using namespace plus;
using namespace Gdiplus;
using namespace Gdiplus::DllExports;

static_assert(!std::is_copy_constructible_v<PlusStringFormat> && !std::is_copy_constructible_v<PlusFont>);
static_assert(!std::is_copy_constructible_v<PlusFontFamily> && !std::is_copy_constructible_v<PlusFontCollection>);

// Wine reports the style of the face it realised, and counts WenQuanYi Zen Hei, the face behind
// every Chinese name here, as bold: the bold bit of a font's style is the face's, not ours.
const INT kFaceWeight = RunningUnderWine() ? FontStyleBold : 0;

// A PlusGraphics drawing into a small bitmap.
struct BitmapGraphics {
  BitmapGraphics() { graphics.SetHandle(bitmap.NewGraphics()); }
  ArgbBitmap bitmap{8, 8};
  PlusGraphics graphics;
};

// The installed fonts as a collection object with a handle, which the layer itself never makes.
struct InstalledFonts {
  InstalledFonts() {
    GpFontCollection* installed = nullptr;
    GdipNewInstalledFontCollection(&installed);
    collection.SetHandle(installed);
  }
  PlusFontCollection collection;
};

// A family that must be disposed explicitly.
struct Family {
  explicit Family(const char* name) { family.CreateFromName(name, PlusFontCollection()); }
  ~Family() { family.Dispose(); }
  PlusFontFamily family;
};

// String formats

TEST(PlusStringFormat, CreateTakesFlagsAndLanguage) {
  PlusStringFormat plain;
  ASSERT_TRUE(plain.Create());
  EXPECT_NE(plain.GetHandle(), nullptr);
  EXPECT_EQ(plain.GetFlags(), 0);

  PlusStringFormat noWrap;
  ASSERT_TRUE(noWrap.Create(StringFormatFlagsNoWrap, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)));
  EXPECT_EQ(noWrap.GetFlags(), StringFormatFlagsNoWrap);
  EXPECT_EQ(lastStatus, Ok);
}

TEST(PlusStringFormat, SettersAndGettersRoundTrip) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create());
  struct Case {
    const char* name;
    std::function<bool()> set;
    std::function<INT()> get;
    INT expected;
  };
  const std::vector<Case> cases = {
      {"Flags", [&] { return format.SetFlags(StringFormatFlagsNoClip | StringFormatFlagsLineLimit); },
       [&] { return format.GetFlags(); }, StringFormatFlagsNoClip | StringFormatFlagsLineLimit},
      {"Alignment", [&] { return format.SetAlignment(StringAlignmentCenter); },
       [&] { return static_cast<INT>(format.GetAlignment()); }, StringAlignmentCenter},
      {"LineAlignment", [&] { return format.SetLineAlignment(StringAlignmentFar); },
       [&] { return static_cast<INT>(format.GetLineAlignment()); }, StringAlignmentFar},
      {"Trimming", [&] { return format.SetTrimming(StringTrimmingEllipsisWord); },
       [&] { return static_cast<INT>(format.GetTrimming()); }, StringTrimmingEllipsisWord},
      {"HotkeyPrefix", [&] { return format.SetHotkeyPrefix(HotkeyPrefixShow); },
       [&] { return static_cast<INT>(format.GetHotkeyPrefix()); }, HotkeyPrefixShow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.set());
    EXPECT_EQ(c.get(), c.expected);
    EXPECT_EQ(lastStatus, Ok);
  }
}

TEST(PlusStringFormat, GetTabStopsAfterSetTabStops) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create());
  ASSERT_TRUE(format.SetTabStops(4, {10, 20, 30}));

  float firstTabOffset = -1;
  std::vector<float> tabStops = {7, 7, 7, 7, 7};
  EXPECT_EQ(format.GetTabStops(firstTabOffset, tabStops), 3);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(tabStops, (std::vector<float>{10, 20, 30}));
  EXPECT_EQ(firstTabOffset, 4);
}

TEST(PlusStringFormat, NoTabStops) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create());
  float firstTabOffset = -1;
  std::vector<float> tabStops = {7, 7};
  // GDI+ reports 0 stops: the list is replaced by an empty one and GDI+ asked for none.
  EXPECT_EQ(format.GetTabStops(firstTabOffset, tabStops), 0);
  EXPECT_TRUE(tabStops.empty());
  if (RunningUnderWine()) {
    // Wine's GDI+ refuses to hand out 0 tab stops, and to take them.
    EXPECT_EQ(lastStatus, InvalidParameter);
    EXPECT_FALSE(format.SetTabStops(5, {}));
    EXPECT_EQ(lastStatus, InvalidParameter);
  }
}

TEST(PlusStringFormat, DigitSubstitution) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create());
  const LANGID chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
  ASSERT_TRUE(format.SetDigitSubstitution(StringDigitSubstituteNational, chinese));

  StringDigitSubstitute substitute = StringDigitSubstituteUser;
  LANGID language = 0;
  EXPECT_TRUE(format.GetDigitSubstitution(substitute, &language));
  EXPECT_EQ(substitute, StringDigitSubstituteNational);
  EXPECT_EQ(language, chinese);

  // Without a place for the language GDI+ is not asked for one.
  substitute = StringDigitSubstituteUser;
  EXPECT_TRUE(format.GetDigitSubstitution(substitute));
  EXPECT_EQ(substitute, StringDigitSubstituteNational);

  // Without a language the neutral one is given.
  ASSERT_TRUE(format.SetDigitSubstitution(StringDigitSubstituteTraditional));
  EXPECT_TRUE(format.GetDigitSubstitution(substitute, &language));
  EXPECT_EQ(substitute, StringDigitSubstituteTraditional);
  EXPECT_EQ(language, LANG_NEUTRAL);
}

TEST(PlusStringFormat, MeasurableCharacterRanges) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create());
  const std::vector<CharacterRange> ranges = {{0, 1}, {2, 3}};
  EXPECT_TRUE(format.SetMeasurableCharacterRanges(ranges));
  EXPECT_EQ(format.GetMeasurableCharacterRangeCount(), 2);
  EXPECT_EQ(ranges, (std::vector<CharacterRange>{{0, 1}, {2, 3}}));
  if (RunningUnderWine()) {
    // No ranges and no block: Wine's GDI+ refuses them.
    EXPECT_FALSE(format.SetMeasurableCharacterRanges({}));
    EXPECT_EQ(lastStatus, InvalidParameter);
  }
}

TEST(PlusStringFormat, GenericFormats) {
  PlusStringFormat genericDefault;
  EXPECT_TRUE(genericDefault.CreateGenericDefault());
  EXPECT_NE(genericDefault.GetHandle(), nullptr);
  PlusStringFormat typographic;
  EXPECT_TRUE(typographic.CreateGenericTypographic());
  EXPECT_NE(typographic.GetHandle(), nullptr);
  EXPECT_NE(typographic.GetFlags() & StringFormatFlagsNoClip, 0);
}

TEST(PlusStringFormat, CloneReplacesTheTargetsHandleWithoutDeletingIt) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create(StringFormatFlagsNoWrap));
  PlusStringFormat target;
  ASSERT_TRUE(target.Create(StringFormatFlagsDirectionVertical));
  GpStringFormat* const previous = target.GetHandle();

  EXPECT_TRUE(format.Clone(target));
  EXPECT_NE(target.GetHandle(), previous);
  EXPECT_NE(target.GetHandle(), format.GetHandle());
  EXPECT_EQ(target.GetFlags(), StringFormatFlagsNoWrap);
  // The target's former format is alive: the caller still owns it.
  INT flags = 0;
  EXPECT_EQ(GdipGetStringFormatFlags(previous, &flags), Ok);
  EXPECT_EQ(flags, StringFormatFlagsDirectionVertical);
  GdipDeleteStringFormat(previous);
}

TEST(PlusStringFormat, DisposeOnceThenFalseWithoutStatus) {
  PlusStringFormat format;
  ASSERT_TRUE(format.Create());
  EXPECT_TRUE(format.Dispose());
  EXPECT_EQ(format.GetHandle(), nullptr);
  lastStatus = kStatusUntouched;
  EXPECT_FALSE(format.Dispose());
  EXPECT_EQ(lastStatus, kStatusUntouched);
}

// Fonts

TEST(PlusFont, CreateFromNameOfMappedFaces) {
  for (const char* name : {kYaHei936, kSongTi936, kKaiTi936, "Microsoft YaHei", "SimSun", "KaiTi"}) {
    SCOPED_TRACE(name);
    PlusFont font;
    EXPECT_TRUE(font.CreateFromName(name, 20));
    EXPECT_EQ(lastStatus, Ok);
    EXPECT_NE(font.GetHandle(), nullptr);
    // Regular, in world units.
    EXPECT_EQ(font.GetSize(), 20);
    EXPECT_EQ(font.GetStyle() & ~kFaceWeight, FontStyleRegular);
    EXPECT_EQ(font.GetUnit(), UnitWorld);
  }
}

TEST(PlusFont, CreateFromNameOfAFaceNotInstalled) {
  PlusFont font;
  EXPECT_FALSE(font.CreateFromName("Tavrel No Such Face", 20));
  EXPECT_EQ(font.GetHandle(), nullptr);
  // No family to delete: the status is GDI+'s refusal to make a font of a null family.
  EXPECT_EQ(lastStatus, InvalidParameter);
}

TEST(PlusFont, CreateFromNameReportsTheFamilysDeletion) {
  // GDI+ refuses a negative size, but the family was found and its deletion succeeds: the
  // operation reports success although the font holds no handle.
  PlusFont font;
  EXPECT_TRUE(font.CreateFromName(kSongTi936, -1));
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_EQ(font.GetHandle(), nullptr);
}

TEST(PlusFont, CreateFromNameWithStyleAndUnit) {
  PlusFont font;
  ASSERT_TRUE(font.CreateFromName("SimSun", 12, FontStyleItalic | FontStyleStrikeout, UnitPoint));
  EXPECT_EQ(font.GetStyle() & ~kFaceWeight, FontStyleItalic | FontStyleStrikeout);
  EXPECT_EQ(font.GetUnit(), UnitPoint);
  EXPECT_EQ(font.GetSize(), 12);
}

TEST(PlusFont, CreateFromFamily) {
  Family simSun(kSongTi936);
  PlusFont font;
  EXPECT_TRUE(font.Create(simSun.family, 16, FontStyleUnderline, UnitPixel));
  EXPECT_EQ(font.GetStyle() & ~kFaceWeight, FontStyleUnderline);
  EXPECT_EQ(font.GetUnit(), UnitPixel);

  PlusFontFamily family;
  EXPECT_TRUE(font.GetFamily(family));
  EXPECT_NE(family.GetHandle(), nullptr);
  EXPECT_EQ(family.GetFamilyName(), simSun.family.GetFamilyName());
  family.Dispose();
}

TEST(PlusFont, CreateFromStockFont) {
  PlusFont font;
  EXPECT_TRUE(font.CreateFromStockFont());
  EXPECT_NE(font.GetHandle(), nullptr);
  EXPECT_GT(font.GetSize(), 0);
}

// A memory device context with a 30-pixel font selected.
class DcWithFont : public ::testing::Test {
 protected:
  void SetUp() override {
    dc = CreateCompatibleDC(nullptr);
    font = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "SimSun");
    previous = SelectObject(dc, font);
  }
  void TearDown() override {
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
  }
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ previous = nullptr;
};

TEST_F(DcWithFont, FromTheDeviceContextsFont) {
  struct Case {
    const char* name;
    std::function<bool(PlusFont&)> create;
  };
  const std::vector<Case> cases = {
      {"CreateFromDC", [&](PlusFont& f) { return f.CreateFromDC(dc); }},
      {"CreateFromGdiFont without a font", [&](PlusFont& f) { return f.CreateFromGdiFont(dc, nullptr); }},
      {"CreateFromLogFont without a LOGFONTA", [&](PlusFont& f) { return f.CreateFromLogFont(dc, nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusFont made;
    EXPECT_TRUE(c.create(made));
    EXPECT_NE(made.GetHandle(), nullptr);
    EXPECT_EQ(made.GetSize(), 30);
  }
}

TEST_F(DcWithFont, FromAGdiFontOrALogFont) {
  const HFONT small = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "SimSun");
  // The size is that of the font given, not the device context's 30 pixels; Wine derives it from
  // the face it realises, which may round it by a pixel.
  PlusFont fromGdi;
  EXPECT_TRUE(fromGdi.CreateFromGdiFont(dc, small));
  EXPECT_NEAR(fromGdi.GetSize(), 12, 1);
  EXPECT_NE(fromGdi.GetStyle() & FontStyleBold, 0);

  LOGFONTA logFont{};
  GetObjectA(small, sizeof(logFont), &logFont);
  PlusFont fromLogFont;
  EXPECT_TRUE(fromLogFont.CreateFromLogFont(dc, &logFont));
  EXPECT_EQ(fromLogFont.GetSize(), fromGdi.GetSize());
  DeleteObject(small);
}

TEST(PlusFont, HeightsAndLogFont) {
  PlusFont font;
  ASSERT_TRUE(font.CreateFromName(kSongTi936, 20));
  BitmapGraphics surface;
  EXPECT_GT(font.GetHeight(surface.graphics), 20);
  EXPECT_EQ(lastStatus, Ok);
  EXPECT_GT(font.GetHeightGivenDPI(96), 20);
  EXPECT_EQ(lastStatus, Ok);

  // A buffer too short for a LOGFONTA is grown to one.
  ByteBuffer logFont;
  EXPECT_TRUE(font.GetLogFont(surface.graphics, logFont));
  ASSERT_EQ(logFont.size(), sizeof(LOGFONTA));
  const auto* written = reinterpret_cast<const LOGFONTA*>(logFont.data());
  EXPECT_EQ(written->lfHeight, -20);
  EXPECT_NE(written->lfFaceName[0], '\0');
}

TEST(PlusFont, CloneReplacesTheTargetsHandleWithoutDeletingIt) {
  PlusFont font;
  ASSERT_TRUE(font.CreateFromName(kSongTi936, 20));
  PlusFont target;
  ASSERT_TRUE(target.CreateFromName(kSongTi936, 9));
  GpFont* const previous = target.GetHandle();

  EXPECT_TRUE(font.Clone(target));
  EXPECT_NE(target.GetHandle(), previous);
  EXPECT_EQ(target.GetSize(), 20);
  REAL size = 0;
  EXPECT_EQ(GdipGetFontSize(previous, &size), Ok);
  EXPECT_EQ(size, 9);
  GdipDeleteFont(previous);
}

TEST(PlusFont, DisposeOnceThenFalseWithoutStatus) {
  PlusFont font;
  ASSERT_TRUE(font.CreateFromName(kSongTi936, 20));
  EXPECT_TRUE(font.Dispose());
  EXPECT_EQ(font.GetHandle(), nullptr);
  lastStatus = kStatusUntouched;
  EXPECT_FALSE(font.Dispose());
  EXPECT_EQ(lastStatus, kStatusUntouched);
}

// Destroying a string format or a font deletes its GDI+ object (the deletion's status is the
// last one); destroying a family leaves it alive and calls nothing.
TEST(PlusText, DestroyingDisposesFormatsAndFontsOnly) {
  {
    PlusStringFormat format;
    ASSERT_TRUE(format.Create());
    lastStatus = kStatusUntouched;
  }
  EXPECT_EQ(lastStatus, Ok);
  {
    PlusFont font;
    ASSERT_TRUE(font.CreateFromName(kSongTi936, 20));
    lastStatus = kStatusUntouched;
  }
  EXPECT_EQ(lastStatus, Ok);
  GpFontFamily* alive = nullptr;
  {
    PlusFontFamily family;
    ASSERT_TRUE(family.CreateFromName(kSongTi936, PlusFontCollection()));
    alive = family.GetHandle();
    lastStatus = kStatusUntouched;
  }
  EXPECT_EQ(lastStatus, kStatusUntouched);
  EXPECT_EQ(GdipDeleteFontFamily(alive), Ok);
}

// Font families

TEST(PlusFontFamily, UnknownNameIsFontFamilyNotFound) {
  PlusFontFamily family;
  EXPECT_FALSE(family.CreateFromName("Tavrel No Such Face", PlusFontCollection()));
  EXPECT_EQ(lastStatus, FontFamilyNotFound);
  EXPECT_EQ(family.GetHandle(), nullptr);
}

TEST(PlusFontFamily, FamilyNameComesBackInTheOemCodePage) {
  ASSERT_EQ(GetOEMCP(), 936u);
  Family songTi(kSongTi936);
  ASSERT_NE(songTi.family.GetHandle(), nullptr);
  // Wine's GDI+ looks the name up by the full name of the face that GDI enumerates for it, so the
  // family of a replaced face is the installed replacement, under its Chinese name here.
  EXPECT_EQ(songTi.family.GetFamilyName(), RunningUnderWine() ? kWenQuanYiZenHei936 : kSongTi936);
  EXPECT_EQ(lastStatus, Ok);
  if (RunningUnderWine()) {
    Family replacement("WenQuanYi Zen Hei");
    EXPECT_EQ(replacement.family.GetFamilyName(), kWenQuanYiZenHei936);
  }
}

TEST(PlusFontFamily, Metrics) {
  Family songTi(kSongTi936);
  EXPECT_TRUE(songTi.family.IsStyleAvailable(FontStyleRegular));
  const UINT16 emHeight = songTi.family.GetEmHeight(FontStyleRegular);
  const UINT16 ascent = songTi.family.GetCellAscent(FontStyleRegular);
  const UINT16 descent = songTi.family.GetCellDescent(FontStyleRegular);
  EXPECT_GT(emHeight, 0);
  EXPECT_GT(ascent, 0);
  EXPECT_GT(descent, 0);
  EXPECT_GE(songTi.family.GetLineSpacing(FontStyleRegular), ascent + descent);
  EXPECT_EQ(lastStatus, Ok);
}

TEST(PlusFontFamily, GenericFamiliesHoldAHandleExactlyWhenFound) {
  struct Case {
    const char* name;
    bool (PlusFontFamily::*create)();
  };
  for (const Case& c :
       {Case{"SansSerif", &PlusFontFamily::CreateGenericSansSerif}, Case{"Serif", &PlusFontFamily::CreateGenericSerif},
        Case{"Monospace", &PlusFontFamily::CreateGenericMonospace}}) {
    SCOPED_TRACE(c.name);
    PlusFontFamily family;
    const bool made = (family.*c.create)();
    // The prefix has none of the faces GDI+ looks for: FontFamilyNotFound there.
    EXPECT_TRUE(lastStatus == Ok || lastStatus == FontFamilyNotFound) << lastStatus;
    EXPECT_EQ(made, lastStatus == Ok);
    EXPECT_EQ(family.GetHandle() != nullptr, made);
    family.Dispose();
  }
}

TEST(PlusFontFamily, CloneAndDestroyWithoutDispose) {
  Family songTi(kSongTi936);
  GpFontFamily* clone = nullptr;
  {
    PlusFontFamily target;
    EXPECT_TRUE(songTi.family.Clone(target));
    EXPECT_NE(target.GetHandle(), nullptr);
    EXPECT_EQ(target.GetFamilyName(), songTi.family.GetFamilyName());
    clone = target.GetHandle();
  }
  // Destroying the object left its GDI+ family alive.
  WCHAR name[LF_FACESIZE] = {};
  EXPECT_EQ(GdipGetFamilyName(clone, name, LANG_NEUTRAL), Ok);
  EXPECT_EQ(WideToOem(name), songTi.family.GetFamilyName());
  GdipDeleteFontFamily(clone);
}

TEST(PlusFontFamily, DisposeOnceThenFalseWithoutStatus) {
  PlusFontFamily family;
  ASSERT_TRUE(family.CreateFromName(kSongTi936, PlusFontCollection()));
  EXPECT_TRUE(family.Dispose());
  EXPECT_EQ(family.GetHandle(), nullptr);
  lastStatus = kStatusUntouched;
  EXPECT_FALSE(family.Dispose());
  EXPECT_EQ(lastStatus, kStatusUntouched);
}

// Font collections

TEST(PlusFontCollection, FamilyListOfTheInstalledFonts) {
  InstalledFonts installed;
  const INT count = installed.collection.GetFamilyCount();
  ASSERT_GT(count, 0);

  std::vector<PlusFontFamily> families(2);
  EXPECT_EQ(installed.collection.GetFamilyList(count + 3, families), count);
  EXPECT_EQ(lastStatus, Ok);
  ASSERT_EQ(families.size(), static_cast<size_t>(count + 3));
  for (INT i = 0; i < count; ++i) {
    EXPECT_NE(families[i].GetHandle(), nullptr) << i;
    EXPECT_FALSE(families[i].GetFamilyName().empty()) << i;
  }
  for (INT i = count; i < count + 3; ++i) EXPECT_EQ(families[i].GetHandle(), nullptr) << i;
}

TEST(PlusFontCollection, FamilyListOfNoneIsInvalidParameter) {
  InstalledFonts installed;
  Family songTi(kSongTi936);
  std::vector<PlusFontFamily> families(2);
  families[1].SetHandle(songTi.family.GetHandle());
  for (INT count : {0, -1}) {
    lastStatus = Ok;
    EXPECT_EQ(installed.collection.GetFamilyList(count, families), 0);
    EXPECT_EQ(lastStatus, InvalidParameter);
    // The list is as it was.
    ASSERT_EQ(families.size(), 2u);
    EXPECT_EQ(families[1].GetHandle(), songTi.family.GetHandle());
  }
}

TEST(PlusFontCollection, HandleHookCallsHandleChanged) {
  struct Watched : PlusFontCollection {
    void HandleChanged(void* newHandle) override { changes.push_back(newHandle); }
    std::vector<void*> changes;
  };
  InstalledFonts installed;
  Watched watched;
  watched.SetHandle(installed.collection.GetHandle());
  EXPECT_EQ(watched.GetHandle(), installed.collection.GetHandle());
  EXPECT_EQ(watched.GetFamilyCount(), installed.collection.GetFamilyCount());
  watched.SetHandle(nullptr);
  EXPECT_EQ(watched.changes, (std::vector<void*>{installed.collection.GetHandle(), nullptr}));
}

// Every operation on objects without handles.

const std::vector<float> kSomeTabStops = {2, 3};
const std::vector<CharacterRange> kSomeRanges = {{0, 1}};

struct NoHandles {
  PlusStringFormat format, formatTarget;
  PlusFont font, fontTarget;
  PlusFontFamily family, familyTarget;
  PlusFontCollection collection;
  PlusGraphics graphics;
};

TEST(PlusText, EveryOperationWithoutHandles) {
  using Case = NullHandleCase<NoHandles>;
  SweepNullHandles<NoHandles>({
      // PlusStringFormat
      Case{"PlusStringFormat::Dispose", "GdipDeleteStringFormat", [](NoHandles& o) { return !o.format.Dispose(); },
           kStatusUntouched},
      Case{"PlusStringFormat::Clone", "GdipCloneStringFormat",
           [](NoHandles& o) { return !o.format.Clone(o.formatTarget) && !o.formatTarget.GetHandle(); }},
      Case{"PlusStringFormat::SetFlags", "GdipSetStringFormatFlags",
           [](NoHandles& o) { return !o.format.SetFlags(1); }},
      Case{"PlusStringFormat::GetFlags", "GdipGetStringFormatFlags", [](NoHandles& o) { return !o.format.GetFlags(); }},
      Case{"PlusStringFormat::SetAlignment", "GdipSetStringFormatAlign",
           [](NoHandles& o) { return !o.format.SetAlignment(StringAlignmentFar); }},
      Case{"PlusStringFormat::GetAlignment", "GdipGetStringFormatAlign",
           [](NoHandles& o) { return !o.format.GetAlignment(); }},
      Case{"PlusStringFormat::SetLineAlignment", "GdipSetStringFormatLineAlign",
           [](NoHandles& o) { return !o.format.SetLineAlignment(StringAlignmentFar); }},
      Case{"PlusStringFormat::GetLineAlignment", "GdipGetStringFormatLineAlign",
           [](NoHandles& o) { return !o.format.GetLineAlignment(); }},
      Case{"PlusStringFormat::SetTrimming", "GdipSetStringFormatTrimming",
           [](NoHandles& o) { return !o.format.SetTrimming(StringTrimmingWord); }},
      Case{"PlusStringFormat::GetTrimming", "GdipGetStringFormatTrimming",
           [](NoHandles& o) { return !o.format.GetTrimming(); }},
      Case{"PlusStringFormat::SetHotkeyPrefix", "GdipSetStringFormatHotkeyPrefix",
           [](NoHandles& o) { return !o.format.SetHotkeyPrefix(HotkeyPrefixShow); }},
      Case{"PlusStringFormat::GetHotkeyPrefix", "GdipGetStringFormatHotkeyPrefix",
           [](NoHandles& o) { return !o.format.GetHotkeyPrefix(); }},
      Case{"PlusStringFormat::SetTabStops", "GdipSetStringFormatTabStops",
           [](NoHandles& o) { return !o.format.SetTabStops(1, kSomeTabStops); }},
      Case{"PlusStringFormat::GetTabStops", "GdipGetStringFormatTabStopCount",
           [](NoHandles& o) {
             float first = 5;
             std::vector<float> stops = {7};
             return !o.format.GetTabStops(first, stops) && first == 5 && stops == std::vector<float>{7};
           }},
      Case{"PlusStringFormat::SetDigitSubstitution", "GdipSetStringFormatDigitSubstitution",
           [](NoHandles& o) { return !o.format.SetDigitSubstitution(StringDigitSubstituteNational, 0x804); }},
      Case{"PlusStringFormat::GetDigitSubstitution", "GdipGetStringFormatDigitSubstitution",
           [](NoHandles& o) {
             StringDigitSubstitute substitute{};
             LANGID language = 0;
             return !o.format.GetDigitSubstitution(substitute, &language) && !substitute && !language;
           }},
      Case{"PlusStringFormat::SetMeasurableCharacterRanges", "GdipSetStringFormatMeasurableCharacterRanges",
           [](NoHandles& o) { return !o.format.SetMeasurableCharacterRanges(kSomeRanges); }},
      Case{"PlusStringFormat::GetMeasurableCharacterRangeCount", "GdipGetStringFormatMeasurableCharacterRangeCount",
           [](NoHandles& o) { return !o.format.GetMeasurableCharacterRangeCount(); }},
      // PlusFont
      Case{"PlusFont::Dispose", "GdipDeleteFont", [](NoHandles& o) { return !o.font.Dispose(); }, kStatusUntouched},
      Case{"PlusFont::Create", "GdipCreateFont",
           [](NoHandles& o) { return !o.font.Create(o.family, 12) && !o.font.GetHandle(); }},
      Case{"PlusFont::Clone", "GdipCloneFont",
           [](NoHandles& o) { return !o.font.Clone(o.fontTarget) && !o.fontTarget.GetHandle(); }},
      Case{"PlusFont::GetFamily", "GdipGetFamily",
           [](NoHandles& o) { return !o.font.GetFamily(o.familyTarget) && !o.familyTarget.GetHandle(); }},
      Case{"PlusFont::GetStyle", "GdipGetFontStyle", [](NoHandles& o) { return !o.font.GetStyle(); }},
      Case{"PlusFont::GetSize", "GdipGetFontSize", [](NoHandles& o) { return !o.font.GetSize(); }},
      Case{"PlusFont::GetUnit", "GdipGetFontUnit", [](NoHandles& o) { return !o.font.GetUnit(); }},
      Case{"PlusFont::GetHeight", "GdipGetFontHeight", [](NoHandles& o) { return !o.font.GetHeight(o.graphics); }},
      Case{"PlusFont::GetHeightGivenDPI", "GdipGetFontHeightGivenDPI",
           [](NoHandles& o) { return !o.font.GetHeightGivenDPI(96); }},
      Case{"PlusFont::GetLogFont", "GdipGetLogFontA",
           [](NoHandles& o) {
             ByteBuffer logFont;
             return !o.font.GetLogFont(o.graphics, logFont);
           }},
      // PlusFontFamily
      Case{"PlusFontFamily::Dispose", "GdipDeleteFontFamily", [](NoHandles& o) { return !o.family.Dispose(); },
           kStatusUntouched},
      Case{"PlusFontFamily::Clone", "GdipCloneFontFamily",
           [](NoHandles& o) { return !o.family.Clone(o.familyTarget) && !o.familyTarget.GetHandle(); }},
      Case{"PlusFontFamily::GetFamilyName", "GdipGetFamilyName",
           [](NoHandles& o) { return o.family.GetFamilyName().empty(); }},
      Case{"PlusFontFamily::IsStyleAvailable", "GdipIsStyleAvailable",
           [](NoHandles& o) { return !o.family.IsStyleAvailable(FontStyleRegular); }},
      Case{"PlusFontFamily::GetEmHeight", "GdipGetEmHeight", [](NoHandles& o) { return !o.family.GetEmHeight(0); }},
      Case{"PlusFontFamily::GetCellAscent", "GdipGetCellAscent",
           [](NoHandles& o) { return !o.family.GetCellAscent(0); }},
      Case{"PlusFontFamily::GetCellDescent", "GdipGetCellDescent",
           [](NoHandles& o) { return !o.family.GetCellDescent(0); }},
      Case{"PlusFontFamily::GetLineSpacing", "GdipGetLineSpacing",
           [](NoHandles& o) { return !o.family.GetLineSpacing(0); }},
      // PlusFontCollection: one without a handle stands for the installed fonts where a family is
      // looked up, but GDI+ lists no families of it.
      Case{"PlusFontCollection::GetFamilyCount", "GdipGetFontCollectionFamilyCount",
           [](NoHandles& o) { return !o.collection.GetFamilyCount(); }},
      Case{"PlusFontCollection::GetFamilyList", "GdipGetFontCollectionFamilyList",
           [](NoHandles& o) {
             std::vector<PlusFontFamily> families;
             return !o.collection.GetFamilyList(3, families) && families.size() == 3 && !families[0].GetHandle();
           }},
  });
}

}  // namespace
}  // namespace tavrel::test
