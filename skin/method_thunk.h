// Method callback stubs: an operation of one object handed out as a plain callback (a window
// procedure, a mouse or paint handler), and the call of a plain code address with up to ten
// pointer-sized arguments, whatever the callee's argument count and whoever removes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace tavrel::skin {

// The most arguments a stub's callers may pass: 1024 bytes of them on i686.
inline constexpr std::int32_t ThunkMaxArgumentCount = 256;

// Generated machine code in executable memory that the stub owns and frees; move-only. It must not
// be called once its owner has destroyed it, so whoever handed out its entry unhooks it first.
class MethodThunk {
 public:
  MethodThunk() = default;
  // Places a copy of the code in executable memory; empty when no such memory could be had.
  explicit MethodThunk(std::span<const std::uint8_t> code);
  MethodThunk(const MethodThunk&) = delete;
  MethodThunk& operator=(const MethodThunk&) = delete;
  MethodThunk(MethodThunk&& other) noexcept;
  MethodThunk& operator=(MethodThunk&& other) noexcept;
  ~MethodThunk();

  bool empty() const { return code == nullptr; }
  std::span<const std::uint8_t> bytes() const { return {code, size}; }

 private:
  void Release();

  std::uint8_t* code = nullptr;
  std::size_t size = 0;
};

// The code address of a plain function, as MakeMethodThunk and CallProcedure take it.
template <typename Function>
requires std::is_function_v<Function>
const void* CodeAddress(Function* function) { return reinterpret_cast<const void*>(function); }

// A stub bound to `object` and to `entry`, the code address of a plain function called as
// entry(address of a slot holding `object`, a1, ..., an) for a call of the stub with n =
// `argumentCount` pointer-sized arguments; the entry's result comes back unchanged. The stub
// removes its arguments on i686 (as stdcall) and leaves them to the caller on x86-64 (as Win64).
// A null entry, or a count outside 0 to ThunkMaxArgumentCount, gives an empty stub.
MethodThunk MakeMethodThunk(void* object, const void* entry, std::int32_t argumentCount);

// The code address of the stub's first byte; null for an empty stub.
const void* ThunkEntry(const MethodThunk& stub);

// Calls `target` with a1 to a10 and returns its EAX (i686) or RAX (x86-64). The target may take
// fewer arguments and may remove them itself. It is not checked: callers skip removed entries.
std::intptr_t CallProcedure(const void* target, std::intptr_t a1 = 0, std::intptr_t a2 = 0, std::intptr_t a3 = 0,
                            std::intptr_t a4 = 0, std::intptr_t a5 = 0, std::intptr_t a6 = 0, std::intptr_t a7 = 0,
                            std::intptr_t a8 = 0, std::intptr_t a9 = 0, std::intptr_t a10 = 0);

}  // namespace tavrel::skin
