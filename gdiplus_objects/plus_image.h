// PlusImage and PlusBitmap: GDI+ images decoded from files or bytes, bitmaps made in many ways,
// their pixels and properties; saving through the GDI+ encoders; GUIDs as braced upper-case texts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/hglobal_stream.h"
#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusGraphics;

// A GUID in the standard COM form, braces and upper-case hexadecimal: 38 characters.
std::string GuidToText(const GUID& guid);
// The GUID a text names; all zeros (or what CLSIDFromString left) for a text that is not one.
GUID TextToGuid(const std::string& text);

// One image property. GDI+ exchanges it as Gdiplus::PropertyItem with the value bytes behind it.
struct PropertyItem {
  PROPID id = 0;
  ULONG length = 0;  // byte length of value
  UINT type = 0;     // a GDI+ PropertyTagType
  ByteBuffer value;
};

// The pixels of a locked bitmap area, written in place by GDI+.
using BitmapData = Gdiplus::BitmapData;

// A GDI+ effect as ApplyEffect uses it: the effect's handle and its auxiliary data, which GDI+
// allocates and the next ApplyEffect frees with GdipFree.
struct ImageEffect {
  Gdiplus::CGpEffect* handle = nullptr;
  void* auxData = nullptr;
  INT auxDataSize = 0;
  bool useAuxData = false;
};

// One GDI+ encoder, its GUIDs as texts.
struct EncoderInfo {
  std::string clsid;
  std::string formatId;
  std::string codecName;
  std::string dllName;
  std::string formatDescription;
  std::string filenameExtension;
  std::string mimeType;
  UINT flags = 0;
  UINT version = 0;
  UINT sigCount = 0;
  UINT sigSize = 0;
  ByteBuffer sigPattern;  // sigCount x sigSize bytes
  ByteBuffer sigMask;     // sigCount x sigSize bytes
};

struct EncoderParameter {
  std::string guid;
  ULONG numberOfValues = 0;
  ULONG type = 0;  // a GDI+ EncoderParameterValueType
  ByteBuffer value;
};

struct EncoderParameters {
  UINT count = 0;  // written to GDI+ as set; at most parameters.size()
  std::vector<EncoderParameter> parameters;
};

// GDI+'s EncoderParameters layout: the count, then one Gdiplus::EncoderParameter per entry
// (28 bytes on 32-bit Windows, 32 on 64-bit, where the array starts at 8).
static_assert(offsetof(Gdiplus::EncoderParameter, NumberOfValues) == 16);
static_assert(offsetof(Gdiplus::EncoderParameter, Type) == 20);
static_assert(offsetof(Gdiplus::EncoderParameter, Value) == 16 + 4 + 4);
static_assert(sizeof(Gdiplus::EncoderParameter) == (sizeof(void*) == 4 ? 28 : 32));
static_assert(offsetof(Gdiplus::EncoderParameters, Parameter) == sizeof(void*));
static_assert(offsetof(Gdiplus::PropertyItem, type) == 8 &&
              offsetof(Gdiplus::PropertyItem, value) == sizeof(void*) + 8);
static_assert(sizeof(Gdiplus::ImageCodecInfo) == (sizeof(void*) == 4 ? 76 : 104));
static_assert(sizeof(BitmapData) == (sizeof(void*) == 4 ? 24 : 32));

// The block GDI+ takes for params, its value addresses pointing into params' buffers (null for
// an empty one), which must stay unchanged while the block is in use.
ByteBuffer BuildEncoderParametersBlock(const EncoderParameters& params);
// A parameter list in GDI+'s layout as records: each value copied from its address, as many
// bytes as its type and count say; a null address or an unknown type gives an empty value.
EncoderParameters ParseEncoderParameters(const void* block);
// The byte length of numberOfValues values of a GDI+ EncoderParameterValueType; 0 when unknown.
size_t EncoderValueBytes(ULONG type, ULONG numberOfValues);

// The GDI+ encoders in GDI+'s order; returns their number, 0 (list unchanged) when GDI+ fails.
UINT GetImageEncoders(std::vector<EncoderInfo>& encoders);
// The clsid of the first encoder whose formatId equals format exactly; empty when none does.
std::string FindEncoderClsid(const std::string& format);

class PlusImage : public PlusObjectOf<Gdiplus::GpImage> {
 public:
  PlusImage() = default;
  // Disposes the image; the stream member goes after it.
  ~PlusImage() override;

  void StoreHandle(void* newHandle) override;
  // Called by the handle hook with every new handle.
  virtual void HandleChanged(void* newHandle);

