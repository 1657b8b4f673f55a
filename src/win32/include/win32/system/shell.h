// Explorer's folder windows and the clipboard, for the list's context menu.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/shell.h"
#include "win32/system/com.h"

namespace zelvo::win32 {

class Win32Shell : public Shell {
 public:
  // Opens (or reuses) Explorer's window of the folder through the shell, with the files
  // selected. The first call opens this thread's COM apartment for the life of the object, as
  // the shortcuts do: most runs never show a folder. Throws Failure when the shell cannot parse
  // a path or show the folder.
  void ShowInFolder(const std::string& folder, const std::vector<std::string>& names) override;

 private:
  std::optional<ComApartment> com_;
};

class Win32Clipboard : public Clipboard {
 public:
  // The window that owns what the program puts on the clipboard: without an owner, Windows may
  // refuse the data.
  void SetOwner(HWND owner) { owner_ = owner; }

  // The text as CF_UNICODETEXT (Windows makes the ANSI and OEM forms from it). Throws Failure
  // when another program keeps the clipboard open for longer than a moment.
  void SetText(const std::string& text) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace zelvo::win32
