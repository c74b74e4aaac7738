// Which GDI+ functions Wine exports only as stubs. Every function that gdiplus.dll exports is called
// with all-zero arguments in a thread of its own: a stub raises EXCEPTION_WINE_STUB, which a
// vectored handler turns into the end of that thread; a function that crashes on its null
// arguments ends its thread through the unhandled-exception filter and is only reported. Wine
// prints "Call from ... to unimplemented function ..., aborting" for each stub all the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

// Functions the probe must not call: shutting GDI+ down would end it for the whole test program.
const std::set<std::string> kNotProbed = {"GdiplusShutdown"};

constexpr DWORD kReturned = 0;
constexpr DWORD kHung = 0xFFFFFFFF;
constexpr DWORD kTimeoutMs = 10000;

std::atomic<DWORD> probeThread{0};
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

LONG CALLBACK EndProbeOnStub(EXCEPTION_POINTERS* info) {
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  if (GetCurrentThreadId() != probeThread || code != kWineStubException) return EXCEPTION_CONTINUE_SEARCH;
  ExitThread(code);
}

LONG WINAPI EndProbeOnCrash(EXCEPTION_POINTERS* info) {
  if (GetCurrentThreadId() != probeThread) return previousFilter ? previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
  ExitThread(info->ExceptionRecord->ExceptionCode);
}

#if defined(__x86_64__)
// CallWithZeros(function) calls function with every argument zero, whatever its type: rcx, rdx,
// r8, r9, xmm0 to xmm3 and twelve stack slots. C++ cannot say this (an ellipsis does not fill the
// integer registers), so it is written out, with unwind data so that exceptions can walk past it.
asm(R"(
  .text
  .globl tavrelCallWithZeros
  .def tavrelCallWithZeros; .scl 2; .type 32; .endef
  .seh_proc tavrelCallWithZeros
tavrelCallWithZeros:
  push %rbp
  .seh_pushreg %rbp
  mov %rsp, %rbp
  .seh_setframe %rbp, 0
  sub $0x80, %rsp
  .seh_stackalloc 0x80
  .seh_endprologue
  mov %rcx, %rax
  xor %ecx, %ecx
  xor %edx, %edx
  xor %r8d, %r8d
  xor %r9d, %r9d
  pxor %xmm0, %xmm0
  pxor %xmm1, %xmm1
  pxor %xmm2, %xmm2
  pxor %xmm3, %xmm3
  lea 0x20(%rsp), %r10
  mov $12, %r11
1:
  movq $0, (%r10)
  add $8, %r10
  dec %r11
  jnz 1b
  call *%rax
  mov %rbp, %rsp
  pop %rbp
  ret
  .seh_endproc
)");
extern "C" INT_PTR tavrelCallWithZeros(void* function);
#endif

DWORD WINAPI CallWithZeros(void* function) {
#if defined(__x86_64__)
  tavrelCallWithZeros(function);
#endif
  return kReturned;
}

// How the call ended: kReturned, an exception code, or kHung.
DWORD Probe(FARPROC function) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, CallWithZeros, reinterpret_cast<void*>(function), CREATE_SUSPENDED, &id);
  probeThread = id;
  ResumeThread(thread);
  DWORD outcome = kHung;
  if (WaitForSingleObject(thread, kTimeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeThread(thread, &outcome);
  } else {
    TerminateThread(thread, kHung);
  }
  CloseHandle(thread);
  probeThread = 0;
  return outcome;
}

std::vector<std::string> ExportedNames(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::vector<std::string> result;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    result.emplace_back(reinterpret_cast<const char*>(base + names[i]));
  return result;
}

TEST(WineStubs, EveryListedStubIsExportedByGdiplus) {
  const HMODULE gdiplus = GetModuleHandleA("gdiplus.dll");
  ASSERT_NE(gdiplus, nullptr);
  for (std::string_view name : kWineStubFunctions) {
    EXPECT_NE(GetProcAddress(gdiplus, std::string(name).c_str()), nullptr) << name;
  }
}

TEST(WineStubs, TheFunctionsThatRaiseTheStubExceptionAreExactlyTheList) {
  if (!RunningUnderWine()) GTEST_SKIP() << "not running under Wine";
#if !defined(__x86_64__)
  GTEST_SKIP() << "the all-zero call is written for the x64 calling convention";
#endif
  const HMODULE gdiplus = GetModuleHandleA("gdiplus.dll");
  ASSERT_NE(gdiplus, nullptr);
  const std::vector<std::string> names = ExportedNames(gdiplus);
  ASSERT_GT(names.size(), 600u);

  void* stubHandler = AddVectoredExceptionHandler(1, EndProbeOnStub);
  previousFilter = SetUnhandledExceptionFilter(EndProbeOnCrash);
  const UINT previousErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  std::set<std::string> stubs;
  std::vector<std::string> others;
  for (const std::string& name : names) {
    if (kNotProbed.count(name)) continue;
    const DWORD outcome = Probe(GetProcAddress(gdiplus, name.c_str()));
    if (outcome == kWineStubException) {
      stubs.insert(name);
    } else if (outcome != kReturned) {
      char code[16];
      std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(outcome));
      others.push_back(name + " " + (outcome == kHung ? "hung" : code));
    }
  }
  SetErrorMode(previousErrorMode);
  SetUnhandledExceptionFilter(previousFilter);
  RemoveVectoredExceptionHandler(stubHandler);

  std::printf("probed %zu functions: %zu stubs; crashed or hung on null arguments (not stubs): %zu\n",
              names.size() - kNotProbed.size(), stubs.size(), others.size());
  for (const std::string& other : others) std::printf("  %s\n", other.c_str());
  const std::set<std::string> listed(kWineStubFunctions.begin(), kWineStubFunctions.end());
  EXPECT_EQ(stubs, listed);
}

}  // namespace
}  // namespace tavrel::test
