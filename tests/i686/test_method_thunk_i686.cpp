// The 32-bit stubs and CallProcedure executed for real (a static Linux program under qemu-i386):
// their exact bytes, the stack and the registers around a call, the FPU state inside the entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <ostream>
#include <vector>

#include "skin/method_thunk.h"

namespace {

struct Registers {
  std::uint32_t ebx = 0;
  std::uint32_t ecx = 0;
  std::uint32_t esi = 0;
  std::uint32_t edi = 0;
  std::uint32_t fpuControl = 0;  // the low 16 bits
  friend bool operator==(const Registers&, const Registers&) = default;
  friend void PrintTo(const Registers& r, std::ostream* out) {
    *out << std::hex << "ebx " << r.ebx << " ecx " << r.ecx << " esi " << r.esi << " edi " << r.edi << " fpu "
         << r.fpuControl;
  }
};

// One call made by ObservedCall, and what it saw.
struct Observation {
  const void* target = nullptr;
  std::uint32_t argumentCount = 0;
  const std::uint32_t* arguments = nullptr;
  Registers load;  // put into the registers just before the call
  Registers seen;  // found in them just after it
  std::uint32_t espAtCall = 0;
  std::uint32_t espAfterCall = 0;
  std::uint32_t eax = 0;
  std::uint32_t edx = 0;
  std::uint32_t ownFpuControl = 0;

  std::uint32_t BytesRemoved() const { return espAfterCall - espAtCall; }
  std::uint64_t Result() const { return std::uint64_t{edx} << 32 | eax; }
};

// The offsets ObservedCall uses.
static_assert(offsetof(Observation, target) == 0 && offsetof(Observation, argumentCount) == 4 &&
              offsetof(Observation, arguments) == 8 && offsetof(Observation, load) == 12 &&
              offsetof(Observation, seen) == 32 && offsetof(Observation, espAtCall) == 52 &&
              offsetof(Observation, espAfterCall) == 56 && offsetof(Observation, eax) == 60 &&
              offsetof(Observation, edx) == 64 && offsetof(Observation, ownFpuControl) == 68);

}  // namespace

extern "C" {
void ObservedCall(Observation* observation);
std::uint64_t ClobberingEntry(void** slot, ...);
std::uint16_t clobberingEntryControlWord = 0;
}

// The tests' only assembly, because a compiled caller or entry keeps its registers by itself.
// ObservedCall pushes the arguments (last first), loads EBX, ECX, ESI, EDI and the FPU control
// word, calls the target, records ESP before and after the call, the registers and EDX:EAX as
// the callee left them, and puts back the program's own. ClobberingEntry records the control
// word it finds, then breaks EBX, ECX, ESI, EDI and the control word and returns 64 bits.
asm(R"(
        .pushsection .text
        .globl ObservedCall
ObservedCall:
        pushl %ebp
        pushl %ebx
        pushl %esi
        pushl %edi
        movl 20(%esp), %eax
        pushl %eax
        movl %esp, %ebp
        fnstcw 68(%eax)
        movl 4(%eax), %ecx
        movl 8(%eax), %edx
1:      jecxz 2f
        pushl -4(%edx,%ecx,4)
        decl %ecx
        jmp 1b
2:      movl 12(%eax), %ebx
        movl 16(%eax), %ecx
        movl 20(%eax), %esi
        movl 24(%eax), %edi
        fldcw 28(%eax)
        movl %esp, 52(%eax)
        call *(%eax)
        xchgl %eax, (%ebp)
        movl %esp, 56(%eax)
        movl %ebx, 32(%eax)
        movl %ecx, 36(%eax)
        movl %esi, 40(%eax)
        movl %edi, 44(%eax)
        fnstcw 48(%eax)
        movl %edx, 64(%eax)
        movl (%ebp), %edx
        movl %edx, 60(%eax)
        fldcw 68(%eax)
        movl %ebp, %esp
        popl %eax
        popl %edi
        popl %esi
        popl %ebx
        popl %ebp
        ret

        .globl ClobberingEntry
ClobberingEntry:
        fnstcw clobberingEntryControlWord
        movl $0xDEAD0001, %ebx
        movl $0xDEAD0002, %ecx
        movl $0xDEAD0003, %esi
        movl $0xDEAD0004, %edi
        pushl $0x007F
        fldcw (%esp)
        addl $4, %esp
        movl $0x89ABCDEF, %eax
        movl $0x01234567, %edx
        ret
        .popsection
)");

