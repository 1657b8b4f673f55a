// The program's entry point: the Windows side of everything is built here, handed to the
// application's logic, and the window's message loop runs until the window is gone.
#include <windows.h>
#include <commctrl.h>

#include "app/zelvo.h"
#include "platform/win32/clock.h"
#include "platform/win32/com.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/environment.h"
#include "platform/win32/file_system.h"
#include "platform/win32/main_window.h"
#include "platform/win32/process.h"
#include "platform/win32/shortcuts.h"
#include "platform/win32/stack_guard.h"
#include "platform/win32/text_codec.h"

namespace {

// Only System32 is searched for DLLs that are loaded later: a DLL of a system name planted
// beside the program (in a Downloads folder, say) is never picked up. The program imports only
// KnownDLLs, which Windows always takes from System32 with all they import; everything else
// (comctl32 included) is loaded after this.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const FARPROC found =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  const auto set_directories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
  if (set_directories) set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");  // and never the current folder, on systems without the above
}

// Not inlined into wWinMain, which runs without the stack check.
[[gnu::noinline]] int Run(HINSTANCE instance, int show_command) {
  using namespace zelvo;
  using namespace zelvo::win32;

  Win32Dialogs dialogs;
  Win32Environment environment;
  try {
    ComApartment com;
    CommonControls common_controls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);

    Win32FileSystem files;
    Win32Shortcuts shortcuts;
    Win32Clock clock;
    Win32AnsiCodePage code_page;
    Win32Collator collator;
    Win32ProcessLauncher launcher;
    Win32MainWindow window(instance, show_command, common_controls);
    dialogs.SetOwner(window.Handle());

    Zelvo app(Platform{dialogs, files, shortcuts, clock, environment, code_page, collator, launcher,
                       window});
    window.SetEvents(&app);
    app.Form_Load();
    const int exit_code = window.RunMessageLoop();
    window.SetEvents(nullptr);
    return exit_code;
  } catch (const std::exception& error) {
    // Only the building of the window can fail here: the window's own handlers trap theirs.
    ErrorTrap trap(dialogs, environment);
    trap.Report("Form_Load()", error);
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
