// Helpers that keep the wrappers of every object of the layer one line each: the value a GDI+
// getter writes, the lists of a getter that asks for their length first, Dispose, GDI+ blocks
// held in a byte buffer, and the palette block. Included by .cpp files only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

// The value a GDI+ getter wrote, or zero when the getter failed; the status is recorded.
//   return Answer(GdipGetImageWidth(imageHandle, &width), width);
template <class T>
T Answer(Gdiplus::Status status, const T& value) {
  return Record(status) ? value : T{};
}

// Calls a GDI+ getter with its leading arguments and the address of a zero-initialised variable
// of the type of its last parameter; records the status and returns the variable.
//   return ValueFrom(GdipGetPenWidth, penHandle);
template <class... Params, class... Args>
auto ValueFrom(Gdiplus::Status(WINGDIPAPI* getter)(Params...), Args... args) {
  std::remove_pointer_t<std::tuple_element_t<sizeof...(Params) - 1, std::tuple<Params...>>> value{};
  Record(getter(args..., &value));
  return value;
}

// A list getter that asks GDI+ for the number of entries first: countOf(&count); when that is
// not Ok the result is 0 and the lists stay as they were. Otherwise every list is replaced by
// count zeros, fill(entries of each list..., count) fills them, and the result is count
// whatever fill answered. Both statuses are recorded.
//   return ListsFrom(std::bind_front(GdipGetPenDashCount, penHandle),
//                    std::bind_front(GdipGetPenDashArray, penHandle), pattern);
template <class CountOf, class Fill, class... T>
INT ListsFrom(CountOf countOf, Fill fill, std::vector<T>&... lists) {
  INT count = 0;
  if (!Record(countOf(&count))) return 0;
  ((lists = std::vector<T>(static_cast<std::size_t>(std::max(count, 0)))), ...);
  Record(fill(Packed(lists)..., count));
  return count;
}

// The end of a Dispose: records the status of the delete call and leaves the object without a
// handle. True when the status is Ok.
inline bool DisposedWith(PlusObject& object, Gdiplus::Status status) {
  object.SetHandle(nullptr);
  return Record(status);
}

// A block of GDI+ memory layout that a byte buffer holds (new[] aligns it for any field).
template <class Gp>
Gp* BlockAs(ByteBuffer& block) {
  return reinterpret_cast<Gp*>(block.data());
}
template <class Gp>
const Gp* BlockAs(const ByteBuffer& block) {
  return reinterpret_cast<const Gp*>(block.data());
}

// A palette in GDI+'s layout: flags, count, then the entries, in a block at least one
// Gdiplus::ColorPalette long. Entries beyond the list stay zero: the list should hold count.
inline ByteBuffer PaletteBlock(const ColorPalette& palette) {
  constexpr std::size_t kEntries = offsetof(Gdiplus::ColorPalette, Entries);
  ByteBuffer block(std::max(sizeof(Gdiplus::ColorPalette), kEntries + sizeof(Gdiplus::ARGB) * palette.count), 0);
  auto* gp = BlockAs<Gdiplus::ColorPalette>(block);
  gp->Flags = palette.flags;
  gp->Count = palette.count;
  std::memcpy(block.data() + kEntries, palette.entries.data(),
              sizeof(Gdiplus::ARGB) * std::min<std::size_t>(palette.count, palette.entries.size()));
  return block;
}

// A palette block (at least one Gdiplus::ColorPalette long) read back: flags and count as GDI+
// wrote them, and as many of the count entries as the block holds.
inline ColorPalette PaletteFromBlock(const ByteBuffer& block) {
  constexpr std::size_t kEntries = offsetof(Gdiplus::ColorPalette, Entries);
  const auto* gp = BlockAs<Gdiplus::ColorPalette>(block);
  const auto* entries = reinterpret_cast<const Gdiplus::ARGB*>(block.data() + kEntries);
  const std::size_t room = (block.size() - kEntries) / sizeof(Gdiplus::ARGB);
  return {gp->Flags, gp->Count, std::vector<Argb>(entries, entries + std::min<std::size_t>(gp->Count, room))};
}

}  // namespace tavrel::plus
