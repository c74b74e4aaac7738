#include "gdiplus_objects/hglobal_stream.h"

#include <algorithm>
#include <cstring>

namespace tavrel::plus {

namespace {

// A global block locked for the length of one copy.
class BlockLock {
 public:
  explicit BlockLock(HGLOBAL memory) : memory(memory), address(memory ? GlobalLock(memory) : nullptr) {}
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;
  ~BlockLock() {
    if (address) GlobalUnlock(memory);
  }
  void* Address() const { return address; }

 private:
  HGLOBAL memory;
  void* address;
};

}  // namespace

IStream* HGlobalStream::CreateFromBytes(const ByteBuffer& data, std::optional<INT> size) {
  Release();
  const size_t bytes = size ? static_cast<size_t>(std::max(*size, 0)) : data.size();
  memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  // The stream must not free the block: Release does, after the stream is gone.
  CreateStreamOnHGlobal(memory, FALSE, &stream);
  // A size beyond the data copies only the data; the rest of the block stays zero.
  const size_t copied = std::min(bytes, data.size());
  if (copied == 0) return stream;
  const BlockLock lock(memory);
  lockedAddress = lock.Address();
  if (lockedAddress) std::memcpy(lockedAddress, data.data(), copied);
  return stream;
}

void HGlobalStream::Release() {
  if (!stream) return;
  stream->Release();
  GlobalFree(memory);
  memory = nullptr;
  stream = nullptr;
}

bool HGlobalStream::AttachStream(IStream* newStream) {
  Release();
  if (newStream) GetHGlobalFromStream(newStream, &memory);
  stream = newStream;
  return memory != nullptr;
}

ByteBuffer HGlobalStream::GetBytes() {
  const BlockLock lock(memory);
  lockedAddress = lock.Address();
  if (!lockedAddress) return {};
  const auto* first = static_cast<const std::uint8_t*>(lockedAddress);
  return ByteBuffer(first, first + GlobalSize(memory));
}

}  // namespace tavrel::plus
