// PlusImageAttributes: colour adjustments applied by the image-drawing operations.
#pragma once

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusImageAttributes : public PlusObjectOf<Gdiplus::GpImageAttributes> {
 public:
  PlusImageAttributes() = default;
  ~PlusImageAttributes() override;
  void StoreHandle(void* newHandle) override { attributesHandle = static_cast<Gdiplus::GpImageAttributes*>(newHandle); }

 private:
  Gdiplus::GpImageAttributes* attributesHandle = nullptr;
};

}  // namespace tavrel::plus