namespace tavrel::skin {
namespace {

// Values the program never holds itself; the control word asks for 24-bit precision and truncation.
constexpr Registers CallerRegisters{0x0B0B0B0B, 0x0C0C0C0C, 0x05150515, 0x0D1D0D1D, 0x0C7F};
constexpr std::uint32_t DefaultFpuControl = 0x037F;

Observation Observe(const void* target, const std::vector<std::uint32_t>& arguments) {
  Observation observation;
  observation.target = target;
  observation.argumentCount = static_cast<std::uint32_t>(arguments.size());
  observation.arguments = arguments.data();
  observation.load = CallerRegisters;
  ObservedCall(&observation);
  return observation;
}

std::uint32_t Address(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

// What the last call of a recording entry received.
struct EntryCall {
  void** slot = nullptr;
  void* object = nullptr;  // what the slot held during the call
  std::vector<std::uint32_t> arguments;
};
EntryCall lastCall;

std::uint32_t RecordFour(void** slot, std::uint32_t a1, std::uint32_t a2, std::uint32_t a3, std::uint32_t a4) {
  lastCall = {slot, *slot, {a1, a2, a3, a4}};
  return 0x600DF00D;
}
[[gnu::stdcall]] std::uint32_t RecordFourStdcall(void** slot, std::uint32_t a1, std::uint32_t a2, std::uint32_t a3,
                                                 std::uint32_t a4) {
  return RecordFour(slot, a1, a2, a3, a4);
}
std::uint32_t RecordThree(void** slot, std::uint32_t a1, std::uint32_t a2, std::uint32_t a3) {
  lastCall = {slot, *slot, {a1, a2, a3}};
  return a1 + a2 + a3;
}
// Reads as many arguments as the object it is bound to says.
std::uint32_t RecordMany(void** slot, ...) {
  const auto count = *static_cast<const std::uint32_t*>(*slot);
  lastCall = {slot, *slot, {}};
  std::va_list list;
  va_start(list, slot);
  for (std::uint32_t i = 0; i < count; ++i) lastCall.arguments.push_back(va_arg(list, std::uint32_t));
  va_end(list);
  return count;
}

TEST(MethodThunkLayout, ExactBytes) {
  const auto object = reinterpret_cast<void*>(0x11223344);
  const auto entry = reinterpret_cast<const void*>(0x55667788);
  const struct {
    std::int32_t argumentCount;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {0, {0x55, 0x8B, 0xEC, 0x68, 0x44, 0x33, 0x22, 0x11, 0x53, 0x51, 0x56, 0x57, 0x6A, 0x00, 0xD9, 0x3C, 0x24,
           0xDB, 0xE3, 0x8D, 0x45, 0xFC, 0x50, 0xB8, 0x88, 0x77, 0x66, 0x55, 0xFF, 0xD0, 0x8B, 0x5D, 0xF8, 0x8B,
           0x4D, 0xF4, 0x8B, 0x75, 0xF0, 0x8B, 0x7D, 0xEC, 0xD9, 0x6D, 0xE8, 0x8B, 0xE5, 0x5D, 0xC2, 0x00, 0x00}},
      {3, {0x55, 0x8B, 0xEC, 0x68, 0x44, 0x33, 0x22, 0x11, 0x53, 0x51, 0x56, 0x57, 0x6A, 0x00, 0xD9, 0x3C,
           0x24, 0xDB, 0xE3, 0xB9, 0x0C, 0x00, 0x00, 0x00, 0x2B, 0xE1, 0x8D, 0x75, 0x08, 0x8D, 0x3C, 0x24,
           0xFC, 0xF3, 0xA4, 0x8B, 0x4D, 0xF4, 0x8B, 0x75, 0xF0, 0x8B, 0x7D, 0xEC, 0x8D, 0x45, 0xFC, 0x50,
           0xB8, 0x88, 0x77, 0x66, 0x55, 0xFF, 0xD0, 0x8B, 0x5D, 0xF8, 0x8B, 0x4D, 0xF4, 0x8B, 0x75, 0xF0,
           0x8B, 0x7D, 0xEC, 0xD9, 0x6D, 0xE8, 0x8B, 0xE5, 0x5D, 0xC2, 0x0C, 0x00}},
      {4, {0x55, 0x8B, 0xEC, 0x68, 0x44, 0x33, 0x22, 0x11, 0x53, 0x51, 0x56, 0x57, 0x6A, 0x00, 0xD9, 0x3C,
           0x24, 0xDB, 0xE3, 0xB9, 0x10, 0x00, 0x00, 0x00, 0x2B, 0xE1, 0x8D, 0x75, 0x08, 0x8D, 0x3C, 0x24,
           0xFC, 0xF3, 0xA4, 0x8B, 0x4D, 0xF4, 0x8B, 0x75, 0xF0, 0x8B, 0x7D, 0xEC, 0x8D, 0x45, 0xFC, 0x50,
           0xB8, 0x88, 0x77, 0x66, 0x55, 0xFF, 0xD0, 0x8B, 0x5D, 0xF8, 0x8B, 0x4D, 0xF4, 0x8B, 0x75, 0xF0,
           0x8B, 0x7D, 0xEC, 0xD9, 0x6D, 0xE8, 0x8B, 0xE5, 0x5D, 0xC2, 0x10, 0x00}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argumentCount);
    const MethodThunk stub = MakeMethodThunk(object, entry, c.argumentCount);
    ASSERT_FALSE(stub.empty());
    EXPECT_EQ(std::vector<std::uint8_t>(stub.bytes().begin(), stub.bytes().end()), c.bytes);
    EXPECT_EQ(ThunkEntry(stub), stub.bytes().data());
  }
}

TEST(MethodThunkLayout, ArgumentCountLimits) {
  int object = 0;
  const struct {
    std::int32_t argumentCount;
    bool made;
  } cases[] = {{-1, false}, {std::numeric_limits<std::int32_t>::min(), false}, {300, false}, {257, false}, {256, true},
               {0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argumentCount);
    const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&RecordMany), c.argumentCount);
    EXPECT_EQ(stub.empty(), !c.made);
    EXPECT_EQ(ThunkEntry(stub) == nullptr, !c.made);
  }
  const MethodThunk widest = MakeMethodThunk(nullptr, CodeAddress(&RecordMany), 256);
  const std::vector<std::uint8_t> n{0xB9, 0x00, 0x04, 0x00, 0x00};
  EXPECT_TRUE(std::equal(n.begin(), n.end(), widest.bytes().begin() + 19));
  const std::vector<std::uint8_t> ret{0xC2, 0x00, 0x04};
  EXPECT_TRUE(std::equal(ret.begin(), ret.end(), widest.bytes().end() - 3));
}

TEST(MethodThunkLayout, NullEntryGivesEmptyStub) {
  int object = 0;
  const MethodThunk stub = MakeMethodThunk(&object, nullptr, 4);
  EXPECT_TRUE(stub.empty());
  EXPECT_TRUE(stub.bytes().empty());
  EXPECT_EQ(ThunkEntry(stub), nullptr);
}

TEST(MethodThunkCall, WindowProcedureStubRemovesItsArgumentsAndPassesTheSlot) {
  const struct {
    const char* name;
    const void* entry;
  } entries[] = {{"cdecl entry", CodeAddress(&RecordFour)}, {"stdcall entry", CodeAddress(&RecordFourStdcall)}};
  for (const auto& e : entries) {
    SCOPED_TRACE(e.name);
    int object = 0;
    const MethodThunk stub = MakeMethodThunk(&object, e.entry, 4);
    lastCall = {};
    const Observation call = Observe(ThunkEntry(stub), {0x000A0B0C, 0x0111, 0x22220002, 0xFFFFFFFD});
    EXPECT_EQ(call.BytesRemoved(), 16u);
    EXPECT_EQ(call.eax, 0x600DF00Du);
    // The slot lies below the return address and the saved EBP: EBP-4 in the stub's frame.
    EXPECT_EQ(Address(lastCall.slot), call.espAtCall - 12);
    EXPECT_EQ(lastCall.object, &object);
    EXPECT_EQ(lastCall.arguments, (std::vector<std::uint32_t>{0x000A0B0C, 0x0111, 0x22220002, 0xFFFFFFFD}));
  }
}

TEST(MethodThunkCall, CallerRegistersAndFpuSurviveAClobberingEntry) {
  for (const std::int32_t argumentCount : {0, 3, 4}) {
    SCOPED_TRACE(argumentCount);
    int object = 0;
    const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&ClobberingEntry), argumentCount);
    clobberingEntryControlWord = 0;
    const Observation call = Observe(ThunkEntry(stub), std::vector<std::uint32_t>(argumentCount, 7));
    EXPECT_EQ(call.seen, CallerRegisters);
    EXPECT_EQ(clobberingEntryControlWord, DefaultFpuControl);
    EXPECT_EQ(call.Result(), 0x0123456789ABCDEFu);
    EXPECT_EQ(call.BytesRemoved(), 4u * argumentCount);
  }
}

