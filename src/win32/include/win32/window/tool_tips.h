// The main window's tool tips: one tool per control that has a tip, the text shown when the
// mouse rests on the control.
#pragma once

#include <windows.h>

#include <string>

namespace zelvo::win32 {

class ToolTips {
 public:
  // Creates the tool tip window of `owner`, which destroys it with itself.
  ToolTips(HWND owner, HINSTANCE instance);
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  // Gives `control`, a child of the owner, a tool with `text`.
  void Add(HWND control, const std::wstring& text);
  // Replaces the text of the tool of `control`.
  void SetText(HWND control, const std::wstring& text);
  // Shows, moves or hides the tip as the mouse `message` to `control` asks; other messages are
  // let be.
  void Relay(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  // Texts longer than `pixels` wrap instead of running across the screen.
  void SetMaxWidth(int pixels);

 private:
  HWND owner_;
  HWND window_;
};

}  // namespace zelvo::win32
