#include "gdiplus_objects/plus_image.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>

#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_wrap_helpers.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace tavrel::plus {

namespace {

// count bytes from an address GDI+ gave; none from a null one.
ByteBuffer CopyBytes(const void* address, size_t count) {
  if (!address) return {};
  const auto* first = static_cast<const std::uint8_t*>(address);
  return ByteBuffer(first, first + count);
}

// The address GDI+ takes for a buffer of values, in a field that is not const: null for an empty one.
void* ValueAddress(const ByteBuffer& value) { return const_cast<BYTE*>(Packed(value)); }

// The entries of GDI+'s EncoderParameters, where they start in the block.
const Gdiplus::EncoderParameter* ParameterEntries(const void* block) {
  return reinterpret_cast<const Gdiplus::EncoderParameter*>(static_cast<const std::uint8_t*>(block) +
                                                            offsetof(Gdiplus::EncoderParameters, Parameter));
}

// An encoder CLSID for one GDI+ call, passed by address.
struct ClsidArgument {
  CLSID clsid;
  operator const CLSID*() const { return &clsid; }
};

// The EncoderParameters block of a GDI+ call, null when no parameters were given.
class ParametersArgument {
 public:
  explicit ParametersArgument(const std::optional<EncoderParameters>& params)
      : block(params ? BuildEncoderParametersBlock(*params) : ByteBuffer{}) {}
  explicit ParametersArgument(const EncoderParameters& params) : block(BuildEncoderParametersBlock(params)) {}
  operator const Gdiplus::EncoderParameters*() {
    return block.empty() ? nullptr : BlockAs<Gdiplus::EncoderParameters>(block);
  }

 private:
  ByteBuffer block;
};

EncoderInfo ToEncoderInfo(const ImageCodecInfo& codec) {
  const size_t signatureBytes = static_cast<size_t>(codec.SigCount) * codec.SigSize;
  return {GuidToText(codec.Clsid),
          GuidToText(codec.FormatID),
          WideToOem(codec.CodecName),
          WideToOem(codec.DllName),
          WideToOem(codec.FormatDescription),
          WideToOem(codec.FilenameExtension),
          WideToOem(codec.MimeType),
          codec.Flags,
          codec.Version,
          codec.SigCount,
          codec.SigSize,
          CopyBytes(codec.SigPattern, signatureBytes),
          CopyBytes(codec.SigMask, signatureBytes)};
}

// GDI+ 1.0, what Windows gives a program without a GDI+ 1.1 manifest, has no effects: the
// function is looked up at its first call, so that the program still loads there.
Status BitmapApplyEffect(GpBitmap* bitmap, CGpEffect* effect, RECT* roi, BOOL useAuxData, VOID** auxData,
                         INT* auxDataSize) {
  using Function = decltype(&GdipBitmapApplyEffect);
  static const auto function = reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdiplus.dll"), "GdipBitmapApplyEffect")));
  return function ? function(bitmap, effect, roi, useAuxData, auxData, auxDataSize) : NotImplemented;
}

}  // namespace

std::string GuidToText(const GUID& guid) {
  WCHAR text[39] = {};
  StringFromGUID2(guid, text, 39);
  return WideToOem(text);
}

GUID TextToGuid(const std::string& text) {
  GUID guid{};
  CLSIDFromString(WideText(text), &guid);
  return guid;
}

size_t EncoderValueBytes(ULONG type, ULONG numberOfValues) {
  switch (type) {
    case EncoderParameterValueTypeByte:
    case EncoderParameterValueTypeASCII:
    case EncoderParameterValueTypeUndefined:
      return numberOfValues;
    case EncoderParameterValueTypeShort:
      return 2 * static_cast<size_t>(numberOfValues);
    case EncoderParameterValueTypeLong:
      return 4 * static_cast<size_t>(numberOfValues);
    case EncoderParameterValueTypeRational:
    case EncoderParameterValueTypeLongRange:
      return 8 * static_cast<size_t>(numberOfValues);
    case EncoderParameterValueTypeRationalRange:
      return 16 * static_cast<size_t>(numberOfValues);
    default:
      return 0;
  }
}

