// Objects of the layer that hold GDI+ objects of kinds the layer has no class for (a matrix, a
// metafile, a cached bitmap, a custom line cap): the operations that take such an object read only
// its handle. Made from raw GDI+ calls; each deletes its GDI+ object when destroyed.
#pragma once

#include "gdiplus_objects/plus_object.h"

namespace tavrel::test {

class ForeignObject : public plus::PlusObject {
 public:
  using Deleter = void (*)(void* handle);
  // Without a handle: stands for an object not given.
  ForeignObject() = default;
  ForeignObject(void* handle, Deleter deleter) : deleter(deleter) { SetHandle(handle); }
  ~ForeignObject() override {
    if (GetHandle() && deleter) deleter(GetHandle());
  }
  void StoreHandle(void*) override {}

 private:
  Deleter deleter = nullptr;
};

// An identity GDI+ matrix, or the one with the given elements.
inline ForeignObject NewMatrix(float m11 = 1, float m12 = 0, float m21 = 0, float m22 = 1, float dx = 0, float dy = 0) {
  Gdiplus::GpMatrix* matrix = nullptr;
  Gdiplus::DllExports::GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &matrix);
  return ForeignObject(
      matrix, [](void* handle) { Gdiplus::DllExports::GdipDeleteMatrix(static_cast<Gdiplus::GpMatrix*>(handle)); });
}

// The six elements of the matrix an object holds.
inline std::vector<float> MatrixElements(const plus::PlusObject& matrix) {
  std::vector<float> elements(6);
  Gdiplus::DllExports::GdipGetMatrixElements(plus::HandleAs<Gdiplus::GpMatrix>(matrix), elements.data());
  return elements;
}

// A GDI+ cached bitmap of the bitmap for the graphics.
inline ForeignObject NewCachedBitmap(Gdiplus::GpBitmap* bitmap, Gdiplus::GpGraphics* graphics) {
  Gdiplus::GpCachedBitmap* cached = nullptr;
  Gdiplus::DllExports::GdipCreateCachedBitmap(bitmap, graphics, &cached);
  return ForeignObject(cached, [](void* handle) {
    Gdiplus::DllExports::GdipDeleteCachedBitmap(static_cast<Gdiplus::GpCachedBitmap*>(handle));
  });
}

// An enhanced metafile recorded on the device context, drawn into by draw(graphics) and closed.
template <class Draw>
ForeignObject NewMetafile(HDC reference, const Gdiplus::RectF& frame, Draw draw) {
  using namespace Gdiplus::DllExports;
  Gdiplus::GpMetafile* metafile = nullptr;
  GdipRecordMetafile(reference, Gdiplus::EmfTypeEmfPlusDual, &frame, Gdiplus::MetafileFrameUnitPixel, nullptr,
                     &metafile);
  Gdiplus::GpGraphics* graphics = nullptr;
  if (metafile && GdipGetImageGraphicsContext(metafile, &graphics) == Gdiplus::Ok) {
    draw(graphics);
    GdipDeleteGraphics(graphics);
  }
  return ForeignObject(metafile, [](void* handle) { GdipDisposeImage(static_cast<Gdiplus::GpImage*>(handle)); });
}

}  // namespace tavrel::test
