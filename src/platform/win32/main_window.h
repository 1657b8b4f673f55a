// The main window on Win32: the frames, labels, list, text boxes and buttons at their places,
// scaled to the window's DPI in the system's UI font, with tool tips, and drops accepted by the
// window and every visible control. What happens to it goes to WindowEvents.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>

#include "platform/win32/common_controls.h"
#include "platform/win32/list_box.h"
#include "platform/window.h"

namespace zelvo::win32 {

class Win32MainWindow : public MainWindow {
 public:
  // Creates the window hidden, with every control in its start state. `common_controls` must
  // outlive the window.
  Win32MainWindow(HINSTANCE instance, int show_command, const CommonControls& common_controls);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND Handle() const { return window_; }
  void SetEvents(WindowEvents* events) { events_ = events; }

  // Runs until the window is gone; returns the process's exit code.
  int RunMessageLoop();

  void SetText(Control control, const std::string& text) override;
  void SetToolTip(Control control, const std::string& text) override;
  void SetEnabled(Control control, bool enabled) override;
  void Show() override;
  ListBox& NameList() override { return names_; }

 private:
  static constexpr size_t kControlCount = 12;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void CreateToolTips();
  // Places every control and sets the font for `dpi`.
  void ApplyDpi(UINT dpi);
  void DrawLabel(const DRAWITEMSTRUCT& item);
  void DropOn(Control target, HDROP drop);
  // Gives the control the text SetText last gave it, when it does not have it yet.
  void ApplyPendingText(Control control);
  HWND Window(Control control) const { return windows_[static_cast<size_t>(control)]; }

  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

  HINSTANCE instance_;
  int show_command_;
  const CommonControls& common_controls_;
  HWND window_ = nullptr;
  HWND tool_tips_ = nullptr;
  HWND last_focus_ = nullptr;  // the control to give the keyboard back to on activation
  std::array<HWND, kControlCount> windows_{};
  // The text each control was given last: no one else changes them (the text boxes are
  // read-only). A control's own text follows when it is next read or drawn.
  std::array<std::wstring, kControlCount> texts_;
  std::array<bool, kControlCount> text_pending_{};
  bool applying_text_ = false;
  Win32ListBox names_;
  Font font_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  WindowEvents* events_ = nullptr;
};

}  // namespace zelvo::win32
