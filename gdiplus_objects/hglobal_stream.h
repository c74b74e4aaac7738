// HGlobalStream: bytes in a movable global memory block with a COM stream over it. The object
// owns the block: its stream never frees it, only Release does. GDI+ decodes images from such a
// stream and encodes images into one.
#pragma once

#include <objidl.h>
#include <windows.h>

#include <optional>

#include "gdiplus_objects/plus_types.h"

namespace tavrel::plus {

class HGlobalStream {
 public:
  HGlobalStream() = default;
  HGlobalStream(const HGlobalStream&) = delete;
  HGlobalStream& operator=(const HGlobalStream&) = delete;
  ~HGlobalStream() { Release(); }

  // Drops what is held, copies size bytes of data (all of it by default) into a new zero-filled
  // movable block and opens a stream at position 0 over it. Returns the stream.
  IStream* CreateFromBytes(const ByteBuffer& data, std::optional<INT> size = std::nullopt);
  // Releases the stream, then frees the block; nothing happens when no stream is held.
  void Release();
  // The block's size in bytes, 0 without a block.
  SIZE_T GetSize() const { return memory ? GlobalSize(memory) : 0; }
  IStream* GetStream() const { return stream; }
  HGLOBAL GetMemory() const { return memory; }
  // Takes over the caller's reference to a stream over global memory that does not free its
  // block on release; true when a block was found under it.
  bool AttachStream(IStream* newStream);
  // A copy of the whole block, whatever the stream's seek position.
  ByteBuffer GetBytes();

 private:
  HGLOBAL memory = nullptr;
  // The address of the most recent lock of memory; stale once the operation that locked it ends.
  void* lockedAddress = nullptr;
  IStream* stream = nullptr;
};

}  // namespace tavrel::plus
