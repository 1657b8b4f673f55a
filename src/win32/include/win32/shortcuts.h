// Shortcut targets through the shell's own link object (IShellLinkW), which needs no Windows
// Script Host. The calling thread must be in a COM apartment (ComApartment).
#pragma once

#include "platform/shortcuts.h"

namespace zelvo::win32 {

class Win32Shortcuts : public Shortcuts {
 public:
  std::string TargetPath(const std::string& shortcut_path) override;
};

}  // namespace zelvo::win32
