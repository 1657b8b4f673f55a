// Start-up of zelvo.exe's own window alone: the platform as zelvo.exe assembles it (the COM
// apartment, the common controls, the window with its controls, fonts and tool tips), shown as
// the program shows it, and its message loop; no log, no command line, none of the program's
// logic. Between the bare window of baseline_window.cpp and zelvo.exe, it tells what the window
// costs from what the program does.
#include <windows.h>

#include "application/error_report.h"
#include "version.h"
#include "win32/platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  try {
    const zelvo::Texts& texts = zelvo::Texts::For(zelvo::win32::DisplayLanguage());
    zelvo::win32::Win32System system;
    zelvo::ErrorReport report(system.dialogs, texts, system.environment);
    zelvo::ErrorTrap trap(report);
    zelvo::win32::Win32Platform platform(system, instance, show_command, texts, trap);
    platform.window.SetCaption(texts.Format(zelvo::TextId::WindowCaption, {ZELVO_VERSION_TEXT}));
    platform.window.Show();
    return platform.window.RunMessageLoop();
  } catch (const std::exception&) {
    return 1;
  }
}
