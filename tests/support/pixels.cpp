#include "tests/support/pixels.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace tavrel::test {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// The bitmap's bits locked as 32bppARGB for the life of the object.
class LockedBits {
 public:
  LockedBits(GpBitmap* bitmap, int width, int height, UINT mode) : bitmap(bitmap) {
    const Gdiplus::Rect all(0, 0, width, height);
    locked = GdipBitmapLockBits(bitmap, &all, mode, PixelFormat32bppARGB, &data) == Ok;
  }
  LockedBits(const LockedBits&) = delete;
  LockedBits& operator=(const LockedBits&) = delete;
  ~LockedBits() {
    if (locked) GdipBitmapUnlockBits(bitmap, &data);
  }
  Argb* Row(int y) {
    return locked ? reinterpret_cast<Argb*>(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride)
                  : nullptr;
  }

 private:
  GpBitmap* bitmap;
  BitmapData data{};
  bool locked = false;
};

}  // namespace

ArgbBitmap::ArgbBitmap(int width, int height, Argb fill) : width(width), height(height) {
  GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  Fill(fill);
}

ArgbBitmap::ArgbBitmap(int width, int height, const std::vector<Argb>& pixels) : width(width), height(height) {
  GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  SetPixels(pixels);
}

ArgbBitmap::~ArgbBitmap() {
  if (bitmap) GdipDisposeImage(bitmap);
}

GpBitmap* ArgbBitmap::Release() { return std::exchange(bitmap, nullptr); }

GpGraphics* ArgbBitmap::NewGraphics() const {
  GpGraphics* graphics = nullptr;
  GdipGetImageGraphicsContext(bitmap, &graphics);
  return graphics;
}

Argb ArgbBitmap::Pixel(int x, int y) const {
  LockedBits bits(bitmap, width, height, ImageLockModeRead);
  Argb* row = bits.Row(y);
  return row ? row[x] : 0;
}

std::vector<Argb> ArgbBitmap::Pixels() const {
  std::vector<Argb> pixels;
  LockedBits bits(bitmap, width, height, ImageLockModeRead);
  for (int y = 0; y < height; ++y) {
    if (Argb* row = bits.Row(y)) pixels.insert(pixels.end(), row, row + width);
  }
  return pixels;
}

void ArgbBitmap::SetPixels(const std::vector<Argb>& pixels) {
  LockedBits bits(bitmap, width, height, ImageLockModeWrite);
  for (int y = 0; y < height; ++y) {
    if (Argb* row = bits.Row(y)) std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * width, width, row);
  }
}

void ArgbBitmap::Fill(Argb color) { SetPixels(std::vector<Argb>(static_cast<size_t>(width) * height, color)); }

DibSurface::DibSurface(int width, int height, Argb fill) : width(width), height(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  bits = static_cast<std::uint32_t*>(pixels);
  dc = CreateCompatibleDC(nullptr);
  previous = SelectObject(dc, bitmap);
  Fill(fill);
}

DibSurface::~DibSurface() {
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

Argb DibSurface::Pixel(int x, int y) const {
  GdiFlush();
  return bits[static_cast<size_t>(y) * width + x];
}

void DibSurface::Fill(Argb color) {
  GdiFlush();
  std::fill_n(bits, static_cast<size_t>(width) * height, color);
}

int ChannelDistance(Argb a, Argb b) {
  int distance = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    distance =
        std::max(distance, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return distance;
}

}  // namespace tavrel::test
