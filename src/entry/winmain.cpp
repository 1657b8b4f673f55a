// The program's entry point: the Windows side of everything is built here, handed to the
// application's logic, and the window's message loop runs until the window is gone.
#include <windows.h>

#include <optional>

#include "application/error_report.h"
#include "application/zelvo.h"
#include "win32/system/module.h"
#include "win32/platform.h"
#include "win32/system/stack_guard.h"

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

// The window's events go to the program's logic while both exist.
class Connection {
 public:
  Connection(zelvo::win32::Win32MainWindow& window, zelvo::WindowEvents& events) : window_(window) {
    window_.Connect(events);
  }
  ~Connection() { window_.Disconnect(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

 private:
  zelvo::win32::Win32MainWindow& window_;
};

// Builds the window and the program's logic, starts and runs it until the window is gone, and
// returns the exit code. Not inlined into wWinMain, which runs without the stack check.
[[gnu::noinline]] int Run(HINSTANCE instance, int show_command) {
  using namespace zelvo;
  using namespace zelvo::win32;

  const Texts& texts = Texts::For(DisplayLanguage());
  Win32System system;
  ErrorReport report(system.dialogs, texts, system.environment);
  ErrorTrap trap(report);
  std::optional<Win32Platform> platform;
  std::optional<Zelvo> zelvo;
  // Start-up begins with the window and the program's own version and folder.
  if (!trap.Guard("Form_Load()", [&] {
        platform.emplace(system, instance, show_command, texts, trap);
        zelvo.emplace(platform->Interfaces(), trap);
      })) {
    return 1;
  }
  const Connection connection(platform->window, zelvo->Events());
  zelvo->Start();
  return platform->window.RunMessageLoop();
}

}  // namespace

// Built without the stack check: the canary changes while it runs.
__attribute__((no_stack_protector)) int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR,
                                                        int show_command) {
  RestrictDllSearch();
  zelvo::win32::InitializeStackGuard();
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  // Everything the program made is gone by now; the process ends here and nowhere else.
  ExitProcess(static_cast<UINT>(Run(instance, show_command)));
}
