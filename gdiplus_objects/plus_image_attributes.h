// PlusImageAttributes: colour adjustments applied by the image-drawing operations. Every operation
// is one GDI+ ImageAttributes call; an adjustment type not given is ColorAdjustTypeDefault.
#pragma once

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

// A 5 x 5 colour matrix in row order (rows red, green, blue, alpha, translation): m[3][3] scales alpha.
struct ColorMatrix {
  float m[5][5] = {};
};

// One entry of a remap table.
struct ColorMap {
  Argb oldColor = 0;
  Argb newColor = 0;
};

template <>
struct GpLayout<ColorMatrix> {
  using type = Gdiplus::ColorMatrix;
};
template <>
struct GpLayout<ColorMap> {
  using type = Gdiplus::ColorMap;
};
static_assert(sizeof(ColorMatrix) == sizeof(Gdiplus::ColorMatrix) && sizeof(ColorMap) == sizeof(Gdiplus::ColorMap));

class PlusImageAttributes : public PlusObjectOf<Gdiplus::GpImageAttributes> {
 public:
  PlusImageAttributes() = default;
  ~PlusImageAttributes() override;
  void StoreHandle(void* newHandle) override { attributesHandle = static_cast<Gdiplus::GpImageAttributes*>(newHandle); }

  // Without a handle GDI+ answers InvalidParameter.
  bool Dispose();
  // A handle held before is not disposed.
  bool Create();
  // The copy goes to the target; a handle the target held before is not disposed.
  bool Clone(PlusImageAttributes& target);
  bool SetToIdentity(Gdiplus::ColorAdjustType type);
  bool Reset(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetThreshold(float threshold, std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearThreshold(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetNoOp(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearNoOp(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetGamma(float gamma, std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearGamma(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetColorKey(Argb low, Argb high, std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearColorKey(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetOutputChannel(Gdiplus::ColorChannelFlags channel,
                        std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearOutputChannel(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetOutputChannelColorProfile(const std::string& fileName,
                                    std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearOutputChannelColorProfile(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetRemapTable(const std::vector<ColorMap>& maps, std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearRemapTable(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  // Clamping is always off; the colour is that of the pixels outside the image, 0 if not given.
  bool SetWrapMode(Gdiplus::WrapMode wrap, std::optional<Argb> color = std::nullopt);
  // GDI+ adjusts the palette's count entries in place.
  bool GetAdjustedPalette(ColorPalette& palette, std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool SetColorMatrix(const ColorMatrix& colorMatrix, std::optional<ColorMatrix> grayMatrix = std::nullopt,
                      std::optional<Gdiplus::ColorMatrixFlags> flags = std::nullopt,
                      std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);
  bool ClearColorMatrix(std::optional<Gdiplus::ColorAdjustType> type = std::nullopt);

 private:
  Gdiplus::GpImageAttributes* attributesHandle = nullptr;
};

}  // namespace tavrel::plus
