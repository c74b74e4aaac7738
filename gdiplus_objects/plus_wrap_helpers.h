// Helpers that keep the wrappers of the text, brush and pen objects one line each: the value a
// GDI+ getter writes, the lists of a getter that asks for their length first, and Dispose.
// Included by .cpp files only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

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

}  // namespace tavrel::plus
