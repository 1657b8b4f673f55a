// Files dropped from the shell on the main window or one of its controls.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/window.h"
#include "win32/system/owner.h"

namespace zelvo::win32 {

// The files of a WM_DROPFILES; the drop is released with the object.
class DropList : public DroppedFiles {
 public:
  explicit DropList(HDROP drop) : drop_(drop) {}

  size_t Count(size_t at_most) override;
  std::string Path(size_t index) override;

 private:
  UniqueDrop drop_;
};

// Lets drops from a normal Explorer reach `window` when the program runs elevated.
void AcceptDropsFromLowerIntegrity(HWND window);

}  // namespace zelvo::win32
