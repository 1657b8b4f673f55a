// The program's entry point: the Windows side of everything is built here, handed to the
// application's logic, and the window's message loop runs until the window is gone.
#include <windows.h>

#include "application/error_report.h"
#include "application/zelvo.h"
#include "win32/module.h"
#include "win32/platform.h"
#include "win32/stack_guard.h"

namespace {

// Only System32 is searched for DLLs that are loaded later: a DLL of a system name planted
// beside the program (in a Downloads folder, say) is never picked up. The program imports only
// KnownDLLs, which Windows always takes from System32 with all they import; everything else
// (comctl32 included) is loaded after this.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto set_directories = zelvo::win32::SystemFunction<SetDefaultDllDirectoriesFunction>(
      L"kernel32.dll", "SetDefaultDllDirectories");
  if (set_directories) set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");  // and never the current folder, on systems without the above
}

// The window's events and failures go to the application while both exist.
class Connection {
 public:
  Connection(zelvo::win32::Win32MainWindow& window, zelvo::Zelvo& app) : window_(window) {
    window_.Connect(app, app.Trap());
  }
  ~Connection() { window_.Disconnect(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

 private:
  zelvo::win32::Win32MainWindow& window_;
};

// Not inlined into wWinMain, which runs without the stack check.
[[gnu::noinline]] int Run(HINSTANCE instance, int show_command) {
  using namespace zelvo;
  using namespace zelvo::win32;

  const Texts& texts = Texts::For(DisplayLanguage());
  Win32Dialogs dialogs;
  Win32Environment environment;
  try {
    Win32Platform platform(instance, show_command, texts);
    Zelvo app(platform.Interfaces());
    const Connection connection(platform.window, app);
    app.Form_Load();
    return platform.window.RunMessageLoop();
  } catch (const std::exception& error) {
    // Only the building of the window can fail here: the window's own handlers trap theirs.
    ErrorReport report(dialogs, texts, environment);
    ErrorTrap(report).Report("Form_Load()", error);
    return 1;
  }
}

}  // namespace

// Built without the stack check: the canary changes while it runs.
__attribute__((no_stack_protector)) int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR,
                                                        int show_command) {
  RestrictDllSearch();
  zelvo::win32::InitializeStackGuard();
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  return Run(instance, show_command);
}
