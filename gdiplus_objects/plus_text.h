// Text objects: string formats, fonts, font families and font collections.
#pragma once

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusStringFormat : public PlusObjectOf<Gdiplus::GpStringFormat> {
 public:
  PlusStringFormat() = default;
  ~PlusStringFormat() override;
  void StoreHandle(void* newHandle) override { formatHandle = static_cast<Gdiplus::GpStringFormat*>(newHandle); }

 private:
  Gdiplus::GpStringFormat* formatHandle = nullptr;
};

class PlusFont : public PlusObjectOf<Gdiplus::GpFont> {
 public:
  PlusFont() = default;
  ~PlusFont() override;
  void StoreHandle(void* newHandle) override { fontHandle = static_cast<Gdiplus::GpFont*>(newHandle); }

 private:
  Gdiplus::GpFont* fontHandle = nullptr;
};

// Destroying a family leaves its GDI+ object alive: only Dispose releases it.
class PlusFontFamily : public PlusObjectOf<Gdiplus::GpFontFamily> {
 public:
  PlusFontFamily() = default;
  void StoreHandle(void* newHandle) override { familyHandle = static_cast<Gdiplus::GpFontFamily*>(newHandle); }

 private:
  Gdiplus::GpFontFamily* familyHandle = nullptr;
};

// Without a handle a collection stands for the installed fonts; the layer never releases one.
class PlusFontCollection : public PlusObjectOf<Gdiplus::GpFontCollection> {
 public:
  PlusFontCollection() = default;
  void StoreHandle(void* newHandle) override;
  virtual void HandleChanged(void* newHandle);

 private:
  Gdiplus::GpFontCollection* collectionHandle = nullptr;
};

}  // namespace tavrel::plus
