// PlusGraphics: a GDI+ drawing surface on a window, a device context or an image.
#pragma once

#include "gdiplus_objects/plus_brush_pen.h"
#include "gdiplus_objects/plus_image.h"
#include "gdiplus_objects/plus_image_attributes.h"
#include "gdiplus_objects/plus_path_region.h"
#include "gdiplus_objects/plus_text.h"

namespace tavrel::plus {

class PlusGraphics : public PlusObjectOf<Gdiplus::GpGraphics> {
 public:
  PlusGraphics() = default;
  ~PlusGraphics() override;
  void StoreHandle(void* newHandle) override { graphicsHandle = static_cast<Gdiplus::GpGraphics*>(newHandle); }

 private:
  Gdiplus::GpGraphics* graphicsHandle = nullptr;
};

}  // namespace tavrel::plus
