// The main window on Win32: the controls of the control table at their places, scaled to the
// window's DPI in the system's UI font, with tool tips, drops accepted by the window and every
// visible control, the list's keys and context menu, and names for screen readers. It shows
// what the program's logic asks of it (MainView) and reports what the user does to
// WindowEvents. A failure in its own callbacks is reported through the error trap it shares with
// the program, and ends the program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/error_trap.h"
#include "platform/texts.h"
#include "platform/window.h"
#include "win32/system/owner.h"
#include "win32/window/accessible_names.h"
#include "win32/window/control_set.h"
#include "win32/window/list_box.h"
#include "win32/window/tool_tips.h"

namespace zelvo::win32 {

class Win32MainWindow : public MainView {
 public:
  // Creates the window hidden, with every control in its start state and its texts from
  // `texts`, which must outlive it, as must `trap`. The common controls (CommonControls) must
  // be loaded for the life of the window.
  Win32MainWindow(HINSTANCE instance, int show_command, const Texts& texts, ErrorTrap& trap);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  // The window, or null once it is gone.
  HWND Handle() const { return window_; }

  // From here on the window's events go to `events`, which must outlive the connection.
  // Disconnect before it goes.
  void Connect(WindowEvents& events) { events_ = &events; }
  void Disconnect() { events_ = nullptr; }

  // Runs until the window is gone; returns the exit code it was closed with.
  int RunMessageLoop();

  // MainView
  void SetCaption(const std::string& caption) override;
  void Show() override;
  void ShowEntry(const std::string& name, const std::string& folder,
                 const std::string& date) override;
  void EnableActions(bool enabled) override;
  void ShowStatus(const std::string& text) override;
  ListBox& Rows() override { return names_; }
  void Close(int exit_code) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnControlMessage(Control control, UINT message, WPARAM wparam, LPARAM lparam);
  // Runs a callback's body: a failure in it is reported under `source`, and the program ends.
  template <class Body>
  void Guarded(const std::string& source, Body&& body) noexcept;
  void CommandOf(Control control, int code);
  // The keys of the list that act as the buttons do (Delete, Enter) or select (Ctrl+A); true
  // when the key was one of them.
  bool ListKey(WPARAM key);
  // Shows the list's context menu at `position` (screen coordinates, or -1, -1 when it was
  // opened from the keyboard) and does what the user chooses in it.
  void ShowListMenu(LPARAM position);
  // Whether the actions on the selection can be used, as the buttons show.
  bool ActionsEnabled() { return controls_[Control::cmdReturn].enabled; }
  void DroppedOn(Control control, HDROP drop);
  // Places every control and sets the font for `dpi`.
  void ApplyDpi(UINT dpi);
  // Passes a mouse message of `control` on to the tool tips, which it makes the first time.
  void ShowToolTipsFrom(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  void SetToolTip(Control control, const std::string& text);
  // Draws the labels again, in the colours the theme now asks for.
  void RedrawLabels();
  // Gives the keyboard to the control that had it last, as a dialog box does on activation.
  bool RestoreFocus();

  HINSTANCE instance_;
  int show_command_;
  const Texts& catalogue_;
  ErrorTrap& trap_;
  HWND window_ = nullptr;
  ControlSet controls_;
  std::optional<ToolTips> tool_tips_;
  AccessibleNames accessible_names_;
  HWND last_focus_ = nullptr;  // the control to give the keyboard back to on activation
  Win32ListBox names_;
  UniqueFont font_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  WindowEvents* events_ = nullptr;
  int exit_code_ = 0;
};

}  // namespace zelvo::win32
