// The Windows side of everything, assembled once: what zelvo.exe runs on, and the benchmarks
// that measure parts of it.
#pragma once

#include <windows.h>

#include "base/error_trap.h"
#include "platform/platform.h"
#include "win32/system/clock.h"
#include "win32/system/dialogs.h"
#include "win32/system/environment.h"
#include "win32/system/file_system.h"
#include "win32/system/process.h"
#include "win32/system/shell.h"
#include "win32/system/shortcuts.h"
#include "win32/system/text_codec.h"
#include "win32/window/common_controls.h"
#include "win32/window/main_window.h"

namespace zelvo::win32 {

// Everything but the window: the message boxes, the files, the shortcuts, the clock, the code
// page and collation, starting programs, Explorer's folder windows and the clipboard, and what
// the program knows of itself.
class Win32System {
 public:
  Win32System() = default;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  Win32Dialogs dialogs;
  Win32Environment environment;
  Win32FileSystem files;
  Win32Shortcuts shortcuts;
  Win32Clock clock;
  Win32AnsiCodePage code_page;
  Win32Collator collator;
  Win32ProcessLauncher launcher;
  Win32Shell shell;
  Win32Clipboard clipboard;
};

// The system and the main window on it, created hidden, which owns the message boxes.
class Win32Platform {
 public:
  // The window and the program speak the language of `language`; a failure in the window's
  // own callbacks is reported through `trap`. All three must outlive the object.
  Win32Platform(Win32System& system, HINSTANCE instance, int show_command, const Texts& language,
                ErrorTrap& trap);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // The program's logic runs on these.
  Platform Interfaces();

  Win32System& system;
  const Texts& texts;
  // comctl32, loaded from System32, outlives the window of its classes.
  CommonControls common_controls;
  Win32MainWindow window;
};

}  // namespace zelvo::win32
