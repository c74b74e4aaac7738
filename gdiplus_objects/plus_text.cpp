#include "gdiplus_objects/plus_text.h"

#include <functional>

#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_wrap_helpers.h"

namespace tavrel::plus {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// A LOGFONTA-sized block of GDI+ memory for the description of a GDI font, freed at the end of
// the scope.
class LogFontBlock {
 public:
  explicit LogFontBlock(const PlusObject& owner)
      : owner(owner), block(static_cast<LOGFONTA*>(owner.Alloc(sizeof(LOGFONTA)))) {}
  LogFontBlock(const LogFontBlock&) = delete;
  LogFontBlock& operator=(const LogFontBlock&) = delete;
  ~LogFontBlock() { owner.Free(block); }
  // The block filled with the description of a GDI font; null when GDI gives none.
  const LOGFONTA* Filled(HGDIOBJ font) { return block && GetObjectA(font, sizeof(LOGFONTA), block) ? block : nullptr; }

 private:
  const PlusObject& owner;
  LOGFONTA* block;
};

// The screen's device context, released at the end of the scope.
class ScreenDC {
 public:
  ScreenDC() = default;
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  ~ScreenDC() { ReleaseDC(nullptr, dc); }
  operator HDC() const { return dc; }

 private:
  HDC dc = GetDC(nullptr);
};

}  // namespace

// PlusStringFormat

PlusStringFormat::~PlusStringFormat() { Dispose(); }

bool PlusStringFormat::Dispose() { return formatHandle && DisposedWith(*this, GdipDeleteStringFormat(formatHandle)); }

bool PlusStringFormat::Create(std::optional<INT> flags, std::optional<LANGID> language) {
  return Record(
      GdipCreateStringFormat(flags.value_or(0), language.value_or(LANG_NEUTRAL), NewHandleFor<GpStringFormat>(*this)));
}

bool PlusStringFormat::CreateGenericDefault() {
  return Record(GdipStringFormatGetGenericDefault(NewHandleFor<GpStringFormat>(*this)));
}

bool PlusStringFormat::CreateGenericTypographic() {
  return Record(GdipStringFormatGetGenericTypographic(NewHandleFor<GpStringFormat>(*this)));
}

bool PlusStringFormat::Clone(PlusStringFormat& target) const {
  return Record(GdipCloneStringFormat(formatHandle, NewHandleFor<GpStringFormat>(target)));
}

bool PlusStringFormat::SetFlags(INT flags) { return Record(GdipSetStringFormatFlags(formatHandle, flags)); }

INT PlusStringFormat::GetFlags() const { return ValueFrom(GdipGetStringFormatFlags, formatHandle); }

bool PlusStringFormat::SetAlignment(StringAlignment align) {
  return Record(GdipSetStringFormatAlign(formatHandle, align));
}

StringAlignment PlusStringFormat::GetAlignment() const { return ValueFrom(GdipGetStringFormatAlign, formatHandle); }

bool PlusStringFormat::SetLineAlignment(StringAlignment align) {
  return Record(GdipSetStringFormatLineAlign(formatHandle, align));
}

StringAlignment PlusStringFormat::GetLineAlignment() const {
  return ValueFrom(GdipGetStringFormatLineAlign, formatHandle);
}

bool PlusStringFormat::SetTrimming(StringTrimming trimming) {
  return Record(GdipSetStringFormatTrimming(formatHandle, trimming));
}

StringTrimming PlusStringFormat::GetTrimming() const { return ValueFrom(GdipGetStringFormatTrimming, formatHandle); }

bool PlusStringFormat::SetHotkeyPrefix(HotkeyPrefix prefix) {
  return Record(GdipSetStringFormatHotkeyPrefix(formatHandle, prefix));
}

HotkeyPrefix PlusStringFormat::GetHotkeyPrefix() const {
  return static_cast<HotkeyPrefix>(ValueFrom(GdipGetStringFormatHotkeyPrefix, formatHandle));
}

