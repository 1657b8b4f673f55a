// The unprotected program that proves a planted DLL can be caught at all: it loads each DLL
// named on its command line by its bare name, with the standard search order (its own folder
// first), exactly as a program that takes no care does. It imports nothing but kernel32 and the
// C runtime, so that nothing else is loaded before it asks. Command line: "PROGRAM" NAME...
// (names without spaces). Exit code: how many could not be loaded.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring command_line = GetCommandLineW();
  // The program's own path comes first, in quotes.
  size_t position = command_line.find(L'"', 1);
  position = position == std::wstring::npos ? command_line.size() : position + 1;
  int failed = 0;
  while (position < command_line.size()) {
    const size_t start = command_line.find_first_not_of(L' ', position);
    if (start == std::wstring::npos) break;
    size_t end = command_line.find(L' ', start);
    if (end == std::wstring::npos) end = command_line.size();
    if (LoadLibraryW(command_line.substr(start, end - start).c_str()) == nullptr) ++failed;
    position = end;
  }
  return failed;
}
