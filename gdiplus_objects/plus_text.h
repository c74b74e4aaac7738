// Text objects: string formats, fonts, font families and font collections.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusGraphics;

// A run of characters whose layout a string format can measure.
struct CharacterRange {
  std::int32_t first = 0;
  std::int32_t length = 0;
  friend bool operator==(const CharacterRange&, const CharacterRange&) = default;
};
template <>
struct GpLayout<CharacterRange> {
  using type = Gdiplus::CharacterRange;
};
static_assert(sizeof(CharacterRange) == sizeof(Gdiplus::CharacterRange));

// Layout rules of a text. Without a handle it stands for GDI+'s default layout.
class PlusStringFormat : public PlusObjectOf<Gdiplus::GpStringFormat> {
 public:
  PlusStringFormat() = default;
  ~PlusStringFormat() override;
  void StoreHandle(void* newHandle) override { formatHandle = static_cast<Gdiplus::GpStringFormat*>(newHandle); }

  bool Dispose();
  bool Create(std::optional<INT> flags = std::nullopt, std::optional<LANGID> language = std::nullopt);
  bool CreateGenericDefault();
  bool CreateGenericTypographic();
  bool Clone(PlusStringFormat& target) const;
  bool SetFlags(INT flags);
  INT GetFlags() const;
  bool SetAlignment(Gdiplus::StringAlignment align);
  Gdiplus::StringAlignment GetAlignment() const;
  bool SetLineAlignment(Gdiplus::StringAlignment align);
  Gdiplus::StringAlignment GetLineAlignment() const;
  bool SetTrimming(Gdiplus::StringTrimming trimming);
  Gdiplus::StringTrimming GetTrimming() const;
  bool SetHotkeyPrefix(Gdiplus::HotkeyPrefix prefix);
  Gdiplus::HotkeyPrefix GetHotkeyPrefix() const;
  bool SetTabStops(float firstTabOffset, const std::vector<float>& tabStops);
  // The number of tab stops; GDI+ writes the first tab offset and the stops into the arguments.
  INT GetTabStops(float& firstTabOffset, std::vector<float>& tabStops) const;
  bool SetDigitSubstitution(Gdiplus::StringDigitSubstitute substitute, std::optional<LANGID> language = std::nullopt);
  // Without a place for the language, GDI+ is not asked for one.
  bool GetDigitSubstitution(Gdiplus::StringDigitSubstitute& substitute, LANGID* language = nullptr) const;
  bool SetMeasurableCharacterRanges(const std::vector<CharacterRange>& ranges);
  INT GetMeasurableCharacterRangeCount() const;

 private:
  Gdiplus::GpStringFormat* formatHandle = nullptr;
};

class PlusFontFamily;

class PlusFont : public PlusObjectOf<Gdiplus::GpFont> {
 public:
  PlusFont() = default;
  ~PlusFont() override;
  void StoreHandle(void* newHandle) override { fontHandle = static_cast<Gdiplus::GpFont*>(newHandle); }

  bool Dispose();
  // style: FontStyle flags, regular unless given; unit: world unless given.
  bool Create(const PlusFontFamily& family, float emSize, std::optional<INT> style = std::nullopt,
              std::optional<Gdiplus::Unit> unit = std::nullopt);
  // The default GUI font, made on the screen's device context.
  bool CreateFromStockFont();
  // A font of an installed family; false (and no handle) when the family is not installed.
  bool CreateFromName(const std::string& familyName, float emSize, std::optional<INT> style = std::nullopt,
                      std::optional<Gdiplus::Unit> unit = std::nullopt);
  // The font selected into the device context.
  bool CreateFromDC(HDC hdc);
  // A GDI font; without one (or when GDI describes none) the device context's font.
  bool CreateFromGdiFont(HDC hdc, HFONT hfont);
  // Without a LOGFONTA the device context's font.
  bool CreateFromLogFont(HDC hdc, const LOGFONTA* logFont);
  bool Clone(PlusFont& target) const;
  bool GetFamily(PlusFontFamily& target) const;
  INT GetStyle() const;
  float GetSize() const;
  Gdiplus::Unit GetUnit() const;
  float GetHeight(const PlusGraphics& graphics) const;
  float GetHeightGivenDPI(float dpi) const;
  // GDI+ writes a LOGFONTA into the buffer, which is first grown to one when it is shorter
  // (Wine's GDI+ writes through a null LOGFONTA).
  bool GetLogFont(const PlusGraphics& graphics, ByteBuffer& logFont) const;

 private:
  Gdiplus::GpFont* fontHandle = nullptr;
};

class PlusFontCollection;

// Destroying a family leaves its GDI+ object alive: only Dispose releases it.
class PlusFontFamily : public PlusObjectOf<Gdiplus::GpFontFamily> {
 public:
  PlusFontFamily() = default;
  void StoreHandle(void* newHandle) override { familyHandle = static_cast<Gdiplus::GpFontFamily*>(newHandle); }

  bool Dispose();
  // FontFamilyNotFound when no family of the collection has the name.
  bool CreateFromName(const std::string& name, const PlusFontCollection& collection);
  bool CreateGenericSansSerif();
  bool CreateGenericSerif();
  bool CreateGenericMonospace();
  bool Clone(PlusFontFamily& target) const;
  // The name in the neutral language, in the OEM code page; empty when GDI+ fails.
  std::string GetFamilyName() const;
  bool IsStyleAvailable(INT style) const;
  // Design units.
  UINT16 GetEmHeight(INT style) const;
  UINT16 GetCellAscent(INT style) const;
  UINT16 GetCellDescent(INT style) const;
  UINT16 GetLineSpacing(INT style) const;

 private:
  Gdiplus::GpFontFamily* familyHandle = nullptr;
};

// Without a handle a collection stands for the installed fonts; the layer never releases one.
class PlusFontCollection : public PlusObjectOf<Gdiplus::GpFontCollection> {
 public:
  PlusFontCollection() = default;
  void StoreHandle(void* newHandle) override;
  virtual void HandleChanged(void* newHandle);

  INT GetFamilyCount() const;
  // Replaces the list by count families, holding the handles GDI+ gives (none beyond the number
  // found); returns the number found. A count below 1 is InvalidParameter, the list untouched.
  INT GetFamilyList(INT count, std::vector<PlusFontFamily>& families) const;

 private:
  Gdiplus::GpFontCollection* collectionHandle = nullptr;
};

}  // namespace tavrel::plus