ByteBuffer BuildEncoderParametersBlock(const EncoderParameters& params) {
  const size_t n = params.parameters.size();
  ByteBuffer block(offsetof(Gdiplus::EncoderParameters, Parameter) + n * sizeof(Gdiplus::EncoderParameter), 0);
  BlockAs<Gdiplus::EncoderParameters>(block)->Count = params.count;
  auto* entries =
      reinterpret_cast<Gdiplus::EncoderParameter*>(block.data() + offsetof(Gdiplus::EncoderParameters, Parameter));
  for (size_t k = 0; k < n; ++k) {
    const EncoderParameter& parameter = params.parameters[k];
    entries[k] = {TextToGuid(parameter.guid), parameter.numberOfValues, parameter.type, ValueAddress(parameter.value)};
  }
  return block;
}

EncoderParameters ParseEncoderParameters(const void* block) {
  EncoderParameters params;
  if (!block) return params;
  params.count = static_cast<const Gdiplus::EncoderParameters*>(block)->Count;
  params.parameters.resize(params.count);
  const Gdiplus::EncoderParameter* entries = ParameterEntries(block);
  for (UINT k = 0; k < params.count; ++k) {
    const Gdiplus::EncoderParameter& entry = entries[k];
    params.parameters[k] = {GuidToText(entry.Guid), entry.NumberOfValues, entry.Type,
                            CopyBytes(entry.Value, EncoderValueBytes(entry.Type, entry.NumberOfValues))};
  }
  return params;
}

UINT GetImageEncoders(std::vector<EncoderInfo>& encoders) {
  UINT count = 0;
  UINT size = 0;
  if (!Record(GdipGetImageEncodersSize(&count, &size))) return 0;
  encoders.assign(count, {});
  ByteBuffer block(std::max<size_t>(size, count * sizeof(ImageCodecInfo)), 0);
  const auto* codecs = BlockAs<ImageCodecInfo>(block);
  Record(GdipGetImageEncoders(count, size, BlockAs<ImageCodecInfo>(block)));
  std::transform(codecs, codecs + count, encoders.begin(), ToEncoderInfo);
  return count;
}

std::string FindEncoderClsid(const std::string& format) {
  std::vector<EncoderInfo> encoders;
  GetImageEncoders(encoders);
  const auto found = std::find_if(encoders.begin(), encoders.end(),
                                  [&](const EncoderInfo& encoder) { return encoder.formatId == format; });
  return found == encoders.end() ? std::string{} : found->clsid;
}

// PlusImage.

PlusImage::~PlusImage() { Dispose(); }

void PlusImage::StoreHandle(void* newHandle) {
  imageHandle = static_cast<GpImage*>(newHandle);
  HandleChanged(newHandle);
}

void PlusImage::HandleChanged(void*) {}

bool PlusImage::Dispose() {
  if (!imageHandle) return false;
  const bool disposed = Record(GdipDisposeImage(imageHandle));
  stream.Release();
  SetHandle(nullptr);
  return disposed;
}

bool PlusImage::LoadFromFile(const std::string& fileName, std::optional<bool> useIcm) {
  return Record(useIcm.value_or(false) ? GdipLoadImageFromFileICM(WideText(fileName), NewHandleFor<GpImage>(*this))
                                       : GdipLoadImageFromFile(WideText(fileName), NewHandleFor<GpImage>(*this)));
}

bool PlusImage::LoadFromStream(const ByteBuffer& data, std::optional<bool> useIcm) {
  IStream* source = stream.CreateFromBytes(data);
  // GDI+ writes into the handle field: a failed load keeps what GDI+ left there.
  const bool loaded = Record(useIcm.value_or(false) ? GdipLoadImageFromStreamICM(source, &imageHandle)
                                                    : GdipLoadImageFromStream(source, &imageHandle));
  SetHandle(imageHandle);
  return loaded;
}

bool PlusImage::Clone(PlusImage& target) { return Record(GdipCloneImage(imageHandle, NewHandleFor<GpImage>(target))); }

CLSID PlusImage::EncoderFor(const std::optional<std::string>& format) {
  return TextToGuid(FindEncoderClsid(format ? *format : GetRawFormat()));
}

bool PlusImage::SaveToFile(const std::string& fileName, const std::optional<std::string>& format,
                           const std::optional<EncoderParameters>& params) {
  const ClsidArgument encoder{EncoderFor(format)};
  return Record(GdipSaveImageToFile(imageHandle, WideText(fileName), encoder, ParametersArgument(params)));
}

