// Surfaces that tests draw into and read back pixel by pixel, built from raw GDI and GDI+ calls only
// so that they do not depend on the wrapper classes under test.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <gdiplus.h>

#include <cstdint>
#include <vector>

#include "gdiplus_objects/plus_types.h"

namespace tavrel::test {

// A GDI+ bitmap in 32bppARGB made with GdipCreateBitmapFromScan0, read and written by locking its
// bits. It owns its GDI+ bitmap until Release hands the handle over to a wrapper object.
class ArgbBitmap {
 public:
  ArgbBitmap(int width, int height, Argb fill = 0);
  // The pixels row after row from the top.
  ArgbBitmap(int width, int height, const std::vector<Argb>& pixels);
  ArgbBitmap(const ArgbBitmap&) = delete;
  ArgbBitmap& operator=(const ArgbBitmap&) = delete;
  ~ArgbBitmap();

  Gdiplus::GpBitmap* Handle() const { return bitmap; }
  // Gives up ownership: the caller (typically a PlusImage through SetHandle) disposes it.
  Gdiplus::GpBitmap* Release();
  // A new GDI+ graphics drawing into the bitmap; the caller deletes it.
  Gdiplus::GpGraphics* NewGraphics() const;

  int Width() const { return width; }
  int Height() const { return height; }
  Argb Pixel(int x, int y) const;
  // All pixels, row after row from the top.
  std::vector<Argb> Pixels() const;
  void SetPixels(const std::vector<Argb>& pixels);
  void Fill(Argb color);

 private:
  int width;
  int height;
  Gdiplus::GpBitmap* bitmap = nullptr;
};

// A 32-bit top-down DIB section selected into its own memory device context.
class DibSurface {
 public:
  DibSurface(int width, int height, Argb fill = 0);
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  ~DibSurface();

  HDC Dc() const { return dc; }
  int Width() const { return width; }
  int Height() const { return height; }
  // The pixel as stored, 0xAARRGGBB; GDI leaves the top byte as it found it.
  Argb Pixel(int x, int y) const;
  void Fill(Argb color);

 private:
  int width;
  int height;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  std::uint32_t* bits = nullptr;
};

// The largest difference between two colours in any of the four channels.
int ChannelDistance(Argb a, Argb b);

}  // namespace tavrel::test
