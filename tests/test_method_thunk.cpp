// The Win64 stubs and CallProcedure: a real window subclassed by a stub, arguments in registers
// and on the stack, the non-volatile registers and the floating-point control state around an
// entry that breaks them, and calls of 0 to 10 arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <utility>
#include <vector>

#include "skin/method_thunk.h"

namespace {

// An FXSAVE image: the x87 control word, MXCSR and the XMM registers among the rest.
struct alignas(16) FxState {
  std::uint8_t bytes[512] = {};

  std::uint16_t ControlWord() const { return Read<std::uint16_t>(0); }
  std::uint32_t Mxcsr() const { return Read<std::uint32_t>(24); }
  std::array<std::uint8_t, 16> Xmm(int index) const { return Read<std::array<std::uint8_t, 16>>(160 + 16 * index); }
  void SetControlWord(std::uint16_t value) { std::memcpy(bytes, &value, sizeof value); }
  void SetMxcsr(std::uint32_t value) { std::memcpy(bytes + 24, &value, sizeof value); }
  void SetXmm(int index, std::uint8_t fill) { std::memset(bytes + 160 + 16 * index, fill, 16); }

 private:
  template <typename T>
  T Read(int offset) const {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
  }
};

// The non-volatile general registers of Win64.
struct GeneralRegisters {
  std::uint64_t rbx = 0;
  std::uint64_t rbp = 0;
  std::uint64_t rsi = 0;
  std::uint64_t rdi = 0;
  std::uint64_t r12 = 0;
  std::uint64_t r13 = 0;
  std::uint64_t r14 = 0;
  std::uint64_t r15 = 0;
  friend bool operator==(const GeneralRegisters&, const GeneralRegisters&) = default;
  friend void PrintTo(const GeneralRegisters& r, std::ostream* out) {
    *out << std::hex << "rbx " << r.rbx << " rbp " << r.rbp << " rsi " << r.rsi << " rdi " << r.rdi << " r12 " << r.r12
         << " r13 " << r.r13 << " r14 " << r.r14 << " r15 " << r.r15;
  }
};

// One call made by ObservedCall, and what it saw.
struct Observation {
  const void* target = nullptr;
  std::uint64_t arguments[4] = {};  // rcx, rdx, r8, r9
  GeneralRegisters load;            // put into the registers just before the call
  GeneralRegisters seen;            // found in them just after it
  std::uint64_t result = 0;
  FxState loadFx;
  FxState seenFx;
  FxState ownFx;
};

// The offsets ObservedCall uses.
static_assert(offsetof(Observation, target) == 0 && offsetof(Observation, arguments) == 8 &&
              offsetof(Observation, load) == 40 && offsetof(Observation, seen) == 104 &&
              offsetof(Observation, result) == 168 && offsetof(Observation, loadFx) == 176 &&
              offsetof(Observation, seenFx) == 688 && offsetof(Observation, ownFx) == 1200);

}  // namespace

extern "C" {
void ObservedCall(Observation* observation);
std::uint64_t ProbeEntry(void** slot, ...);
std::uint64_t ClobberingEntry(void** slot, ...);
// What the last probing or clobbering entry found on its way in.
std::uint64_t entryRsp = 0;
std::uint32_t entryMxcsr = 0;
std::uint16_t entryControlWord = 0;
void** entrySlot = nullptr;
void* entryObject = nullptr;
}

