#include "win32/platform.h"

#include <commctrl.h>

namespace zelvo::win32 {

Win32Platform::Win32Platform(HINSTANCE instance, int show_command, const Texts& language)
    : texts(language),
      common_controls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES),
      window(instance, show_command, language) {
  dialogs.SetOwner(window.Handle());
}

Platform Win32Platform::Interfaces() {
  return Platform{dialogs,   files,    shortcuts, clock,  environment,
                  code_page, collator, launcher,  window, texts};
}

}  // namespace zelvo::win32
