#include "win32/system/stack_guard.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdint>

#include "win32/system/module.h"

// The names the compiler's stack protector and mingw-w64's fortified headers refer to.
extern "C" {
uintptr_t __stack_chk_guard = 0;
[[noreturn]] void __stack_chk_fail();
[[noreturn]] void __chk_fail();
}

namespace zelvo::win32 {
namespace {

// STATUS_STACK_BUFFER_OVERRUN, and the fast-fail codes for a smashed stack and for a range
// check (winnt.h's FAST_FAIL_*).
constexpr UINT kStackBufferOverrun = 0xC0000409;
constexpr unsigned kFastFailStackCookie = 2;
constexpr unsigned kFastFailRangeCheck = 8;

// Ends the process at once, without unwinding, running handlers or flushing anything: the stack
// can no longer be trusted. Windows 8 and later report it as a fast fail (int 0x29); older ones
// end the process with the same status.
[[noreturn]] void FailFast(unsigned code) {
  if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) {
    __asm__ volatile("int $0x29" : : "c"(code) : "memory");
  }
  TerminateProcess(GetCurrentProcess(), kStackBufferOverrun);
  __builtin_trap();
}

uint64_t SystemRandom() {
  UniqueModule bcrypt;
  try {
    bcrypt = LoadSystemLibrary(L"bcrypt.dll");
  } catch (...) {
    return 0;  // the mix of the caller alone
  }
  using GenRandom = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
  const auto generate = ProcAddress<GenRandom>(bcrypt.Get(), "BCryptGenRandom");
  uint64_t random = 0;
  if (generate == nullptr || generate(nullptr, reinterpret_cast<PUCHAR>(&random), sizeof random,
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    random = 0;
  }
  return random;
}

}  // namespace

void InitializeStackGuard() {
  // What an attacker cannot know in advance even where the generator fails: the time, the
  // process and thread ids, the performance counter, and where ASLR put the stack.
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  uint64_t mix = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  mix ^= static_cast<uint64_t>(counter.QuadPart) << 13;
  mix ^= static_cast<uint64_t>(GetCurrentProcessId()) << 32 ^ GetCurrentThreadId();
  mix ^= GetTickCount64() << 7;
  mix ^= reinterpret_cast<uintptr_t>(&mix);
  mix ^= SystemRandom();
  uintptr_t guard = static_cast<uintptr_t>(sizeof(uintptr_t) == 8 ? mix : mix ^ (mix >> 32));
  // A zero byte first stops string copies that run into the canary from copying it back.
  guard &= ~static_cast<uintptr_t>(0xFF);
  if (guard == 0) guard = 0x2DDFA200;
  __stack_chk_guard = guard;
}

unsigned long long StackGuard() { return __stack_chk_guard; }

}  // namespace zelvo::win32

extern "C" {
void __stack_chk_fail() { zelvo::win32::FailFast(zelvo::win32::kFastFailStackCookie); }
void __chk_fail() { zelvo::win32::FailFast(zelvo::win32::kFastFailRangeCheck); }
}