// The tests' only assembly, because a compiled caller or entry keeps its registers by itself.
// ObservedCall loads rbx, rbp, rsi, rdi, r12 to r15 and (by FXRSTOR) the XMM registers, MXCSR
// and the x87 control word, calls the target with four register arguments, records what the
// callee left in them and puts back the program's own. ProbeEntry records the stack pointer, the
// floating-point control state and the slot it was called with and returns the object;
// ClobberingEntry records the same, then breaks every non-volatile register and the control
// state and returns 64 bits.
asm(R"(
        .macro RECORD_ENTRY
        movq %rsp, entryRsp(%rip)
        stmxcsr entryMxcsr(%rip)
        fnstcw entryControlWord(%rip)
        movq %rcx, entrySlot(%rip)
        movq (%rcx), %rax
        movq %rax, entryObject(%rip)
        .endm

        .text
        .globl ObservedCall
ObservedCall:
        pushq %rbx
        pushq %rbp
        pushq %rsi
        pushq %rdi
        pushq %r12
        pushq %r13
        pushq %r14
        pushq %r15
        pushq %rcx
        subq $32, %rsp
        fxsave 1200(%rcx)
        fxrstor 176(%rcx)
        movq 40(%rcx), %rbx
        movq 48(%rcx), %rbp
        movq 56(%rcx), %rsi
        movq 64(%rcx), %rdi
        movq 72(%rcx), %r12
        movq 80(%rcx), %r13
        movq 88(%rcx), %r14
        movq 96(%rcx), %r15
        movq 0(%rcx), %rax
        movq 16(%rcx), %rdx
        movq 24(%rcx), %r8
        movq 32(%rcx), %r9
        movq 8(%rcx), %rcx
        call *%rax
        movq 32(%rsp), %rcx
        movq %rax, 168(%rcx)
        movq %rbx, 104(%rcx)
        movq %rbp, 112(%rcx)
        movq %rsi, 120(%rcx)
        movq %rdi, 128(%rcx)
        movq %r12, 136(%rcx)
        movq %r13, 144(%rcx)
        movq %r14, 152(%rcx)
        movq %r15, 160(%rcx)
        fxsave 688(%rcx)
        fxrstor 1200(%rcx)
        addq $40, %rsp
        popq %r15
        popq %r14
        popq %r13
        popq %r12
        popq %rdi
        popq %rsi
        popq %rbp
        popq %rbx
        ret

        .globl ProbeEntry
ProbeEntry:
        RECORD_ENTRY
        ret

        .globl ClobberingEntry
ClobberingEntry:
        RECORD_ENTRY
        movq $-1, %rbx
        movq $-1, %rbp
        movq $-1, %rsi
        movq $-1, %rdi
        movq $-1, %r12
        movq $-1, %r13
        movq $-1, %r14
        movq $-1, %r15
        pcmpeqd %xmm6, %xmm6
        pcmpeqd %xmm7, %xmm7
        pcmpeqd %xmm8, %xmm8
        pcmpeqd %xmm9, %xmm9
        pcmpeqd %xmm10, %xmm10
        pcmpeqd %xmm11, %xmm11
        pcmpeqd %xmm12, %xmm12
        pcmpeqd %xmm13, %xmm13
        pcmpeqd %xmm14, %xmm14
        pcmpeqd %xmm15, %xmm15
        subq $8, %rsp
        movl $0x3F80, (%rsp)
        ldmxcsr (%rsp)
        movw $0x007F, (%rsp)
        fldcw (%rsp)
        addq $8, %rsp
        movabsq $0x0123456789ABCDEF, %rax
        ret
)");

