// The program's main window seen from the test: reading its caption and controls as a user
// sees them, and acting on it as a user does (clicks, selections, drops, closing, logging off).
// Control ids are those of win32/window/control_ids.h (the control table of
// win32/window/controls.h).
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver/image.h"

namespace zelvo::e2e {

class ZelvoProcess;

// The modifier keys held during a click in a list.
enum class Keys { None, Control, Shift };

// Valid while its ZelvoProcess lives. Texts are UTF-8.
class MainWindow {
 public:
  MainWindow(const ZelvoProcess& process, HWND hwnd);

  HWND Handle() const { return hwnd_; }
  // The control's window; throws when the main window has no child with this id.
  HWND Control(int id) const;
  bool HasControl(int id) const;

  std::string Caption() const;
  std::string Text(int id) const;
  bool IsEnabled(int id) const;
  // Visible on screen: the control and the window it lies in.
  bool IsVisible(int id) const;
  // The control's window rectangle in the main window's client coordinates.
  RECT Rect(int id) const;
  SIZE ClientSize() const;
  // The control's tool tip text; nullopt when it has none.
  std::optional<std::string> ToolTip(int id) const;
  // The ids of all controls in z-order, depth first: the tab order.
  std::vector<int> ControlOrder() const;
  // The control with the keyboard focus, if the focus is in this window.
  std::optional<int> FocusedControl() const;
  // GetClassName of the control ("Button", "Edit", "ListBox", "Static") and its styles.
  std::string ControlClass(int id) const;
  DWORD Style(int id) const;

  // List boxes.
  std::vector<std::string> Rows(int list_id) const;
  std::vector<int> SelectedRows(int list_id) const;
  std::vector<std::string> SelectedTexts(int list_id) const;
  // The row with the focus rectangle (LB_GETCARETINDEX).
  int CaretRow(int list_id) const;

  // Clicks a button as a user does. Posted, so it returns at once even when the click opens a
  // message box; wait for the box or for the state that the click brings. Throws for a
  // disabled or hidden control (a user cannot click it), as ClickRow does.
  void Click(int button_id) const;
  // Clicks a row of a list (scrolled into view first) with the keys held, as a user does: the
  // list itself changes the selection and notifies the window (LBN_SELCHANGE). Returns once the
  // program has handled the click.
  void ClickRow(int list_id, int row, Keys keys = Keys::None) const;
  // Right-clicks a row of a list (scrolled into view first), as a user does to open its context
  // menu. Posted: the menu holds the program until it is closed (ZelvoProcess::PressInMenu).
  void RightClickRow(int list_id, int row) const;
  // Returns once the program has handled every message that this driver posted to it before.
  void Sync() const;

  // Closing: WM_CLOSE; WM_SYSCOMMAND SC_CLOSE (the close box and the system menu); Alt+F4 on
  // the window. All posted.
  void Close() const;
  void CloseBySystemCommand() const;
  void PressAltF4() const;
  // Logging off as Windows does: WM_QUERYENDSESSION, and when the program agrees WM_ENDSESSION,
  // both with ENDSESSION_LOGOFF and each waited for. Returns the program's answer to the query.
  // Windows would end the process after WM_ENDSESSION; here the program ends by itself or the
  // test kills it. A box shown while either is handled makes this throw after the timeout.
  bool LogOff() const;

  // Drops files on the window itself (at its client origin), or on the control (at its
  // centre): WM_DROPFILES goes straight to that window, so its own drop handling runs.
  void DropFiles(const std::vector<std::filesystem::path>& paths) const;
  void DropFiles(int control_id, const std::vector<std::filesystem::path>& paths) const;
  // Drops files at a point of the client area as the shell does: the window that gets them is
  // the deepest visible, enabled control there that does not let the mouse through (frames, and
  // labels without SS_NOTIFY, do), or the first of its parents that accepts files. Returns that
  // window's control id, 0 for the main window.
  int DropFilesAt(POINT point, const std::vector<std::filesystem::path>& paths) const;

  // Pixels as they are on screen, once the window has stopped changing.
  Image Capture() const;
  Image CaptureControl(int id) const;
  // A screenshot of the whole window, frame included, as a 24-bit BMP file.
  void SaveScreenshot(const std::filesystem::path& bmp) const;

 private:
  const ZelvoProcess* process_;
  HWND hwnd_;
};

// The pixels of a top-level window of any program, frame included, once it has stopped
// changing: lifted above the other tests' windows while they are read.
Image CaptureWindow(HWND window);

}  // namespace zelvo::e2e
