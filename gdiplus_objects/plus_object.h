// What every wrapper of the GDI+ object layer shares: starting GDI+, the layer's one last
// status, the handle base, GDI+ memory, and the helpers that turn each wrapper operation into
// one line: Record (status), Packed/Count (lists), WideText (texts), NewHandleFor (targets).
#pragma once

#include <windows.h>

// gdiplus.h needs windows.h first.
#include <gdiplus.h>

#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_types.h"

namespace tavrel::plus {

// The status of the most recent GDI+ call made by any object of the layer.
inline Gdiplus::Status lastStatus = Gdiplus::Ok;

// Stores a GDI+ status as the layer's last status; true when it is Ok.
inline bool Record(Gdiplus::Status status) {
  lastStatus = status;
  return status == Gdiplus::Ok;
}

// Starts GDI+ (version 1 unless asked) with its background thread and external codecs; the
// status is neither recorded nor tested. Returns the token.
ULONG_PTR StartGdiplus(std::optional<UINT32> version = std::nullopt);

// An ANSI text as a zero-terminated UTF-16 string; a missing text gives an empty buffer.
ByteBuffer AnsiToWide(const char* text);

// A UTF-16 text from GDI+ as ANSI text in the OEM code page, the way GDI+ names come back.
std::string WideToOem(const WCHAR* text);

// An ANSI text converted to UTF-16 for the length of one GDI+ call.
class WideText {
 public:
  explicit WideText(const char* text) : buffer(AnsiToWide(text)) {}
  explicit WideText(const std::string& text) : WideText(text.c_str()) {}
  operator const WCHAR*() const { return buffer.empty() ? nullptr : reinterpret_cast<const WCHAR*>(buffer.data()); }
  // The length GDI+ wants with the string: UTF-16 units before the terminator.
  INT Length() const { return buffer.empty() ? 0 : lstrlenW(*this); }

 private:
  ByteBuffer buffer;
};

// The base of every wrapper class: holds the GDI+ handle and keeps the class's own copy of it
// equal through the class's handle hook. Wrappers own their handle, so they cannot be copied.
class PlusObject {
 public:
  PlusObject(const PlusObject&) = delete;
  PlusObject& operator=(const PlusObject&) = delete;
  virtual ~PlusObject() = default;

  void* GetHandle() const { return handle; }
  // Stores the handle, then lets the class's hook store its own copy.
  void SetHandle(void* newHandle) {
    handle = newHandle;
    StoreHandle(newHandle);
  }
  // The class's handle hook.
  virtual void StoreHandle(void* newHandle) = 0;
  // GDI+ memory, for data that GDI+ hands out or takes back.
  void* Alloc(INT size) const { return Gdiplus::DllExports::GdipAlloc(size); }
  void Free(void* pointer) const { Gdiplus::DllExports::GdipFree(pointer); }

 protected:
  PlusObject() = default;

 private:
  void* handle = nullptr;
};

// A wrapper whose handle is of one GDI+ type: GetHandle answers in that type.
template <class Gp>
class PlusObjectOf : public PlusObject {
 public:
  Gp* GetHandle() const { return static_cast<Gp*>(PlusObject::GetHandle()); }
};

// The handle of an object of a kind the layer has no class for (a matrix, a metafile, a cached
// bitmap, a custom line cap, an effect), as that kind; an object not given passes null.
template <class Gp>
Gp* HandleAs(const PlusObject& object) {
  return static_cast<Gp*>(object.GetHandle());
}
template <class Gp>
Gp* HandleAs(const PlusObject* object) {
  return object ? HandleAs<Gp>(*object) : nullptr;
}

// A place for a GDI+ call to write a new handle; when the call is done the handle (null when
// GDI+ wrote none) goes to the target through its SetHandle. A handle it held is not disposed.
//   return Record(GdipClonePen(penHandle, NewHandleFor<GpPen>(target)));
template <class Gp>
class NewHandleFor {
 public:
  explicit NewHandleFor(PlusObject& target) : target(target) {}
  NewHandleFor(const NewHandleFor&) = delete;
  NewHandleFor& operator=(const NewHandleFor&) = delete;
  ~NewHandleFor() { target.SetHandle(newHandle); }
  operator Gp**() { return &newHandle; }

 private:
  PlusObject& target;
  Gp* newHandle = nullptr;
};

// The GDI+ record that has the layout of each of our records.
template <class T>
struct GpLayout;
template <>
struct GpLayout<PointF> {
  using type = Gdiplus::PointF;
};
template <>
struct GpLayout<PointI> {
  using type = Gdiplus::Point;
};
template <>
struct GpLayout<RectF> {
  using type = Gdiplus::RectF;
};
template <>
struct GpLayout<RectI> {
  using type = Gdiplus::Rect;
};
template <>
struct GpLayout<SizeF> {
  using type = Gdiplus::SizeF;
};
template <>
struct GpLayout<float> {
  using type = Gdiplus::REAL;
};
template <>
struct GpLayout<Argb> {
  using type = Gdiplus::ARGB;
};
template <>
struct GpLayout<std::int32_t> {
  using type = INT;
};
template <>
struct GpLayout<std::uint8_t> {
  using type = BYTE;
};
static_assert(sizeof(PointF) == sizeof(Gdiplus::PointF) && sizeof(PointI) == sizeof(Gdiplus::Point));
static_assert(sizeof(RectF) == sizeof(Gdiplus::RectF) && sizeof(RectI) == sizeof(Gdiplus::Rect));
static_assert(sizeof(SizeF) == sizeof(Gdiplus::SizeF));

// A caller's list as GDI+ takes it: one contiguous block in list order, null when empty.
// GDI+ writes results straight into the caller's records (TransformPoints).
template <class T>
typename GpLayout<T>::type* Packed(std::vector<T>& list) {
  return list.empty() ? nullptr : reinterpret_cast<typename GpLayout<T>::type*>(list.data());
}
template <class T>
const typename GpLayout<T>::type* Packed(const std::vector<T>& list) {
  return list.empty() ? nullptr : reinterpret_cast<const typename GpLayout<T>::type*>(list.data());
}
// A single record, passed by address.
template <class T>
const typename GpLayout<T>::type* Packed(const T& record) {
  return reinterpret_cast<const typename GpLayout<T>::type*>(&record);
}
template <class T>
typename GpLayout<T>::type* Packed(T& record) {
  return reinterpret_cast<typename GpLayout<T>::type*>(&record);
}
template <class T>
INT Count(const std::vector<T>& list) {
  return static_cast<INT>(list.size());
}

}  // namespace tavrel::plus