namespace tavrel::skin {
namespace {

constexpr std::uint32_t DefaultMxcsr = 0x1F80;
constexpr std::uint16_t DefaultControlWord = 0x027F;

template <std::size_t>
using Word = std::intptr_t;

// Calls code as a plain function of exactly sizeof...(I) pointer-sized arguments.
template <std::size_t... I>
std::intptr_t CallWith(const void* code, const std::intptr_t* arguments, std::index_sequence<I...>) {
  using Callback = std::intptr_t (*)(Word<I>...);
  return reinterpret_cast<Callback>(const_cast<void*>(code))(arguments[I]...);
}

template <std::size_t N>
std::intptr_t CallExactly(const void* code, const std::intptr_t* arguments) {
  return CallWith(code, arguments, std::make_index_sequence<N>{});
}

template <std::size_t... N>
constexpr auto MakeCallers(std::index_sequence<N...>) {
  return std::array{&CallExactly<N>...};
}

// callers[n] calls with n arguments.
constexpr auto callers = MakeCallers(std::make_index_sequence<11>{});

// Distinct 64-bit values, every byte of them in use.
std::vector<std::intptr_t> Arguments(std::size_t count) {
  std::vector<std::intptr_t> arguments;
  for (std::size_t i = 0; i < count; ++i)
    arguments.push_back(static_cast<std::intptr_t>(0xA5A5'0000'0000'0000ull ^ (0x0101'0101'0001ull * (i + 1))));
  return arguments;
}

// What the last call of a recording entry received.
struct EntryCall {
  void** slot = nullptr;
  void* object = nullptr;  // what the slot held during the call
  std::vector<std::intptr_t> arguments;
};
EntryCall lastCall;

// Reads as many arguments as the object it is bound to says.
std::intptr_t RecordMany(void** slot, ...) {
  const auto count = *static_cast<const std::size_t*>(*slot);
  lastCall = {slot, *slot, {}};
  std::va_list list;
  va_start(list, slot);
  for (std::size_t i = 0; i < count; ++i) lastCall.arguments.push_back(va_arg(list, std::intptr_t));
  va_end(list);
  return static_cast<std::intptr_t>(0x7000'0000'0000'0000ll + count);
}

std::intptr_t RecordThree(void** slot, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3) {
  lastCall = {slot, *slot, {a1, a2, a3}};
  return a1 + a2 + a3;
}

TEST(MethodThunkLayout, SizesAndEmbeddedValues) {
  const auto object = reinterpret_cast<void*>(0x1122'3344'5566'7788ull);
  const auto entry = reinterpret_cast<const void*>(0x99AA'BBCC'DDEE'FF00ull);
  const struct {
    std::int32_t argumentCount;
    std::size_t size;
    std::uint32_t argumentArea;
  } cases[] = {{0, 290, 32}, {1, 338, 32}, {3, 338, 32}, {4, 338, 48}, {5, 338, 48}, {8, 338, 80}, {256, 338, 2064}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argumentCount);
    const MethodThunk stub = MakeMethodThunk(object, entry, c.argumentCount);
    ASSERT_EQ(stub.bytes().size(), c.size);
    const auto at = [&](std::size_t offset, auto value) {
      std::memcpy(&value, stub.bytes().data() + offset, sizeof value);
      return value;
    };
    EXPECT_EQ(at(6, std::uintptr_t{}), reinterpret_cast<std::uintptr_t>(object));
    EXPECT_EQ(at(144, std::uint32_t{}), c.argumentArea);
    const std::size_t entryOffset = c.argumentCount > 0 ? 202 : 154;
    EXPECT_EQ(at(entryOffset, std::uintptr_t{}), reinterpret_cast<std::uintptr_t>(entry));
    if (c.argumentCount > 0) {
      EXPECT_EQ(at(165, std::uint32_t{}), 8u * c.argumentCount);
    }
    EXPECT_EQ(stub.bytes().back(), 0xC3);
    EXPECT_EQ(ThunkEntry(stub), stub.bytes().data());
  }
}

TEST(MethodThunkLayout, ArgumentCountLimitsAndNullEntry) {
  std::size_t object = 0;
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
  const MethodThunk stub = MakeMethodThunk(&object, nullptr, 4);
  EXPECT_TRUE(stub.empty());
  EXPECT_EQ(ThunkEntry(stub), nullptr);
}

TEST(MethodThunkLayout, CodeIsExecutableAndNotWritable) {
  std::size_t object = 0;
  const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&RecordMany), 4);
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(ThunkEntry(stub), &info, sizeof info), 0u);
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
}

// A window subclassed by a stub: the test's own messages are recorded and answered, the rest
// go to the class's procedure.
class SubclassedWindow {
 public:
  static constexpr UINT Recorded = WM_APP + 1;
  static constexpr UINT Nested = WM_APP + 2;

  struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    friend bool operator==(const Message&, const Message&) = default;
  };

  SubclassedWindow() {
    const WNDCLASSA windowClass{0,       DefWindowProcA, 0,       0,       GetModuleHandleA(nullptr),
                                nullptr, nullptr,        nullptr, nullptr, "TavrelThunkTest"};
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "TavrelThunkTest", "before", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    stub = MakeMethodThunk(this, CodeAddress(&WindowProcEntry), 4);
    previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThunkEntry(stub))));
  }
  ~SubclassedWindow() {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    DestroyWindow(window);
  }

  HWND window = nullptr;
  WNDPROC previous = nullptr;
  MethodThunk stub;
  std::vector<Message> seen;

 private:
  static LRESULT CALLBACK WindowProcEntry(SubclassedWindow** self, HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    switch (message) {
      case Recorded:
        (*self)->seen.push_back({window, message, wParam, lParam});
        return static_cast<LRESULT>(wParam ^ 0x1111'0000'0000'1111ull) + lParam;
      case Nested:
        (*self)->seen.push_back({window, message, wParam, lParam});
        return SendMessageA(window, Recorded, wParam + 1, lParam) + 1;
      default:
        return CallWindowProcA((*self)->previous, window, message, wParam, lParam);
    }
  }
};

