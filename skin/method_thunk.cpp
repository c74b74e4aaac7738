// The stubs are generated for the architecture being built: the i686 layout for the Win32 program
// (and its Linux test build under qemu-i386), the x86-64 one for Win64. Each generator writes one
// line per instruction, numbered after the table above it. The code goes to memory of its own
// that is made executable only after it has been written.

#include "skin/method_thunk.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gdiplus_objects/plus_types.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace tavrel::skin {

namespace {

// Machine code in the making: opcode and ModRM bytes, then little-endian immediates and
// displacements.
class CodeWriter {
 public:
  CodeWriter& Op(std::initializer_list<std::uint8_t> bytes) {
    code.insert(code.end(), bytes);
    return *this;
  }
  CodeWriter& Disp8(std::int8_t value) { return Little(static_cast<std::uint8_t>(value), 1); }
  CodeWriter& Disp32(std::int32_t value) { return Little(static_cast<std::uint32_t>(value), 4); }
  CodeWriter& Imm16(std::uint16_t value) { return Little(value, 2); }
  CodeWriter& Imm32(std::uint32_t value) { return Little(value, 4); }
  CodeWriter& Imm64(std::uint64_t value) { return Little(value, 8); }
  ByteBuffer Take() { return std::move(code); }

 private:
  CodeWriter& Little(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) code.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return *this;
  }

  ByteBuffer code;
};

#if defined(__i386__)

// i686. Addresses relative to the frame pointer EBP that the stub sets up; the caller's
// arguments start at EBP+8. O: the object pointer, M: the entry, N = 4 x argument count.
//
// | step | bytes    | instruction       | effect                                               |
// |------|----------|-------------------|------------------------------------------------------|
// | 1    | 55       | push ebp          |                                                      |
// | 2    | 8B EC    | mov ebp, esp      | frame                                                |
// | 3    | 68 O     | push O            | the object pointer now lies at EBP-4                 |
// | 4    | 53       | push ebx          | saved at EBP-8                                       |
// | 5    | 51       | push ecx          | saved at EBP-12                                      |
// | 6    | 56       | push esi          | saved at EBP-16                                      |
// | 7    | 57       | push edi          | saved at EBP-20                                      |
// | 8    | 6A 00    | push 0            | room at EBP-24                                       |
// | 9    | D9 3C 24 | fnstcw [esp]      | caller's FPU control word saved at EBP-24            |
// | 10   | DB E3    | fninit            | FPU reset to its default state for the entry         |
// | 11   | B9 N     | mov ecx, N        | only when N > 0 (steps 11 to 19)                     |
// | 12   | 2B E1    | sub esp, ecx      | room for a copy of the arguments                     |
// | 13   | 8D 75 08 | lea esi, [ebp+8]  | the caller's arguments                               |
// | 14   | 8D 3C 24 | lea edi, [esp]    |                                                      |
// | 15   | FC       | cld               |                                                      |
// | 16   | F3 A4    | rep movsb         | the N argument bytes copied, in their order          |
// | 17   | 8B 4D F4 | mov ecx, [ebp-12] | caller's ECX back                                    |
// | 18   | 8B 75 F0 | mov esi, [ebp-16] | caller's ESI back                                    |
// | 19   | 8B 7D EC | mov edi, [ebp-20] | caller's EDI back                                    |
// | 20   | 8D 45 FC | lea eax, [ebp-4]  | address of the slot that holds O                     |
// | 21   | 50       | push eax          | the entry's first argument                           |
// | 22   | B8 M     | mov eax, M        |                                                      |
// | 23   | FF D0    | call eax          | the entry runs                                       |
// | 24   | 8B 5D F8 | mov ebx, [ebp-8]  | EBX restored                                         |
// | 25   | 8B 4D F4 | mov ecx, [ebp-12] | ECX restored                                         |
// | 26   | 8B 75 F0 | mov esi, [ebp-16] | ESI restored                                         |
// | 27   | 8B 7D EC | mov edi, [ebp-20] | EDI restored                                         |
// | 28   | D9 6D E8 | fldcw [ebp-24]    | caller's FPU control word restored                   |
// | 29   | 8B E5    | mov esp, ebp      | whatever the entry left on the stack is dropped      |
// | 30   | 5D       | pop ebp           |                                                      |
// | 31   | C2 N     | ret N             | N as a 16-bit immediate: the caller's arguments gone |
//
// 76 bytes, or 51 when N = 0. EAX and EDX are not touched after the call, so a 32-bit or 64-bit
// result reaches the caller unchanged. The entry may be cdecl or stdcall: step 29 drops what it
// left. The stub keeps the 4-byte stack alignment of Win32, not the 16 bytes of Linux i386 code.
ByteBuffer GenerateThunk(std::uintptr_t object, std::uintptr_t entry, std::int32_t argumentCount) {
  const auto n = static_cast<std::uint16_t>(4 * argumentCount);
  CodeWriter c;
  c.Op({0x55});                // 1
  c.Op({0x8B, 0xEC});          // 2
  c.Op({0x68}).Imm32(object);  // 3
  c.Op({0x53});                // 4
  c.Op({0x51});                // 5
  c.Op({0x56});                // 6
  c.Op({0x57});                // 7
  c.Op({0x6A, 0x00});          // 8
  c.Op({0xD9, 0x3C, 0x24});    // 9
  c.Op({0xDB, 0xE3});          // 10
  if (n > 0) {
    c.Op({0xB9}).Imm32(n);          // 11
    c.Op({0x2B, 0xE1});             // 12
    c.Op({0x8D, 0x75}).Disp8(8);    // 13
    c.Op({0x8D, 0x3C, 0x24});       // 14
    c.Op({0xFC});                   // 15
    c.Op({0xF3, 0xA4});             // 16
    c.Op({0x8B, 0x4D}).Disp8(-12);  // 17
    c.Op({0x8B, 0x75}).Disp8(-16);  // 18
    c.Op({0x8B, 0x7D}).Disp8(-20);  // 19
  }
  c.Op({0x8D, 0x45}).Disp8(-4);   // 20
  c.Op({0x50});                   // 21
  c.Op({0xB8}).Imm32(entry);      // 22
  c.Op({0xFF, 0xD0});             // 23
  c.Op({0x8B, 0x5D}).Disp8(-8);   // 24
  c.Op({0x8B, 0x4D}).Disp8(-12);  // 25
  c.Op({0x8B, 0x75}).Disp8(-16);  // 26
  c.Op({0x8B, 0x7D}).Disp8(-20);  // 27
  c.Op({0xD9, 0x6D}).Disp8(-24);  // 28
  c.Op({0x8B, 0xE5});             // 29
  c.Op({0x5D});                   // 30
  c.Op({0xC2}).Imm16(n);          // 31
  return c.Take();
}