bool PlusStringFormat::SetTabStops(float firstTabOffset, const std::vector<float>& tabStops) {
  return Record(GdipSetStringFormatTabStops(formatHandle, firstTabOffset, Count(tabStops), Packed(tabStops)));
}

INT PlusStringFormat::GetTabStops(float& firstTabOffset, std::vector<float>& tabStops) const {
  return ListsFrom(
      std::bind_front(GdipGetStringFormatTabStopCount, formatHandle),
      [&](REAL* stops, INT count) { return GdipGetStringFormatTabStops(formatHandle, count, &firstTabOffset, stops); },
      tabStops);
}

// GDI+ takes the language first.
bool PlusStringFormat::SetDigitSubstitution(StringDigitSubstitute substitute, std::optional<LANGID> language) {
  return Record(GdipSetStringFormatDigitSubstitution(formatHandle, language.value_or(LANG_NEUTRAL), substitute));
}

bool PlusStringFormat::GetDigitSubstitution(StringDigitSubstitute& substitute, LANGID* language) const {
  return Record(GdipGetStringFormatDigitSubstitution(formatHandle, language, &substitute));
}

bool PlusStringFormat::SetMeasurableCharacterRanges(const std::vector<CharacterRange>& ranges) {
  return Record(GdipSetStringFormatMeasurableCharacterRanges(formatHandle, Count(ranges), Packed(ranges)));
}

INT PlusStringFormat::GetMeasurableCharacterRangeCount() const {
  return ValueFrom(GdipGetStringFormatMeasurableCharacterRangeCount, formatHandle);
}

// PlusFont

PlusFont::~PlusFont() { Dispose(); }

bool PlusFont::Dispose() { return fontHandle && DisposedWith(*this, GdipDeleteFont(fontHandle)); }

bool PlusFont::Create(const PlusFontFamily& family, float emSize, std::optional<INT> style, std::optional<Unit> unit) {
  return Record(GdipCreateFont(family.GetHandle(), emSize, style.value_or(FontStyleRegular), unit.value_or(UnitWorld),
                               NewHandleFor<GpFont>(*this)));
}

bool PlusFont::CreateFromStockFont() {
  LogFontBlock block(*this);
  const LOGFONTA* logFont = block.Filled(GetStockObject(DEFAULT_GUI_FONT));
  if (!logFont) return false;
  return Record(GdipCreateFontFromLogfontA(ScreenDC(), logFont, NewHandleFor<GpFont>(*this)));
}

bool PlusFont::CreateFromName(const std::string& familyName, float emSize, std::optional<INT> style,
                              std::optional<Unit> unit) {
  PlusFontFamily family;
  family.CreateFromName(familyName, PlusFontCollection());
  Create(family, emSize, style, unit);
  // When the family was found, the status of its deletion replaces the font's.
  family.Dispose();
  return lastStatus == Ok;
}

bool PlusFont::CreateFromDC(HDC hdc) { return Record(GdipCreateFontFromDC(hdc, NewHandleFor<GpFont>(*this))); }

bool PlusFont::CreateFromGdiFont(HDC hdc, HFONT hfont) {
  if (!hfont) return CreateFromDC(hdc);
  LogFontBlock block(*this);
  return CreateFromLogFont(hdc, block.Filled(hfont));
}

bool PlusFont::CreateFromLogFont(HDC hdc, const LOGFONTA* logFont) {
  return logFont ? Record(GdipCreateFontFromLogfontA(hdc, logFont, NewHandleFor<GpFont>(*this))) : CreateFromDC(hdc);
}

bool PlusFont::Clone(PlusFont& target) const { return Record(GdipCloneFont(fontHandle, NewHandleFor<GpFont>(target))); }

bool PlusFont::GetFamily(PlusFontFamily& target) const {
  return Record(GdipGetFamily(fontHandle, NewHandleFor<GpFontFamily>(target)));
}

INT PlusFont::GetStyle() const { return ValueFrom(GdipGetFontStyle, fontHandle); }

float PlusFont::GetSize() const { return ValueFrom(GdipGetFontSize, fontHandle); }