TEST(MethodThunkWindow, StubServesAsWindowProcedure) {
  SubclassedWindow subclassed;
  ASSERT_NE(subclassed.window, nullptr);
  ASSERT_NE(subclassed.previous, nullptr);
  const WPARAM wParam = 0xFEDC'BA98'7654'3210ull;
  const LPARAM lParam = -5;
  EXPECT_EQ(SendMessageA(subclassed.window, SubclassedWindow::Recorded, wParam, lParam),
            static_cast<LRESULT>(wParam ^ 0x1111'0000'0000'1111ull) + lParam);
  const std::vector<SubclassedWindow::Message> expected{
      {subclassed.window, SubclassedWindow::Recorded, wParam, lParam}};
  EXPECT_EQ(subclassed.seen, expected);
}

TEST(MethodThunkWindow, OtherMessagesReachThePreviousProcedure) {
  SubclassedWindow subclassed;
  EXPECT_TRUE(SetWindowTextA(subclassed.window, "through the stub"));
  char text[32] = {};
  EXPECT_EQ(GetWindowTextA(subclassed.window, text, sizeof text), 16);
  EXPECT_STREQ(text, "through the stub");
  EXPECT_TRUE(subclassed.seen.empty());
}

TEST(MethodThunkWindow, NestedMessagesNest) {
  SubclassedWindow subclassed;
  EXPECT_EQ(SendMessageA(subclassed.window, SubclassedWindow::Nested, 1, 2),
            static_cast<LRESULT>(2 ^ 0x1111'0000'0000'1111ull) + 2 + 1);
  const std::vector<SubclassedWindow::Message> expected{{subclassed.window, SubclassedWindow::Nested, 1, 2},
                                                        {subclassed.window, SubclassedWindow::Recorded, 2, 2}};
  EXPECT_EQ(subclassed.seen, expected);
}

TEST(MethodThunkCall, ArgumentsArriveInOrder) {
  for (const std::size_t count : {0, 1, 3, 4, 5, 8, 10}) {
    SCOPED_TRACE(count);
    std::size_t object = count;
    const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&RecordMany), static_cast<std::int32_t>(count));
    const std::vector<std::intptr_t> arguments = Arguments(count);
    lastCall = {};
    EXPECT_EQ(callers[count](ThunkEntry(stub), arguments.data()), 0x7000'0000'0000'0000ll + std::intptr_t(count));
    EXPECT_EQ(lastCall.object, &object);
    EXPECT_EQ(lastCall.arguments, arguments);
  }
}

TEST(MethodThunkCall, WidestStubCopiesAllArguments) {
  std::size_t object = ThunkMaxArgumentCount;
  const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&RecordMany), ThunkMaxArgumentCount);
  const std::vector<std::intptr_t> arguments = Arguments(ThunkMaxArgumentCount);
  EXPECT_EQ(CallExactly<ThunkMaxArgumentCount>(ThunkEntry(stub), arguments.data()), 0x7000'0000'0000'0100ll);
  EXPECT_EQ(lastCall.arguments, arguments);
}

TEST(MethodThunkCall, EntryRunsOnAnAlignedStack) {
  for (std::size_t count = 0; count < callers.size(); ++count) {
    SCOPED_TRACE(count);
    int object = 0;
    const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&ProbeEntry), static_cast<std::int32_t>(count));
    const std::vector<std::intptr_t> arguments = Arguments(count);
    entryRsp = 0;
    EXPECT_EQ(callers[count](ThunkEntry(stub), arguments.data()), reinterpret_cast<std::intptr_t>(&object));
    EXPECT_EQ((entryRsp + 8) % 16, 0u);
    EXPECT_EQ(entryObject, &object);
  }
}

