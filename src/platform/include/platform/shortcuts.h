// Following a shortcut (.lnk) file to its target.
#pragma once

#include <string>

namespace zelvo {

class Shortcuts {
 public:
  virtual ~Shortcuts() = default;
  // The full path the shortcut points at; "" when it points at something that is no file.
  // Throws Failure when the shortcut cannot be read.
  virtual std::string TargetPath(const std::string& shortcut_path) = 0;
};

}  // namespace zelvo