  // False at once without an image; else disposes it and releases the stream.
  virtual bool Dispose();
  virtual bool LoadFromFile(const std::string& fileName, std::optional<bool> useIcm = std::nullopt);
  // Decodes a copy of data held in the stream member. An image held before is not disposed; its
  // stream is released first.
  virtual bool LoadFromStream(const ByteBuffer& data, std::optional<bool> useIcm = std::nullopt);
  bool Clone(PlusImage& target);
  // Without a format the image's own; an unknown format fails in GDI+.
  bool SaveToFile(const std::string& fileName, const std::optional<std::string>& format = std::nullopt,
                  const std::optional<EncoderParameters>& params = std::nullopt);
  // The encoded image, whatever GDI+ wrote, empty when it wrote nothing.
  ByteBuffer SaveToStream(const std::optional<std::string>& format = std::nullopt,
                          const std::optional<EncoderParameters>& params = std::nullopt);
  bool SaveAdd(const EncoderParameters& params);
  bool SaveAddImage(const PlusImage& image, const EncoderParameters& params);
  // The parameters the encoder of format accepts; params unchanged when GDI+ fails.
  bool GetEncoderParameterList(const std::string& format, EncoderParameters& params);
  // The text of the image's format GUID; of the all-zero GUID when GDI+ fails.
  std::string GetRawFormat();
  // Without a place for the unit GDI+ answers InvalidParameter.
  RectF GetBounds(Gdiplus::Unit* unit = nullptr);
  SizeF GetDimension();
  Gdiplus::ImageType GetType();
  UINT GetWidth() const;
  UINT GetHeight() const;
  float GetHorizontalResolution();
  float GetVerticalResolution();
  UINT GetFlags();
  Gdiplus::PixelFormat GetPixelFormat();
  bool GetThumbnail(UINT width, UINT height, PlusImage& target);
  UINT GetFrameCount(const std::string& dimension);
  bool GetFrameDimensionsList(std::vector<std::string>& dimensions);
  bool SelectActiveFrame(const std::string& dimension, UINT index);
  // One delay per frame, in hundredths of a second; delays unchanged without the property.
  bool GetFrameDelays(std::vector<std::uint32_t>& delays);
  bool GetPropertyItem(PROPID id, PropertyItem& item);
  // item.length must not exceed the length of item.value.
  bool SetPropertyItem(const PropertyItem& item);
  bool RemovePropertyItem(PROPID id);
  // The number of properties; ids unchanged when GDI+ cannot count them.
  UINT GetPropertyIdList(std::vector<PROPID>& ids);
  bool RotateFlip(Gdiplus::RotateFlipType type);
  bool GetPalette(ColorPalette& palette);
  // palette.entries must hold at least palette.count colours.
  bool SetPalette(const ColorPalette& palette);

 protected:
  Gdiplus::GpImage* imageHandle = nullptr;
  HGlobalStream stream;

 private:
  // The CLSID of the encoder for format, the image's own format when none is given.
  CLSID EncoderFor(const std::optional<std::string>& format);
};

class PlusBitmap : public PlusImage {
 public:
  PlusBitmap() = default;
  // Disposes the bitmap; both stream members go after it.
  ~PlusBitmap() override;

  Gdiplus::GpBitmap* GetHandle() const { return static_cast<Gdiplus::GpBitmap*>(PlusObject::GetHandle()); }
  void HandleChanged(void* newHandle) override;
  bool Dispose() override;
  // A bitmap takes the loading operations' places with its own creating ones.
  bool LoadFromFile(const std::string& fileName, std::optional<bool> useIcm = std::nullopt) override {
    return CreateFromFile(fileName, useIcm);
  }
  bool LoadFromStream(const ByteBuffer& data, std::optional<bool> useIcm = std::nullopt) override {
    return CreateFromStream(data, useIcm);
  }
  bool CreateFromFile(const std::string& fileName, std::optional<bool> useIcm = std::nullopt);
  // Decodes a copy of data held in bitmapStream.
  bool CreateFromStream(const ByteBuffer& data, std::optional<bool> useIcm = std::nullopt);

  // Without scan0 GDI+ allocates the pixels.
  bool CreateFromScan0(INT width, INT height, INT stride, Gdiplus::PixelFormat format,
                       std::optional<BYTE*> scan0 = std::nullopt);
  // 32 bits per pixel ARGB unless a format is given.
  bool Create(INT width, INT height, std::optional<Gdiplus::PixelFormat> format = std::nullopt);
  bool CreateFromGraphics(INT width, INT height, const PlusGraphics& graphics);
  bool CreateFromGdiDib(const BITMAPINFO* bitmapInfo, void* bits);
  bool CreateFromHBITMAP(HBITMAP hbitmap, std::optional<HPALETTE> hpalette = std::nullopt);
  bool CreateFromHICON(HICON hicon);
  // name goes to GDI+ unchanged: a text or a MAKEINTRESOURCEW number.
  bool CreateFromResource(HINSTANCE instance, const WCHAR* name);
  // A new GDI bitmap; 0 when GDI+ fails.
  HBITMAP GetHBITMAP(std::optional<Argb> background = std::nullopt);
  // A new icon; 0 when GDI+ fails.
  HICON GetHICON();
  bool CloneArea(const RectF& rect, Gdiplus::PixelFormat format, PlusBitmap& target);
  bool LockBits(const RectI& rect, UINT flags, Gdiplus::PixelFormat format, BitmapData& data);
  bool UnlockBits(BitmapData& data);
  // 0 when GDI+ fails.
  Argb GetPixel(INT x, INT y);
  bool SetPixel(INT x, INT y, Argb color);
  bool SetResolution(float dpiX, float dpiY);
  // Frees the effect's previous auxiliary data, applies it to roi (the whole bitmap by default)
  // and keeps the auxiliary data GDI+ returns in the effect.
  bool ApplyEffect(ImageEffect& effect, std::optional<RectI> roi = std::nullopt);

 protected:
  Gdiplus::GpBitmap* bitmapHandle = nullptr;
  HGlobalStream bitmapStream;
};

}  // namespace tavrel::plus