ByteBuffer PlusImage::SaveToStream(const std::optional<std::string>& format,
                                   const std::optional<EncoderParameters>& params) {
  const ClsidArgument encoder{EncoderFor(format)};
  HGlobalStream output;
  output.CreateFromBytes({});
  Record(GdipSaveImageToStream(imageHandle, output.GetStream(), encoder, ParametersArgument(params)));
  // The stream grows its block to the end of what GDI+ wrote: the whole block is the file.
  return output.GetBytes();
}

bool PlusImage::SaveAdd(const EncoderParameters& params) {
  return Record(GdipSaveAdd(imageHandle, ParametersArgument(params)));
}

bool PlusImage::SaveAddImage(const PlusImage& image, const EncoderParameters& params) {
  return Record(GdipSaveAddImage(imageHandle, image.GetHandle(), ParametersArgument(params)));
}

bool PlusImage::GetEncoderParameterList(const std::string& format, EncoderParameters& params) {
  const ClsidArgument encoder{EncoderFor(format)};
  UINT size = 0;
  if (!Record(GdipGetEncoderParameterListSize(imageHandle, encoder, &size))) return false;
  ByteBuffer block(std::max<size_t>(size, sizeof(Gdiplus::EncoderParameters)), 0);
  if (!Record(GdipGetEncoderParameterList(imageHandle, encoder, size, BlockAs<Gdiplus::EncoderParameters>(block))))
    return false;
  params = ParseEncoderParameters(block.data());
  return true;
}

std::string PlusImage::GetRawFormat() {
  GUID format{};
  return GuidToText(Answer(GdipGetImageRawFormat(imageHandle, &format), format));
}

RectF PlusImage::GetBounds(Unit* unit) {
  RectF bounds;
  return Answer(GdipGetImageBounds(imageHandle, Packed(bounds), unit), bounds);
}

SizeF PlusImage::GetDimension() {
  SizeF size;
  return Answer(GdipGetImageDimension(imageHandle, &size.width, &size.height), size);
}

ImageType PlusImage::GetType() {
  ImageType type = ImageTypeUnknown;
  return Answer(GdipGetImageType(imageHandle, &type), type);
}

UINT PlusImage::GetWidth() const {
  UINT width = 0;
  return Answer(GdipGetImageWidth(imageHandle, &width), width);
}

UINT PlusImage::GetHeight() const {
  UINT height = 0;
  return Answer(GdipGetImageHeight(imageHandle, &height), height);
}

float PlusImage::GetHorizontalResolution() {
  REAL resolution = 0;
  return Answer(GdipGetImageHorizontalResolution(imageHandle, &resolution), resolution);
}

float PlusImage::GetVerticalResolution() {
  REAL resolution = 0;
  return Answer(GdipGetImageVerticalResolution(imageHandle, &resolution), resolution);
}

UINT PlusImage::GetFlags() {
  UINT flags = 0;
  return Answer(GdipGetImageFlags(imageHandle, &flags), flags);
}

PixelFormat PlusImage::GetPixelFormat() {
  PixelFormat format = 0;
  return Answer(GdipGetImagePixelFormat(imageHandle, &format), format);
}

bool PlusImage::GetThumbnail(UINT width, UINT height, PlusImage& target) {
  return Record(GdipGetImageThumbnail(imageHandle, width, height, NewHandleFor<GpImage>(target), nullptr, nullptr));
}

UINT PlusImage::GetFrameCount(const std::string& dimension) {
  const GUID id = TextToGuid(dimension);
  UINT count = 0;
  return Answer(GdipImageGetFrameCount(imageHandle, &id, &count), count);
}

bool PlusImage::GetFrameDimensionsList(std::vector<std::string>& dimensions) {
  UINT count = 0;
  if (!Record(GdipImageGetFrameDimensionsCount(imageHandle, &count))) return false;
  std::vector<GUID> ids(count, GUID{});
  dimensions.assign(count, {});
  const bool listed = Record(GdipImageGetFrameDimensionsList(imageHandle, ids.data(), count));
  std::transform(ids.begin(), ids.end(), dimensions.begin(), GuidToText);
  return listed;
}

