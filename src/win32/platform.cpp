#include "win32/platform.h"

#include <commctrl.h>

namespace zelvo::win32 {

Win32Platform::Win32Platform(Win32System& system_, HINSTANCE instance, int show_command,
                             const Texts& language, ErrorTrap& trap)
    : system(system_),
      texts(language),
      common_controls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES),
      window(instance, show_command, language, trap) {
  system.dialogs.SetOwner(window.Handle());
  system.environment.SetOwner(window.Handle());
  system.clipboard.SetOwner(window.Handle());
}

Platform Win32Platform::Interfaces() {
  return Platform{system.dialogs,  system.files,       system.shortcuts,
                  system.clock,    system.environment, system.code_page,
                  system.collator, system.launcher,    window,
                  texts,           system.shell,       system.clipboard};
}

}  // namespace zelvo::win32
