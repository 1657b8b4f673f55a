// A program built the way Zelvo must not be: no exploit mitigations in its header, no
// relocations, manifests disabled, no stack protector, and an import of version.dll, which is no
// KnownDLL. The header check must find
// every one of these faults in it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  return static_cast<int>(GetFileVersionInfoSizeW(command_line, nullptr));
}