TEST(MethodThunkCall, CallerStateSurvivesAClobberingEntry) {
  for (const std::int32_t count : {0, 4}) {
    SCOPED_TRACE(count);
    int object = 0;
    const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&ClobberingEntry), count);
    Observation call;
    call.target = ThunkEntry(stub);
    for (int i = 0; i < 4; ++i) call.arguments[i] = 0x4141'4141'0000'0000ull + i;
    call.load = {0x0B0B'0B0B'0B0B'0B0Bull, 0x0B0B'0B0B'0B0B'0BB0ull, 0x5151'5151'5151'5151ull,
                 0xD1D1'D1D1'D1D1'D1D1ull, 0x1212'1212'1212'1212ull, 0x1313'1313'1313'1313ull,
                 0x1414'1414'1414'1414ull, 0x1515'1515'1515'1515ull};
    // Truncation and 24-bit precision for the x87, rounding towards zero for SSE.
    call.loadFx.SetControlWord(0x0C7F);
    call.loadFx.SetMxcsr(0x7F80);
    for (int i = 0; i < 16; ++i) call.loadFx.SetXmm(i, static_cast<std::uint8_t>(0x10 + i));
    ObservedCall(&call);

    EXPECT_EQ(call.result, 0x0123'4567'89AB'CDEFull);
    EXPECT_EQ(call.seen, call.load);
    for (int i = 6; i < 16; ++i) EXPECT_EQ(call.seenFx.Xmm(i), call.loadFx.Xmm(i)) << "xmm" << i;
    EXPECT_EQ(call.seenFx.Mxcsr(), 0x7F80u);
    EXPECT_EQ(call.seenFx.ControlWord(), 0x0C7F);
    EXPECT_EQ(entryMxcsr, DefaultMxcsr);
    EXPECT_EQ(entryControlWord, DefaultControlWord);
    EXPECT_EQ(entryObject, &object);
    EXPECT_EQ((entryRsp + 8) % 16, 0u);
  }
}

TEST(MethodThunkCall, MovedStubKeepsWorking) {
  std::size_t first = 0;
  std::size_t second = 0;
  MethodThunk stub = MakeMethodThunk(&first, CodeAddress(&RecordThree), 3);
  const void* code = ThunkEntry(stub);
  MethodThunk moved = std::move(stub);
  EXPECT_TRUE(stub.empty());
  EXPECT_EQ(ThunkEntry(moved), code);
  EXPECT_EQ(CallProcedure(ThunkEntry(moved), 1, 2, 3), 6);
  EXPECT_EQ(lastCall.object, &first);
  moved = MakeMethodThunk(&second, CodeAddress(&RecordThree), 3);
  EXPECT_EQ(CallProcedure(ThunkEntry(moved), 4, 5, 6), 15);
  EXPECT_EQ(lastCall.object, &second);
}

// A weighted sum of its arguments, so that order and every missing argument count.
template <std::size_t... I>
std::intptr_t Weighted(Word<I>... arguments) {
  std::intptr_t sum = 0;
  ((sum = sum * 3 + arguments), ...);
  return sum;
}

template <std::size_t... I>
std::intptr_t WeightedCallProcedure(const void* target, const std::intptr_t* arguments, std::index_sequence<I...>) {
  return CallProcedure(target, arguments[I]...);
}

template <std::size_t... N>
void CheckCallProcedure(std::index_sequence<N...>) {
  const std::vector<std::intptr_t> arguments = Arguments(10);
  (
      [&] {
        SCOPED_TRACE(N);
        const void* target = []<std::size_t... I>(std::index_sequence<I...>) { return CodeAddress(&Weighted<I...>); }
        (std::make_index_sequence<N>{});
        const std::intptr_t expected = CallExactly<N>(target, arguments.data());
        EXPECT_EQ(WeightedCallProcedure(target, arguments.data(), std::make_index_sequence<N>{}), expected);
        EXPECT_EQ(WeightedCallProcedure(target, arguments.data(), std::make_index_sequence<10>{}), expected);
      }(),
      ...);
}

TEST(CallProcedure, CallsWithZeroToTenArguments) { CheckCallProcedure(std::make_index_sequence<11>{}); }

TEST(CallProcedure, MissingArgumentsAreZero) {
  const void* ten = CodeAddress(&Weighted<0, 1, 2, 3, 4, 5, 6, 7, 8, 9>);
  EXPECT_EQ(CallProcedure(ten, 1), 19683);  // 1 * 3^9
  EXPECT_EQ(CallProcedure(ten), 0);
}

TEST(CallProcedure, ReachesAStub) {
  std::size_t object = 0;
  const MethodThunk stub = MakeMethodThunk(&object, CodeAddress(&RecordThree), 3);
  EXPECT_EQ(CallProcedure(ThunkEntry(stub), 10, 20, 30), 60);
  EXPECT_EQ(lastCall.object, &object);
  EXPECT_EQ(lastCall.arguments, (std::vector<std::intptr_t>{10, 20, 30}));
}

}  // namespace
}  // namespace tavrel::skin
