#include "gdiplus_objects/plus_image_attributes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gdiplus_objects/plus_wrap_helpers.h"

namespace tavrel::plus {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

ColorAdjustType TypeOrDefault(std::optional<ColorAdjustType> type) { return type.value_or(ColorAdjustTypeDefault); }

// What ClearColorMatrix hands GDI+ for the two matrices, which it ignores when the flag is off.
const ColorMatrix kPlaceholderMatrix{};

}  // namespace

PlusImageAttributes::~PlusImageAttributes() { Dispose(); }

bool PlusImageAttributes::Dispose() {
  const Status status = GdipDisposeImageAttributes(attributesHandle);
  SetHandle(nullptr);
  return Record(status);
}

bool PlusImageAttributes::Create() { return Record(GdipCreateImageAttributes(NewHandleFor<GpImageAttributes>(*this))); }

bool PlusImageAttributes::Clone(PlusImageAttributes& target) {
  return Record(GdipCloneImageAttributes(attributesHandle, NewHandleFor<GpImageAttributes>(target)));
}

bool PlusImageAttributes::SetToIdentity(ColorAdjustType type) {
  return Record(GdipSetImageAttributesToIdentity(attributesHandle, type));
}

bool PlusImageAttributes::Reset(std::optional<ColorAdjustType> type) {
  return Record(GdipResetImageAttributes(attributesHandle, TypeOrDefault(type)));
}

bool PlusImageAttributes::SetThreshold(float threshold, std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesThreshold(attributesHandle, TypeOrDefault(type), TRUE, threshold));
}

bool PlusImageAttributes::ClearThreshold(std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesThreshold(attributesHandle, TypeOrDefault(type), FALSE, 0));
}

// Wine 8.0 writes into the attributes without testing them: without a handle answer as GDI+ does.
bool PlusImageAttributes::SetNoOp(std::optional<ColorAdjustType> type) {
  if (!attributesHandle) return Record(InvalidParameter);
  return Record(GdipSetImageAttributesNoOp(attributesHandle, TypeOrDefault(type), TRUE));
}

bool PlusImageAttributes::ClearNoOp(std::optional<ColorAdjustType> type) {
  if (!attributesHandle) return Record(InvalidParameter);
  return Record(GdipSetImageAttributesNoOp(attributesHandle, TypeOrDefault(type), FALSE));
}

bool PlusImageAttributes::SetGamma(float gamma, std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesGamma(attributesHandle, TypeOrDefault(type), TRUE, gamma));
}

bool PlusImageAttributes::ClearGamma(std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesGamma(attributesHandle, TypeOrDefault(type), FALSE, 0));
}

bool PlusImageAttributes::SetColorKey(Argb low, Argb high, std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesColorKeys(attributesHandle, TypeOrDefault(type), TRUE, low, high));
}

bool PlusImageAttributes::ClearColorKey(std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesColorKeys(attributesHandle, TypeOrDefault(type), FALSE, 0, 0));
}

bool PlusImageAttributes::SetOutputChannel(ColorChannelFlags channel, std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesOutputChannel(attributesHandle, TypeOrDefault(type), TRUE, channel));
}

bool PlusImageAttributes::ClearOutputChannel(std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesOutputChannel(attributesHandle, TypeOrDefault(type), FALSE, ColorChannelFlags{}));
}

bool PlusImageAttributes::SetOutputChannelColorProfile(const std::string& fileName,
                                                       std::optional<ColorAdjustType> type) {
  return Record(
      GdipSetImageAttributesOutputChannelColorProfile(attributesHandle, TypeOrDefault(type), TRUE, WideText(fileName)));
}

bool PlusImageAttributes::ClearOutputChannelColorProfile(std::optional<ColorAdjustType> type) {
  return Record(
      GdipSetImageAttributesOutputChannelColorProfile(attributesHandle, TypeOrDefault(type), FALSE, WideText("")));
}

bool PlusImageAttributes::SetRemapTable(const std::vector<ColorMap>& maps, std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesRemapTable(attributesHandle, TypeOrDefault(type), TRUE,
                                                 static_cast<UINT>(Count(maps)), Packed(maps)));
}

bool PlusImageAttributes::ClearRemapTable(std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesRemapTable(attributesHandle, TypeOrDefault(type), FALSE, 0, nullptr));
}

bool PlusImageAttributes::SetWrapMode(WrapMode wrap, std::optional<Argb> color) {
  return Record(GdipSetImageAttributesWrapMode(attributesHandle, wrap, color.value_or(0), FALSE));
}

bool PlusImageAttributes::GetAdjustedPalette(ColorPalette& palette, std::optional<ColorAdjustType> type) {
  if (palette.entries.size() < palette.count) {
    std::fprintf(stderr, "ColorPalette: count %u but %zu entries\n", palette.count, palette.entries.size());
    std::abort();
  }
  ByteBuffer block = PaletteBlock(palette);
  const bool ok = Record(GdipGetImageAttributesAdjustedPalette(attributesHandle, BlockAs<Gdiplus::ColorPalette>(block),
                                                               TypeOrDefault(type)));
  // In place: the entries beyond count stay as they were.
  const ColorPalette adjusted = PaletteFromBlock(block);
  palette.flags = adjusted.flags;
  palette.count = std::min(adjusted.count, palette.count);
  std::copy_n(adjusted.entries.begin(), palette.count, palette.entries.begin());
  return ok;
}

bool PlusImageAttributes::SetColorMatrix(const ColorMatrix& colorMatrix, std::optional<ColorMatrix> grayMatrix,
                                         std::optional<ColorMatrixFlags> flags, std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesColorMatrix(attributesHandle, TypeOrDefault(type), TRUE, Packed(colorMatrix),
                                                  grayMatrix ? Packed(*grayMatrix) : nullptr,
                                                  flags.value_or(ColorMatrixFlagsDefault)));
}

bool PlusImageAttributes::ClearColorMatrix(std::optional<ColorAdjustType> type) {
  return Record(GdipSetImageAttributesColorMatrix(attributesHandle, TypeOrDefault(type), FALSE,
                                                  Packed(kPlaceholderMatrix), Packed(kPlaceholderMatrix),
                                                  ColorMatrixFlagsDefault));
}

}  // namespace tavrel::plus
