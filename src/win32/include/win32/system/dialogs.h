// Message boxes with MessageBoxW, owned by the main window once it exists.
#pragma once

#include <windows.h>

#include "platform/dialogs.h"

namespace zelvo::win32 {

class Win32Dialogs : public Dialogs {
 public:
  // The window the boxes belong to; null (the start) shows them on their own.
  void SetOwner(HWND owner) { owner_ = owner; }

  // Throws Failure when the box cannot be shown.
  Answer Show(const Message& message) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace zelvo::win32