TEST(MethodThunkCall, WidestStubCopiesAllArguments) {
  std::uint32_t object = ThunkMaxArgumentCount;
  const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&RecordMany), ThunkMaxArgumentCount);
  std::vector<std::uint32_t> arguments(ThunkMaxArgumentCount);
  std::iota(arguments.begin(), arguments.end(), 0x1000);
  const Observation call = Observe(ThunkEntry(stub), arguments);
  EXPECT_EQ(call.BytesRemoved(), 1024u);
  EXPECT_EQ(call.eax, 256u);
  EXPECT_EQ(lastCall.arguments, arguments);
}

TEST(MethodThunkCall, MovedStubKeepsWorking) {
  int first = 0;
  int second = 0;
  MethodThunk stub = MakeMethodThunk(&first, CodeAddress(&RecordThree), 3);
  const void* code = ThunkEntry(stub);
  MethodThunk moved = std::move(stub);
  EXPECT_TRUE(stub.empty());
  EXPECT_EQ(ThunkEntry(moved), code);
  EXPECT_EQ(Observe(ThunkEntry(moved), {1, 2, 3}).eax, 6u);
  EXPECT_EQ(lastCall.object, &first);
  moved = MakeMethodThunk(&second, CodeAddress(&RecordThree), 3);
  EXPECT_EQ(Observe(ThunkEntry(moved), {4, 5, 6}).eax, 15u);
  EXPECT_EQ(lastCall.object, &second);
}

