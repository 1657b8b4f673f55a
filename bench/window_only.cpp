// Start-up of zelvo.exe's own window alone: the common controls, the window with its controls,
// fonts and tool tips, shown as the program shows it, and its message loop; no log, no command
// line, none of the program's logic. Between the bare window of baseline_window.cpp and
// zelvo.exe, it tells what the window costs from what the program does.
#include <windows.h>

#include "platform/win32/com.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/main_window.h"
#include "version.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  using namespace zelvo::win32;
  try {
    // As zelvo.exe starts: the COM apartment first, then the common controls.
    ComApartment com;
    CommonControls common_controls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);
    Win32MainWindow window(instance, show_command, common_controls);
    window.SetText(zelvo::Control::frmMain, "Zelvoちゃん Version " ZELVO_VERSION_TEXT);
    window.Show();
    return window.RunMessageLoop();
  } catch (const std::exception&) {
    return 1;
  }
}