bool PlusImage::SelectActiveFrame(const std::string& dimension, UINT index) {
  const GUID id = TextToGuid(dimension);
  return Record(GdipImageSelectActiveFrame(imageHandle, &id, index));
}

bool PlusImage::GetFrameDelays(std::vector<std::uint32_t>& delays) {
  PropertyItem item;
  if (!GetPropertyItem(PropertyTagFrameDelay, item)) return false;
  delays.assign(item.length / 4, 0);
  std::memcpy(delays.data(), item.value.data(), std::min(4 * delays.size(), item.value.size()));
  return true;
}

bool PlusImage::GetPropertyItem(PROPID id, PropertyItem& item) {
  UINT size = 0;
  if (!Record(GdipGetPropertyItemSize(imageHandle, id, &size))) return false;
  ByteBuffer block(std::max<size_t>(size, sizeof(Gdiplus::PropertyItem)), 0);
  const auto* header = BlockAs<Gdiplus::PropertyItem>(block);
  const bool got = Record(GdipGetPropertyItem(imageHandle, id, size, BlockAs<Gdiplus::PropertyItem>(block)));
  // GDI+ puts the value behind the header and points the header at it.
  item = {header->id, header->length, header->type, CopyBytes(header->value, header->length)};
  return got;
}

bool PlusImage::SetPropertyItem(const PropertyItem& item) {
  const Gdiplus::PropertyItem header{item.id, item.length, static_cast<WORD>(item.type), ValueAddress(item.value)};
  return Record(GdipSetPropertyItem(imageHandle, &header));
}

bool PlusImage::RemovePropertyItem(PROPID id) { return Record(GdipRemovePropertyItem(imageHandle, id)); }

UINT PlusImage::GetPropertyIdList(std::vector<PROPID>& ids) {
  UINT count = 0;
  if (!Record(GdipGetPropertyCount(imageHandle, &count))) return 0;
  ids.assign(count, 0);
  Record(GdipGetPropertyIdList(imageHandle, count, ids.data()));
  return count;
}

bool PlusImage::RotateFlip(RotateFlipType type) { return Record(GdipImageRotateFlip(imageHandle, type)); }

bool PlusImage::GetPalette(ColorPalette& palette) {
  INT size = 0;
  if (!Record(GdipGetImagePaletteSize(imageHandle, &size))) return false;
  ByteBuffer block(std::max<size_t>(std::max(size, 0), sizeof(Gdiplus::ColorPalette)), 0);
  if (!Record(GdipGetImagePalette(imageHandle, BlockAs<Gdiplus::ColorPalette>(block), size))) return false;
  palette = PaletteFromBlock(block);
  return true;
}

bool PlusImage::SetPalette(const ColorPalette& palette) {
  ByteBuffer block = PaletteBlock(palette);
  return Record(GdipSetImagePalette(imageHandle, BlockAs<Gdiplus::ColorPalette>(block)));
}

// PlusBitmap.

PlusBitmap::~PlusBitmap() { Dispose(); }

void PlusBitmap::HandleChanged(void* newHandle) { bitmapHandle = static_cast<GpBitmap*>(newHandle); }

bool PlusBitmap::Dispose() {
  if (!bitmapHandle) return false;
  const bool disposed = Record(GdipDisposeImage(bitmapHandle));
  bitmapStream.Release();
  SetHandle(nullptr);
  return disposed;
}

bool PlusBitmap::CreateFromFile(const std::string& fileName, std::optional<bool> useIcm) {
  return Record(useIcm.value_or(false) ? GdipCreateBitmapFromFileICM(WideText(fileName), NewHandleFor<GpBitmap>(*this))
                                       : GdipCreateBitmapFromFile(WideText(fileName), NewHandleFor<GpBitmap>(*this)));
}

bool PlusBitmap::CreateFromStream(const ByteBuffer& data, std::optional<bool> useIcm) {
  IStream* source = bitmapStream.CreateFromBytes(data);
  // GDI+ writes into the handle field: a failed load keeps what GDI+ left there.
  const bool loaded = Record(useIcm.value_or(false) ? GdipCreateBitmapFromStreamICM(source, &bitmapHandle)
                                                    : GdipCreateBitmapFromStream(source, &bitmapHandle));
  SetHandle(bitmapHandle);
  return loaded;
}

