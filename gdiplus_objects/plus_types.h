// Records shared by the skin and the GDI+ object layer. Each has exactly the layout of the
// GDI+ structure of the same name, so lists of them go to GDI+ as they lie in a vector.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

// Encoded pictures, generated code and other counted byte arrays.
using ByteBuffer = std::vector<std::uint8_t>;

// A 0x00BBGGRR colour, as GDI takes it.
using ColorRef = std::uint32_t;
// A 0xAARRGGBB colour, as GDI+ takes it.
using Argb = std::uint32_t;

struct PointI {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const PointI&, const PointI&) = default;
};

struct PointF {
  float x = 0;
  float y = 0;
  friend bool operator==(const PointF&, const PointF&) = default;
};

struct SizeF {
  float width = 0;
  float height = 0;
  friend bool operator==(const SizeF&, const SizeF&) = default;
};

// x (left), y (top), width, height.
struct RectI {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const RectI&, const RectI&) = default;
};

struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
  friend bool operator==(const RectF&, const RectF&) = default;
};

// A GDI+ palette: flags, count, then count entries.
struct ColorPalette {
  std::uint32_t flags = 0;
  std::uint32_t count = 0;
  std::vector<Argb> entries;
};

}  // namespace tavrel
