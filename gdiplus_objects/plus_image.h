// PlusImage and PlusBitmap: GDI+ images decoded from files or bytes, bitmaps made in many ways.
#pragma once

#include "gdiplus_objects/hglobal_stream.h"
#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusImage : public PlusObjectOf<Gdiplus::GpImage> {
 public:
  PlusImage() = default;
  ~PlusImage() override;

  void StoreHandle(void* newHandle) override;
  // Called by the handle hook with every new handle.
  virtual void HandleChanged(void* newHandle);

  UINT GetWidth();
  UINT GetHeight();

 protected:
  Gdiplus::GpImage* imageHandle = nullptr;
  HGlobalStream stream;
};

class PlusBitmap : public PlusImage {
 public:
  PlusBitmap() = default;
  ~PlusBitmap() override;

  void HandleChanged(void* newHandle) override;

 protected:
  Gdiplus::GpBitmap* bitmapHandle = nullptr;
  HGlobalStream bitmapStream;
};

}  // namespace tavrel::plus