#elif defined(__x86_64__) && defined(_WIN32)

// x86-64, Win64 calling convention. Addresses relative to the frame pointer RBP that the stub
// sets up: the caller's return address at RBP+8, the home slots of a1 to a4 (which every Win64
// caller provides) at RBP+16 to RBP+47, a5 on at RBP+48. O: the object pointer, M: the entry,
// n: the argument count, N = 8 x n, A = 8 x max(4, n + 1) rounded up to 16 (the entry's n + 1
// arguments, at least its 32-byte home area), F = 240 + A.
//
// | step | bytes                   | instruction                | effect                                       |
// |------|-------------------------|----------------------------|----------------------------------------------|
// | 1    | 55                      | push rbp                   |                                              |
// | 2    | 48 8B EC                | mov rbp, rsp               | frame; RBP is 16-aligned                     |
// | 3    | 48 B8 O                 | mov rax, O                 |                                              |
// | 4    | 50                      | push rax                   | the object pointer now lies at RBP-8         |
// | 5    | 53                      | push rbx                   | saved at RBP-16                              |
// | 6    | 56                      | push rsi                   | saved at RBP-24                              |
// | 7    | 57                      | push rdi                   | saved at RBP-32                              |
// | 8    | 41 54                   | push r12                   | saved at RBP-40                              |
// | 9    | 41 55                   | push r13                   | saved at RBP-48                              |
// | 10   | 41 56                   | push r14                   | saved at RBP-56                              |
// | 11   | 41 57                   | push r15                   | saved at RBP-64                              |
// | 12   | 48 81 EC B0 00 00 00    | sub rsp, 176               | room down to RBP-240                         |
// | 13   | 0F 11 B5 A0 FF FF FF    | movups [rbp-96], xmm6      | saved at RBP-96                              |
// | 14   | 0F 11 BD 90 FF FF FF    | movups [rbp-112], xmm7     | saved at RBP-112                             |
// | 15   | 44 0F 11 85 80 FF FF FF | movups [rbp-128], xmm8     | saved at RBP-128                             |
// | 16   | 44 0F 11 8D 70 FF FF FF | movups [rbp-144], xmm9     | saved at RBP-144                             |
// | 17   | 44 0F 11 95 60 FF FF FF | movups [rbp-160], xmm10    | saved at RBP-160                             |
// | 18   | 44 0F 11 9D 50 FF FF FF | movups [rbp-176], xmm11    | saved at RBP-176                             |
// | 19   | 44 0F 11 A5 40 FF FF FF | movups [rbp-192], xmm12    | saved at RBP-192                             |
// | 20   | 44 0F 11 AD 30 FF FF FF | movups [rbp-208], xmm13    | saved at RBP-208                             |
// | 21   | 44 0F 11 B5 20 FF FF FF | movups [rbp-224], xmm14    | saved at RBP-224                             |
// | 22   | 44 0F 11 BD 10 FF FF FF | movups [rbp-240], xmm15    | saved at RBP-240                             |
// | 23   | 0F AE 5D B8             | stmxcsr [rbp-72]           | caller's MXCSR saved at RBP-72               |
// | 24   | D9 7D BC                | fnstcw [rbp-68]            | caller's x87 control word saved at RBP-68    |
// | 25   | DB E3                   | fninit                     | x87 reset for the entry                      |
// | 26   | C7 45 B0 80 1F 00 00    | mov dword [rbp-80], 1F80h  |                                              |
// | 27   | 0F AE 55 B0             | ldmxcsr [rbp-80]           | MXCSR at its Win64 default for the entry     |
// | 28   | C7 45 B4 7F 02 00 00    | mov dword [rbp-76], 027Fh  |                                              |
// | 29   | D9 6D B4                | fldcw [rbp-76]             | x87 control word at its Win64 default        |
// | 30   | 48 81 EC A              | sub rsp, A                 | the entry's argument area; RSP stays aligned |
// | 31   | 48 89 4D 10             | mov [rbp+16], rcx          | only when n > 0 (steps 31 to 42)             |
// | 32   | 48 89 55 18             | mov [rbp+24], rdx          |                                              |
// | 33   | 4C 89 45 20             | mov [rbp+32], r8           |                                              |
// | 34   | 4C 89 4D 28             | mov [rbp+40], r9           | a1, a2, ... now lie in order from RBP+16     |
// | 35   | B9 N                    | mov ecx, N                 |                                              |
// | 36   | 48 8D 75 10             | lea rsi, [rbp+16]          |                                              |
// | 37   | 48 8D 7C 24 08          | lea rdi, [rsp+8]           | the entry's second argument slot             |
// | 38   | FC                      | cld                        |                                              |
// | 39   | F3 A4                   | rep movsb                  | the N argument bytes copied, in their order  |
// | 40   | 48 8B 54 24 08          | mov rdx, [rsp+8]           | a1 as the entry's second argument            |
// | 41   | 4C 8B 44 24 10          | mov r8, [rsp+16]           | a2 as its third                              |
// | 42   | 4C 8B 4C 24 18          | mov r9, [rsp+24]           | a3 as its fourth; a4 and on from RSP+32      |
// | 43   | 48 8D 4D F8             | lea rcx, [rbp-8]           | the slot holding O, as the first argument    |
// | 44   | 48 B8 M                 | mov rax, M                 |                                              |
// | 45   | FF D0                   | call rax                   | the entry runs                               |
// | 46   | 48 8D AC 24 F           | lea rbp, [rsp+F]           | RBP found again, even if the entry broke it  |
// | 47   | 48 8B 5D F0             | mov rbx, [rbp-16]          | RBX restored                                 |
// | 48   | 48 8B 75 E8             | mov rsi, [rbp-24]          | RSI restored                                 |
// | 49   | 48 8B 7D E0             | mov rdi, [rbp-32]          | RDI restored                                 |
// | 50   | 4C 8B 65 D8             | mov r12, [rbp-40]          | R12 restored                                 |
// | 51   | 4C 8B 6D D0             | mov r13, [rbp-48]          | R13 restored                                 |
// | 52   | 4C 8B 75 C8             | mov r14, [rbp-56]          | R14 restored                                 |
// | 53   | 4C 8B 7D C0             | mov r15, [rbp-64]          | R15 restored                                 |
// | 54   | 0F 10 B5 A0 FF FF FF    | movups xmm6, [rbp-96]      | XMM6 restored                                |
// | 55   | 0F 10 BD 90 FF FF FF    | movups xmm7, [rbp-112]     | XMM7 restored                                |
// | 56   | 44 0F 10 85 80 FF FF FF | movups xmm8, [rbp-128]     | XMM8 restored                                |
// | 57   | 44 0F 10 8D 70 FF FF FF | movups xmm9, [rbp-144]     | XMM9 restored                                |
// | 58   | 44 0F 10 95 60 FF FF FF | movups xmm10, [rbp-160]    | XMM10 restored                               |
// | 59   | 44 0F 10 9D 50 FF FF FF | movups xmm11, [rbp-176]    | XMM11 restored                               |
// | 60   | 44 0F 10 A5 40 FF FF FF | movups xmm12, [rbp-192]    | XMM12 restored                               |
// | 61   | 44 0F 10 AD 30 FF FF FF | movups xmm13, [rbp-208]    | XMM13 restored                               |
// | 62   | 44 0F 10 B5 20 FF FF FF | movups xmm14, [rbp-224]    | XMM14 restored                               |
// | 63   | 44 0F 10 BD 10 FF FF FF | movups xmm15, [rbp-240]    | XMM15 restored                               |
// | 64   | 0F AE 55 B8             | ldmxcsr [rbp-72]           | caller's MXCSR restored                      |
// | 65   | D9 6D BC                | fldcw [rbp-68]             | caller's x87 control word restored           |
// | 66   | 48 8B E5                | mov rsp, rbp               |                                              |
// | 67   | 5D                      | pop rbp                    | caller's RBP restored                        |
// | 68   | C3                      | ret                        | the caller removes its arguments (Win64)     |
//
// 338 bytes, or 290 when n = 0. RAX, RDX and XMM0 are not touched after the call. Step 46 relies
// on the entry keeping RSP, which every Win64 function does; RBP it may break. At most 2,304
// bytes of frame, under one page: Windows needs no stack probe for it.
ByteBuffer GenerateThunk(std::uintptr_t object, std::uintptr_t entry, std::int32_t argumentCount) {
  const auto n = static_cast<std::uint32_t>(argumentCount);
  const std::uint32_t argumentArea = (8 * std::max<std::uint32_t>(4, n + 1) + 15) / 16 * 16;
  const auto frame = static_cast<std::int32_t>(240 + argumentArea);
  CodeWriter c;
  c.Op({0x55});                                  // 1
  c.Op({0x48, 0x8B, 0xEC});                      // 2
  c.Op({0x48, 0xB8}).Imm64(object);              // 3
  c.Op({0x50});                                  // 4
  c.Op({0x53});                                  // 5
  c.Op({0x56});                                  // 6
  c.Op({0x57});                                  // 7
  c.Op({0x41, 0x54});                            // 8
  c.Op({0x41, 0x55});                            // 9
  c.Op({0x41, 0x56});                            // 10
  c.Op({0x41, 0x57});                            // 11
  c.Op({0x48, 0x81, 0xEC}).Imm32(176);           // 12
  c.Op({0x0F, 0x11, 0xB5}).Disp32(-96);          // 13
  c.Op({0x0F, 0x11, 0xBD}).Disp32(-112);         // 14
  c.Op({0x44, 0x0F, 0x11, 0x85}).Disp32(-128);   // 15
  c.Op({0x44, 0x0F, 0x11, 0x8D}).Disp32(-144);   // 16
  c.Op({0x44, 0x0F, 0x11, 0x95}).Disp32(-160);   // 17
  c.Op({0x44, 0x0F, 0x11, 0x9D}).Disp32(-176);   // 18
  c.Op({0x44, 0x0F, 0x11, 0xA5}).Disp32(-192);   // 19
  c.Op({0x44, 0x0F, 0x11, 0xAD}).Disp32(-208);   // 20
  c.Op({0x44, 0x0F, 0x11, 0xB5}).Disp32(-224);   // 21
  c.Op({0x44, 0x0F, 0x11, 0xBD}).Disp32(-240);   // 22
  c.Op({0x0F, 0xAE, 0x5D}).Disp8(-72);           // 23
  c.Op({0xD9, 0x7D}).Disp8(-68);                 // 24
  c.Op({0xDB, 0xE3});                            // 25
  c.Op({0xC7, 0x45}).Disp8(-80).Imm32(0x1F80);   // 26
  c.Op({0x0F, 0xAE, 0x55}).Disp8(-80);           // 27
  c.Op({0xC7, 0x45}).Disp8(-76).Imm32(0x027F);   // 28
  c.Op({0xD9, 0x6D}).Disp8(-76);                 // 29
  c.Op({0x48, 0x81, 0xEC}).Imm32(argumentArea);  // 30
  if (n > 0) {
    c.Op({0x48, 0x89, 0x4D}).Disp8(16);        // 31
    c.Op({0x48, 0x89, 0x55}).Disp8(24);        // 32
    c.Op({0x4C, 0x89, 0x45}).Disp8(32);        // 33
    c.Op({0x4C, 0x89, 0x4D}).Disp8(40);        // 34
    c.Op({0xB9}).Imm32(8 * n);                 // 35
    c.Op({0x48, 0x8D, 0x75}).Disp8(16);        // 36
    c.Op({0x48, 0x8D, 0x7C, 0x24}).Disp8(8);   // 37
    c.Op({0xFC});                              // 38
    c.Op({0xF3, 0xA4});                        // 39
    c.Op({0x48, 0x8B, 0x54, 0x24}).Disp8(8);   // 40
    c.Op({0x4C, 0x8B, 0x44, 0x24}).Disp8(16);  // 41
    c.Op({0x4C, 0x8B, 0x4C, 0x24}).Disp8(24);  // 42
  }
  c.Op({0x48, 0x8D, 0x4D}).Disp8(-8);            // 43
  c.Op({0x48, 0xB8}).Imm64(entry);               // 44
  c.Op({0xFF, 0xD0});                            // 45
  c.Op({0x48, 0x8D, 0xAC, 0x24}).Disp32(frame);  // 46
  c.Op({0x48, 0x8B, 0x5D}).Disp8(-16);           // 47
  c.Op({0x48, 0x8B, 0x75}).Disp8(-24);           // 48
  c.Op({0x48, 0x8B, 0x7D}).Disp8(-32);           // 49
  c.Op({0x4C, 0x8B, 0x65}).Disp8(-40);           // 50
  c.Op({0x4C, 0x8B, 0x6D}).Disp8(-48);           // 51
  c.Op({0x4C, 0x8B, 0x75}).Disp8(-56);           // 52
  c.Op({0x4C, 0x8B, 0x7D}).Disp8(-64);           // 53
  c.Op({0x0F, 0x10, 0xB5}).Disp32(-96);          // 54
  c.Op({0x0F, 0x10, 0xBD}).Disp32(-112);         // 55
  c.Op({0x44, 0x0F, 0x10, 0x85}).Disp32(-128);   // 56
  c.Op({0x44, 0x0F, 0x10, 0x8D}).Disp32(-144);   // 57
  c.Op({0x44, 0x0F, 0x10, 0x95}).Disp32(-160);   // 58
  c.Op({0x44, 0x0F, 0x10, 0x9D}).Disp32(-176);   // 59
  c.Op({0x44, 0x0F, 0x10, 0xA5}).Disp32(-192);   // 60
  c.Op({0x44, 0x0F, 0x10, 0xAD}).Disp32(-208);   // 61
  c.Op({0x44, 0x0F, 0x10, 0xB5}).Disp32(-224);   // 62
  c.Op({0x44, 0x0F, 0x10, 0xBD}).Disp32(-240);   // 63
  c.Op({0x0F, 0xAE, 0x55}).Disp8(-72);           // 64
  c.Op({0xD9, 0x6D}).Disp8(-68);                 // 65
  c.Op({0x48, 0x8B, 0xE5});                      // 66
  c.Op({0x5D});                                  // 67
  c.Op({0xC3});                                  // 68
  return c.Take();
}

