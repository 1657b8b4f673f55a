// A program with the stack protector but with libssp's own canary seeding (it does not link
// the program's definitions of the canary): the header check must find the call that seeding
// makes before the program's first line.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  wchar_t buffer[64] = {};
  std::wcsncpy(buffer, command_line, 63);
  return static_cast<int>(buffer[0]);
}
