// The Windows side of everything, assembled once: what zelvo.exe runs on, and the benchmarks
// that measure parts of it.
#pragma once

#include <windows.h>

#include "platform/platform.h"
#include "win32/clock.h"
#include "win32/common_controls.h"
#include "win32/dialogs.h"
#include "win32/environment.h"
#include "win32/file_system.h"
#include "win32/main_window.h"
#include "win32/process.h"
#include "win32/shortcuts.h"
#include "win32/text_codec.h"

namespace zelvo::win32 {

// Everything but the window: the message boxes, the files, the shortcuts, the clock, the code
// page and collation, starting programs, and what the program knows of itself.
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
};

// The system and the main window, created hidden, which owns the message boxes.
class Win32Platform : public Win32System {
 public:
  // The window and the program speak the language of `language`, which must outlive them.
  Win32Platform(HINSTANCE instance, int show_command, const Texts& language);

  // The program's logic runs on these.
  Platform Interfaces();

  const Texts& texts;
  // comctl32, loaded from System32, outlives the window of its classes.
  CommonControls common_controls;
  Win32MainWindow window;
};

}  // namespace zelvo::win32