#else
#error "Method callback stubs exist for i686 and for x86-64 Windows only."
#endif

#if defined(_WIN32)

// Written while read-write, then turned execute-read, so the stub is never writable and
// executable at once. Each stub takes a page of its own.
std::uint8_t* PlaceCode(std::span<const std::uint8_t> code) {
  void* memory = VirtualAlloc(nullptr, code.size(), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (memory == nullptr) return nullptr;
  std::memcpy(memory, code.data(), code.size());
  DWORD previous = 0;
  if (!VirtualProtect(memory, code.size(), PAGE_EXECUTE_READ, &previous)) {
    VirtualFree(memory, 0, MEM_RELEASE);
    return nullptr;
  }
  FlushInstructionCache(GetCurrentProcess(), memory, code.size());
  return static_cast<std::uint8_t*>(memory);
}

void FreeCode(std::uint8_t* code, std::size_t) { VirtualFree(code, 0, MEM_RELEASE); }

#else

std::uint8_t* PlaceCode(std::span<const std::uint8_t> code) {
  void* memory = mmap(nullptr, code.size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
  std::memcpy(memory, code.data(), code.size());
  if (mprotect(memory, code.size(), PROT_READ | PROT_EXEC) != 0) {
    munmap(memory, code.size());
    return nullptr;
  }
  return static_cast<std::uint8_t*>(memory);
}

void FreeCode(std::uint8_t* code, std::size_t size) { munmap(code, size); }

#endif

}  // namespace

MethodThunk::MethodThunk(std::span<const std::uint8_t> code) {
  if (code.empty()) return;
  this->code = PlaceCode(code);
  if (this->code != nullptr) size = code.size();
}

MethodThunk::MethodThunk(MethodThunk&& other) noexcept
    : code(std::exchange(other.code, nullptr)), size(std::exchange(other.size, 0)) {}

MethodThunk& MethodThunk::operator=(MethodThunk&& other) noexcept {
  if (this != &other) {
    Release();
    code = std::exchange(other.code, nullptr);
    size = std::exchange(other.size, 0);
  }
  return *this;
}

MethodThunk::~MethodThunk() { Release(); }

void MethodThunk::Release() {
  if (code != nullptr) FreeCode(code, size);
  code = nullptr;
  size = 0;
}

MethodThunk MakeMethodThunk(void* object, const void* entry, std::int32_t argumentCount) {
  if (entry == nullptr || argumentCount < 0 || argumentCount > ThunkMaxArgumentCount) return {};
  const ByteBuffer code =
      GenerateThunk(reinterpret_cast<std::uintptr_t>(object), reinterpret_cast<std::uintptr_t>(entry), argumentCount);
  return MethodThunk(code);
}

const void* ThunkEntry(const MethodThunk& stub) { return stub.bytes().data(); }

#if defined(__i386__)

// The ten arguments are pushed anew as for a cdecl call, and ESP is reset from EBP afterwards,
// so whatever the target removed does not matter. The call is made 16-byte aligned, which Linux
// i386 code assumes and Win32 code does not mind.
__attribute__((naked)) std::intptr_t CallProcedure(const void*, std::intptr_t, std::intptr_t, std::intptr_t,
                                                   std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                                   std::intptr_t, std::intptr_t, std::intptr_t) {
  asm("pushl %ebp\n\t"
      "movl %esp, %ebp\n\t"  // the target at EBP+8, a1 at EBP+12, a10 at EBP+48
      "andl $-16, %esp\n\t"
      "subl $8, %esp\n\t"
      "pushl 48(%ebp)\n\t"
      "pushl 44(%ebp)\n\t"
      "pushl 40(%ebp)\n\t"
      "pushl 36(%ebp)\n\t"
      "pushl 32(%ebp)\n\t"
      "pushl 28(%ebp)\n\t"
      "pushl 24(%ebp)\n\t"
      "pushl 20(%ebp)\n\t"
      "pushl 16(%ebp)\n\t"
      "pushl 12(%ebp)\n\t"
      "call *8(%ebp)\n\t"
      "movl %ebp, %esp\n\t"
      "popl %ebp\n\t"
      "ret");
}

#else

// Win64 callers always remove the arguments, and a callee reads only those it declares, so one
// call of ten arguments serves every target.
std::intptr_t CallProcedure(const void* target, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4,
                            std::intptr_t a5, std::intptr_t a6, std::intptr_t a7, std::intptr_t a8, std::intptr_t a9,
                            std::intptr_t a10) {
  using Procedure = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                      std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);
  return reinterpret_cast<Procedure>(target)(a1, a2, a3, a4, a5, a6, a7, a8, a9, a10);
}

#endif

}  // namespace tavrel::skin
