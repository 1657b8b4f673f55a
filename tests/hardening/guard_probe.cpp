// A program with Zelvo's stack protection, made to overrun its stack on request, so that a test
// can see the protection end it. Command line: "guard FILE" writes the canary to FILE (hex);
// "smash N" writes N bytes into a 16-byte local array one by one (the canary check catches it
// on return); "copy N" copies N bytes into one with memcpy (the fortified memcpy catches it).
// Exit code 0 when nothing was caught.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "win32/system/stack_guard.h"

namespace {

[[gnu::noinline]] int Smash(size_t length) {
  char buffer[16];
  volatile char* bytes = buffer;
  for (size_t index = 0; index < length; ++index) bytes[index] = 'A';
  return buffer[0];
}

[[gnu::noinline]] int Copy(const char* source, size_t length) {
  char buffer[16];
  std::memcpy(buffer, source, length);
  return buffer[0];
}

[[gnu::noinline]] int Run(int count, wchar_t** arguments) {
  if (count != 3) return 100;
  const std::wstring mode = arguments[1];
  if (mode == L"guard") {
    FILE* file = _wfopen(arguments[2], L"w");
    if (file == nullptr) return 101;
    std::fprintf(file, "%llx", zelvo::win32::StackGuard());
    return std::fclose(file) == 0 ? 0 : 102;
  }
  const size_t length = std::wcstoul(arguments[2], nullptr, 10);
  if (mode == L"smash") return Smash(length) == 'A' ? 0 : 103;
  static const char kSource[256] = {'A'};
  if (mode == L"copy" && length <= sizeof kSource) return Copy(kSource, length) == 'A' ? 0 : 104;
  return 105;
}

}  // namespace

__attribute__((no_stack_protector)) int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  zelvo::win32::InitializeStackGuard();
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return 106;
  const int result = Run(count, arguments);
  LocalFree(arguments);
  return result;
}
