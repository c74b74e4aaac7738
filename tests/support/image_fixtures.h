// Small pictures and checks shared by the image, stream and encoder tests.
#pragma once

#include <windows.h>

// gdiplus.h needs windows.h first.
#include <gdiplus.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_types.h"

namespace tavrel::test {

// A 3 x 2 RGBA PNG of 83 bytes, written by hand (IHDR, one zlib IDAT, IEND) so that decoding
// is checked against bytes no GDI+ encoder made. Its pixels, row by row from the top.
inline const ByteBuffer kPng3x2 = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
                                   0x44, 0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00,
                                   0x00, 0x9D, 0x74, 0x66, 0x1A, 0x00, 0x00, 0x00, 0x1A, 0x49, 0x44, 0x41, 0x54, 0x78,
                                   0xDA, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x0C, 0x19, 0xFE, 0x03, 0x49, 0x20, 0x60,
                                   0x00, 0xB1, 0xFE, 0x33, 0x34, 0x00, 0x00, 0xA7, 0xF2, 0x0D, 0x74, 0x2C, 0x55, 0x9B,
                                   0xDF, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
inline constexpr std::array<std::array<Argb, 3>, 2> kPng3x2Pixels = {{
    {0xFFFF0000, 0xFF00FF00, 0xFF0000FF},  // red, green, blue
    {0xFFFFFFFF, 0xFF000000, 0x80FFFF00},  // white, black, yellow at alpha 128
}};

// A 2 x 1 RGB PNG of 112 bytes with a gAMA chunk (gamma 1/2.2, 45455) and a tEXt chunk
// "Title" = "Tavrel": GDI+ shows them as the properties PropertyTagGamma and PropertyTagImageTitle.
inline const ByteBuffer kPngWithProperties = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x7B, 0x40, 0xE8, 0xDD, 0x00, 0x00, 0x00, 0x04, 0x67,
    0x41, 0x4D, 0x41, 0x00, 0x00, 0xB1, 0x8F, 0x0B, 0xFC, 0x61, 0x05, 0x00, 0x00, 0x00, 0x0C, 0x74, 0x45, 0x58, 0x74,
    0x54, 0x69, 0x74, 0x6C, 0x65, 0x00, 0x54, 0x61, 0x76, 0x72, 0x65, 0x6C, 0xCF, 0x77, 0x67, 0x34, 0x00, 0x00, 0x00,
    0x0F, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x10, 0x54, 0x32, 0x76, 0x09, 0x4D, 0x03, 0x00, 0x03, 0xBF, 0x01,
    0x66, 0xC4, 0xF7, 0x5E, 0x24, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// GDI+'s format GUIDs as the layer writes them.
inline const std::string kPngFormatText = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kBmpFormatText = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kMemoryBmpFormatText = "{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}";
inline const std::string kZeroGuidText = "{00000000-0000-0000-0000-000000000000}";

// Whether bytes begin with the eight-byte PNG signature.
inline bool HasPngSignature(const ByteBuffer& bytes) {
  static constexpr std::array<std::uint8_t, 8> signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

// Whether a global block is no longer alive: freed, or its handle already handed out again to the
// block made after it (a live block's handle is never handed out twice).
inline bool BlockGone(HGLOBAL old, HGLOBAL current) {
  return old == current || GlobalFlags(old) == GMEM_INVALID_HANDLE;
}

// A pixel read straight through the flat interface, independent of the wrapper under test.
inline Argb FlatPixel(Gdiplus::GpImage* image, int x, int y) {
  Gdiplus::ARGB color = 0;
  Gdiplus::DllExports::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image), x, y, &color);
  return color;
}

// The CLSID of GDI+'s encoder for a format, found through the flat interface alone.
inline CLSID FlatEncoderClsid(const GUID& format) {
  UINT count = 0;
  UINT size = 0;
  Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size);
  std::vector<std::uint8_t> block(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
  Gdiplus::DllExports::GdipGetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i) {
    if (IsEqualGUID(codecs[i].FormatID, format)) return codecs[i].Clsid;
  }
  return CLSID{};
}

// A path for a scratch file in the Windows temporary folder of the test prefix.
inline std::string TempFilePath(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

}  // namespace tavrel::test
