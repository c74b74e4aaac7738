// PlusPath (GDI+ GraphicsPath) and PlusRegion.
#pragma once

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusPath : public PlusObjectOf<Gdiplus::GpPath> {
 public:
  PlusPath() = default;
  ~PlusPath() override;
  void StoreHandle(void* newHandle) override { pathHandle = static_cast<Gdiplus::GpPath*>(newHandle); }

 private:
  Gdiplus::GpPath* pathHandle = nullptr;
};

class PlusRegion : public PlusObjectOf<Gdiplus::GpRegion> {
 public:
  PlusRegion() = default;
  ~PlusRegion() override;
  void StoreHandle(void* newHandle) override { regionHandle = static_cast<Gdiplus::GpRegion*>(newHandle); }

 private:
  Gdiplus::GpRegion* regionHandle = nullptr;
};

}  // namespace tavrel::plus