Unit PlusFont::GetUnit() const { return ValueFrom(GdipGetFontUnit, fontHandle); }

float PlusFont::GetHeight(const PlusGraphics& graphics) const {
  return ValueFrom(GdipGetFontHeight, fontHandle, graphics.GetHandle());
}

float PlusFont::GetHeightGivenDPI(float dpi) const { return ValueFrom(GdipGetFontHeightGivenDPI, fontHandle, dpi); }

bool PlusFont::GetLogFont(const PlusGraphics& graphics, ByteBuffer& logFont) const {
  if (logFont.size() < sizeof(LOGFONTA)) logFont.resize(sizeof(LOGFONTA));
  return Record(GdipGetLogFontA(fontHandle, graphics.GetHandle(), reinterpret_cast<LOGFONTA*>(logFont.data())));
}

// PlusFontFamily

bool PlusFontFamily::Dispose() { return familyHandle && DisposedWith(*this, GdipDeleteFontFamily(familyHandle)); }

bool PlusFontFamily::CreateFromName(const std::string& name, const PlusFontCollection& collection) {
  return Record(
      GdipCreateFontFamilyFromName(WideText(name), collection.GetHandle(), NewHandleFor<GpFontFamily>(*this)));
}

bool PlusFontFamily::CreateGenericSansSerif() {
  return Record(GdipGetGenericFontFamilySansSerif(NewHandleFor<GpFontFamily>(*this)));
}

bool PlusFontFamily::CreateGenericSerif() {
  return Record(GdipGetGenericFontFamilySerif(NewHandleFor<GpFontFamily>(*this)));
}

bool PlusFontFamily::CreateGenericMonospace() {
  return Record(GdipGetGenericFontFamilyMonospace(NewHandleFor<GpFontFamily>(*this)));
}

bool PlusFontFamily::Clone(PlusFontFamily& target) const {
  return Record(GdipCloneFontFamily(familyHandle, NewHandleFor<GpFontFamily>(target)));
}

std::string PlusFontFamily::GetFamilyName() const {
  WCHAR name[LF_FACESIZE] = {};
  Record(GdipGetFamilyName(familyHandle, name, LANG_NEUTRAL));
  return WideToOem(name);
}

bool PlusFontFamily::IsStyleAvailable(INT style) const {
  return ValueFrom(GdipIsStyleAvailable, familyHandle, style) != FALSE;
}

UINT16 PlusFontFamily::GetEmHeight(INT style) const { return ValueFrom(GdipGetEmHeight, familyHandle, style); }

UINT16 PlusFontFamily::GetCellAscent(INT style) const { return ValueFrom(GdipGetCellAscent, familyHandle, style); }

UINT16 PlusFontFamily::GetCellDescent(INT style) const { return ValueFrom(GdipGetCellDescent, familyHandle, style); }

UINT16 PlusFontFamily::GetLineSpacing(INT style) const { return ValueFrom(GdipGetLineSpacing, familyHandle, style); }

// PlusFontCollection

void PlusFontCollection::StoreHandle(void* newHandle) {
  collectionHandle = static_cast<GpFontCollection*>(newHandle);
  HandleChanged(newHandle);
}

void PlusFontCollection::HandleChanged(void*) {}

INT PlusFontCollection::GetFamilyCount() const { return ValueFrom(GdipGetFontCollectionFamilyCount, collectionHandle); }

INT PlusFontCollection::GetFamilyList(INT count, std::vector<PlusFontFamily>& families) const {
  if (count < 1) {
    Record(InvalidParameter);
    return 0;
  }
  families = std::vector<PlusFontFamily>(static_cast<size_t>(count));
  std::vector<GpFontFamily*> handles(static_cast<size_t>(count));
  INT found = 0;
  if (Record(GdipGetFontCollectionFamilyList(collectionHandle, count, handles.data(), &found))) {
    for (size_t i = 0; i < handles.size(); ++i) families[i].SetHandle(handles[i]);
  }
  return found;
}

}  // namespace tavrel::plus
