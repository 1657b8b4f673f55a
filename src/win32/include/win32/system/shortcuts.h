// Shortcut targets through the shell's own link object (IShellLinkW), which needs no Windows
// Script Host.
#pragma once

#include <optional>

#include "platform/shortcuts.h"
#include "win32/system/com.h"

namespace zelvo::win32 {

class Win32Shortcuts : public Shortcuts {
 public:
  // The first shortcut read opens this thread's COM apartment, which stays open for the life of
  // the object: opening it costs the program's start-up a fifth of its time under Wine, and most
  // runs read no shortcut at all. Use the object on one thread.
  std::string TargetPath(const std::string& shortcut_path) override;

 private:
  std::optional<ComApartment> com_;
};

}  // namespace zelvo::win32
