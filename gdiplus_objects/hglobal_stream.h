// HGlobalStream: bytes in a movable global memory block with a COM stream over it.
#pragma once

#include <objidl.h>
#include <windows.h>

#include "gdiplus_objects/plus_types.h"

namespace tavrel::plus {

class HGlobalStream {
 public:
  HGlobalStream() = default;
  HGlobalStream(const HGlobalStream&) = delete;
  HGlobalStream& operator=(const HGlobalStream&) = delete;
  ~HGlobalStream();

 private:
  HGLOBAL memory = nullptr;
  void* lockedAddress = nullptr;
  IStream* stream = nullptr;
};

}  // namespace tavrel::plus
