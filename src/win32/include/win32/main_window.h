// The main window on Win32: the controls of the control table at their places, scaled to the
// window's DPI in the system's UI font, with tool tips, and drops accepted by the window and
// every visible control. What happens to it goes to WindowEvents; what fails in its own
// callbacks goes to the error trap it is connected to.
#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "base/error_trap.h"
#include "platform/texts.h"
#include "platform/window.h"
#include "win32/list_box.h"
#include "win32/owner.h"
#include "win32/tool_tips.h"

namespace zelvo::win32 {

class Win32MainWindow : public MainWindow {
 public:
  // Creates the window hidden, with every control in its start state and its texts from
  // `texts`, which must outlive it. The common controls (CommonControls) must be loaded for the
  // life of the window.
  Win32MainWindow(HINSTANCE instance, int show_command, const Texts& texts);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND Handle() const { return window_; }

  // From here on the window's events go to `events`, and what fails in its callbacks is
  // reported through `trap`; both must outlive the connection. Disconnect before they go.
  void Connect(WindowEvents& events, ErrorTrap& trap);
  void Disconnect();

  // Runs until the window is gone; returns the process's exit code.
  int RunMessageLoop();

  void SetText(Control control, const std::string& text) override;
  void SetToolTip(Control control, const std::string& text) override;
  void SetEnabled(Control control, bool enabled) override;
  void Show() override;
  ListBox& NameList() override { return names_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnControlMessage(Control control, UINT message, WPARAM wparam, LPARAM lparam);
  // Runs the body of a callback of `control`: what it throws never leaves it (see Connect).
  template <class Body>
  void Guarded(Control control, Body&& body) noexcept;
  void CreateControls();
  // Places every control and sets the font for `dpi`.
  void ApplyDpi(UINT dpi);
  // Passes a mouse message of `control` on to the tool tips, which it makes the first time.
  void ShowToolTipsFrom(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  // Gives the keyboard to the control that had it last, as a dialog box does on activation.
  bool RestoreFocus();
  // Gives the control the text SetText last gave it, when it does not have it yet.
  void ApplyPendingText(Control control);
  HWND Window(Control control) const { return windows_[static_cast<size_t>(control)]; }

  HINSTANCE instance_;
  int show_command_;
  const Texts& catalogue_;
  HWND window_ = nullptr;
  std::optional<ToolTips> tool_tips_;
  HWND last_focus_ = nullptr;  // the control to give the keyboard back to on activation
  std::array<HWND, kControlCount> windows_{};
  // Each control's own window procedure, which ControlProc passes every message on to.
  std::array<WNDPROC, kControlCount> control_procs_{};
  // The text and the enabled state each control was given last: no one else changes them (the
  // text boxes are read-only). A control's own text follows when it is next read or drawn.
  std::array<std::wstring, kControlCount> texts_;
  std::array<bool, kControlCount> text_pending_{};
  std::array<bool, kControlCount> enabled_{};
  // The tool tip of each control that has one, as given last.
  std::array<std::wstring, kControlCount> tool_tip_texts_;
  // How a failure in each control's callback is reported: frmMain_WindowProc() ...
  std::array<std::string, kControlCount> callback_sources_;
  bool applying_text_ = false;
  Win32ListBox names_;
  UniqueFont font_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  WindowEvents* events_ = nullptr;
  ErrorTrap* trap_ = nullptr;
  // What a callback threw before the window was connected to a trap: the constructor throws it.
  std::exception_ptr unconnected_failure_;
};

}  // namespace zelvo::win32