bool PlusBitmap::CreateFromScan0(INT width, INT height, INT stride, PixelFormat format, std::optional<BYTE*> scan0) {
  return Record(
      GdipCreateBitmapFromScan0(width, height, stride, format, scan0.value_or(nullptr), NewHandleFor<GpBitmap>(*this)));
}

bool PlusBitmap::Create(INT width, INT height, std::optional<PixelFormat> format) {
  return CreateFromScan0(width, height, 0, format.value_or(PixelFormat32bppARGB));
}

bool PlusBitmap::CreateFromGraphics(INT width, INT height, const PlusGraphics& graphics) {
  return Record(GdipCreateBitmapFromGraphics(width, height, graphics.GetHandle(), NewHandleFor<GpBitmap>(*this)));
}

bool PlusBitmap::CreateFromGdiDib(const BITMAPINFO* bitmapInfo, void* bits) {
  return Record(GdipCreateBitmapFromGdiDib(bitmapInfo, bits, NewHandleFor<GpBitmap>(*this)));
}

bool PlusBitmap::CreateFromHBITMAP(HBITMAP hbitmap, std::optional<HPALETTE> hpalette) {
  return Record(GdipCreateBitmapFromHBITMAP(hbitmap, hpalette.value_or(nullptr), NewHandleFor<GpBitmap>(*this)));
}

bool PlusBitmap::CreateFromHICON(HICON hicon) {
  return Record(GdipCreateBitmapFromHICON(hicon, NewHandleFor<GpBitmap>(*this)));
}

bool PlusBitmap::CreateFromResource(HINSTANCE instance, const WCHAR* name) {
  return Record(GdipCreateBitmapFromResource(instance, name, NewHandleFor<GpBitmap>(*this)));
}

HBITMAP PlusBitmap::GetHBITMAP(std::optional<Argb> background) {
  HBITMAP hbitmap = nullptr;
  return Answer(GdipCreateHBITMAPFromBitmap(bitmapHandle, &hbitmap, background.value_or(0)), hbitmap);
}

HICON PlusBitmap::GetHICON() {
  HICON hicon = nullptr;
  return Answer(GdipCreateHICONFromBitmap(bitmapHandle, &hicon), hicon);
}

bool PlusBitmap::CloneArea(const RectF& rect, PixelFormat format, PlusBitmap& target) {
  return Record(GdipCloneBitmapArea(rect.x, rect.y, rect.width, rect.height, format, bitmapHandle,
                                    NewHandleFor<GpBitmap>(target)));
}

bool PlusBitmap::LockBits(const RectI& rect, UINT flags, PixelFormat format, BitmapData& data) {
  return Record(GdipBitmapLockBits(bitmapHandle, Packed(rect), flags, format, &data));
}

bool PlusBitmap::UnlockBits(BitmapData& data) { return Record(GdipBitmapUnlockBits(bitmapHandle, &data)); }

Argb PlusBitmap::GetPixel(INT x, INT y) {
  ARGB color = 0;
  return Answer(GdipBitmapGetPixel(bitmapHandle, x, y, &color), color);
}

bool PlusBitmap::SetPixel(INT x, INT y, Argb color) { return Record(GdipBitmapSetPixel(bitmapHandle, x, y, color)); }

bool PlusBitmap::SetResolution(float dpiX, float dpiY) {
  return Record(GdipBitmapSetResolution(bitmapHandle, dpiX, dpiY));
}

bool PlusBitmap::ApplyEffect(ImageEffect& effect, std::optional<RectI> roi) {
  if (effect.auxData) GdipFree(effect.auxData);
  // GDI+ takes the region as a RECT: edges, not a size.
  RECT area = roi ? RECT{roi->x, roi->y, roi->x + roi->width, roi->y + roi->height} : RECT{};
  void* auxData = nullptr;
  INT auxDataSize = 0;
  const bool applied = Record(
      BitmapApplyEffect(bitmapHandle, effect.handle, roi ? &area : nullptr, effect.useAuxData, &auxData, &auxDataSize));
  effect.auxData = auxData;
  effect.auxDataSize = auxDataSize;
  return applied;
}

}  // namespace tavrel::plus
