// Brushes (the shared brush level, solid and linear gradient) and the pen.
#pragma once

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusBrush : public PlusObjectOf<Gdiplus::GpBrush> {
 public:
  ~PlusBrush() override;
  void StoreHandle(void* newHandle) override;
  // Keeps the brush class's own copy of the handle.
  virtual void HandleChanged(void* newHandle) = 0;

 protected:
  PlusBrush() = default;
  Gdiplus::GpBrush* brushHandle = nullptr;
};

class PlusSolidBrush : public PlusBrush {
 public:
  PlusSolidBrush() = default;
  ~PlusSolidBrush() override;
  void HandleChanged(void* newHandle) override;

 private:
  Gdiplus::GpSolidFill* fillHandle = nullptr;
};

class PlusLinearGradientBrush : public PlusBrush {
 public:
  PlusLinearGradientBrush() = default;
  ~PlusLinearGradientBrush() override;
  void HandleChanged(void* newHandle) override;

 private:
  Gdiplus::GpLineGradient* gradientHandle = nullptr;
};

class PlusPen : public PlusObjectOf<Gdiplus::GpPen> {
 public:
  PlusPen() = default;
  ~PlusPen() override;
  void StoreHandle(void* newHandle) override { penHandle = static_cast<Gdiplus::GpPen*>(newHandle); }

 private:
  Gdiplus::GpPen* penHandle = nullptr;
};

}  // namespace tavrel::plus