std::int32_t NoArguments() { return 42; }
std::int32_t CallerCleans(std::int32_t a, std::int32_t b, std::int32_t c) { return a * 100 + b * 10 + c; }
[[gnu::stdcall]] std::int32_t CalleeCleans(std::int32_t a, std::int32_t b, std::int32_t c) {
  return a * 100 + b * 10 + c;
}
[[gnu::stdcall]] std::int32_t CalleeCleansTen(std::int32_t a1, std::int32_t a2, std::int32_t a3, std::int32_t a4,
                                              std::int32_t a5, std::int32_t a6, std::int32_t a7, std::int32_t a8,
                                              std::int32_t a9, std::int32_t a10) {
  return a1 - a2 + a3 - a4 + a5 - a6 + a7 - a8 + a9 - a10 * 1000;
}

TEST(CallProcedure, ReturnsWithTheStackAsBefore) {
  int object = 0;
  const MethodThunk buttonStub = MakeMethodThunk(&object, CodeAddress(&RecordThree), 3);
  const struct {
    const char* name;
    const void* target;
    std::uint32_t result;
  } cases[] = {
      {"no arguments", CodeAddress(&NoArguments), 42},
      {"caller cleans three", CodeAddress(&CallerCleans), 123},
      {"callee cleans three", CodeAddress(&CalleeCleans), 123},
      {"callee cleans ten", CodeAddress(&CalleeCleansTen),
       static_cast<std::uint32_t>(1 - 2 + 3 - 4 + 5 - 6 + 7 - 8 + 9 - 10000)},
      {"three-argument stub", ThunkEntry(buttonStub), 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Observation call = Observe(CodeAddress(&CallProcedure), {Address(c.target), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(call.espAfterCall, call.espAtCall);
    EXPECT_EQ(call.eax, c.result);
  }
  EXPECT_EQ(lastCall.object, &object);
  EXPECT_EQ(lastCall.arguments, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(CallProcedure, MissingArgumentsAreZero) {
  EXPECT_EQ(CallProcedure(CodeAddress(&CalleeCleans), 1, 2), 120);
  EXPECT_EQ(CallProcedure(CodeAddress(&CalleeCleansTen), 5), 5);
  EXPECT_EQ(CallProcedure(CodeAddress(&NoArguments)), 42);
}

}  // namespace
}  // namespace tavrel::skin
