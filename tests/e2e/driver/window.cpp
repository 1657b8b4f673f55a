#include "driver/window.h"

#include <commctrl.h>

#include "driver/errors.h"
#include "driver/process.h"
#include "driver/remote.h"
#include "win32/system/strings.h"

namespace zelvo::e2e {

namespace {

struct ChildSearch {
  int id;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<ChildSearch*>(lparam);
  if (search->class_name) {
    wchar_t name[257] = {};
    GetClassNameW(hwnd, name, 257);
    if (CompareStringOrdinal(name, -1, search->class_name, -1, TRUE) != CSTR_EQUAL) return TRUE;
  } else if (GetDlgCtrlID(hwnd) != search->id) {
    return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

// Controls may lie inside their frames: the search covers all descendants.
HWND FindControl(HWND window, int id) {
  ChildSearch search{id, nullptr, nullptr};
  EnumChildWindows(window, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindControlOfClass(HWND window, const wchar_t* class_name) {
  ChildSearch search{0, class_name, nullptr};
  EnumChildWindows(window, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A user cannot click what is disabled or hidden; a test that tries has a wrong premise.
HWND Clickable(HWND control, int id) {
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
    throw DriverError("control " + std::to_string(id) + " is " +
                      (IsWindowVisible(control) ? "disabled" : "hidden") +
                      ": a user cannot click it");
  }
  return control;
}

RECT ScreenRect(HWND hwnd) {
  RECT rect{};
  Check(GetWindowRect(hwnd, &rect), "GetWindowRect");
  return rect;
}

// The window that the system hands a drop at this screen point to: the deepest visible,
// enabled child under it that does not answer HTTRANSPARENT to WM_NCHITTEST (labels and frames
// do), then up to the first that accepts files. Asked of the program itself, since WindowFromPoint
// does not hit-test another process's windows on Wine.
HWND DropTargetAt(HWND window, POINT screen) {
  HWND hit = window;
  for (bool deeper = true; deeper;) {
    deeper = false;
    for (HWND child = GetWindow(hit, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const RECT rect = ScreenRect(child);
      if (!IsWindowVisible(child) || !IsWindowEnabled(child) || !PtInRect(&rect, screen)) continue;
      if (Send(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) continue;
      hit = child;
      deeper = true;
      break;
    }
  }
  while (hit && !(GetWindowLongPtrW(hit, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) {
    hit = hit == window ? nullptr : GetParent(hit);
  }
  if (!hit) throw DriverError("nothing under the point accepts dropped files");
  return hit;
}

}  // namespace

MainWindow::MainWindow(const ZelvoProcess& process, HWND hwnd) : process_(&process), hwnd_(hwnd) {}

HWND MainWindow::Control(int id) const {
  HWND control = FindControl(hwnd_, id);
  if (!control) throw DriverError("the main window has no control " + std::to_string(id));
  return control;
}

bool MainWindow::HasControl(int id) const { return FindControl(hwnd_, id) != nullptr; }

std::string MainWindow::Caption() const { return WindowText(hwnd_); }

std::string MainWindow::Text(int id) const { return WindowText(Control(id)); }

bool MainWindow::IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

bool MainWindow::IsVisible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }

RECT MainWindow::Rect(int id) const {
  RECT rect = ScreenRect(Control(id));
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE MainWindow::ClientSize() const {
  RECT rect{};
  Check(GetClientRect(hwnd_, &rect), "GetClientRect");
  return {rect.right, rect.bottom};
}

std::optional<std::string> MainWindow::ToolTip(int id) const {
  // The program makes its tips when the mouse first comes over a control.
  SendMessageW(Control(id), WM_MOUSEMOVE, 0, 0);
  return ToolTipText(process_->Handle(), process_->Id(), Control(id));
}

namespace {

void CollectInZOrder(HWND parent, std::vector<int>& ids) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
    CollectInZOrder(child, ids);
  }
}

}  // namespace

std::vector<int> MainWindow::ControlOrder() const {
  std::vector<int> ids;
  CollectInZOrder(hwnd_, ids);
  return ids;
}

std::optional<int> MainWindow::FocusedControl() const {
  GUITHREADINFO info{sizeof(info)};
  Check(GetGUIThreadInfo(GetWindowThreadProcessId(hwnd_, nullptr), &info), "GetGUIThreadInfo");
  if (!info.hwndFocus || (info.hwndFocus != hwnd_ && !IsChild(hwnd_, info.hwndFocus))) {
    return std::nullopt;
  }
  return info.hwndFocus == hwnd_ ? 0 : GetDlgCtrlID(info.hwndFocus);
}

std::string MainWindow::ControlClass(int id) const { return ClassName(Control(id)); }

DWORD MainWindow::Style(int id) const {
  return static_cast<DWORD>(GetWindowLongPtrW(Control(id), GWL_STYLE));
}

std::vector<std::string> MainWindow::Rows(int list_id) const {
  HWND list = Control(list_id);
  const auto count = static_cast<int>(Send(list, LB_GETCOUNT));
  if (count < 0) throw DriverError("LB_GETCOUNT failed");
  std::vector<std::string> rows;
  for (int row = 0; row < count; ++row) {
    const auto length = static_cast<size_t>(Send(list, LB_GETTEXTLEN, row));
    std::wstring text(length + 1, L'\0');
    Send(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    rows.push_back(win32::Utf8(text));
  }
  return rows;
}

std::vector<int> MainWindow::SelectedRows(int list_id) const {
  HWND list = Control(list_id);
  const auto count = static_cast<int>(Send(list, LB_GETSELCOUNT));
  if (count <= 0) return {};
  std::vector<int> rows(static_cast<size_t>(count));
  const auto copied =
      static_cast<int>(Send(list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(rows.data())));
  rows.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
  return rows;
}

std::vector<std::string> MainWindow::SelectedTexts(int list_id) const {
  const std::vector<std::string> rows = Rows(list_id);
  std::vector<std::string> texts;
  for (int row : SelectedRows(list_id)) texts.push_back(rows.at(static_cast<size_t>(row)));
  return texts;
}

int MainWindow::CaretRow(int list_id) const {
  return static_cast<int>(Send(Control(list_id), LB_GETCARETINDEX));
}

void MainWindow::Click(int button_id) const {
  Post(Clickable(Control(button_id), button_id), BM_CLICK);
}

namespace {

// The centre of a row of a list, scrolled into view first as a user would with the scroll bar.
LPARAM RowCentre(HWND list, int row) {
  const auto count = static_cast<int>(Send(list, LB_GETCOUNT));
  if (row < 0 || row >= count) {
    throw DriverError("row " + std::to_string(row) + " of a list of " + std::to_string(count));
  }
  RECT client{};
  GetClientRect(list, &client);
  RECT item{};
  Send(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
  if (item.top < client.top || item.bottom > client.bottom) {
    // Scrolling selects nothing.
    Send(list, LB_SETTOPINDEX, row);
    Send(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
  }
  return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

}  // namespace

void MainWindow::RightClickRow(int list_id, int row) const {
  HWND list = Clickable(Control(list_id), list_id);
  const LPARAM point = RowCentre(list, row);
  // The list box passes the release on to the system, which asks its owner for the context
  // menu (WM_CONTEXTMENU) at the pointer's place.
  Post(list, WM_RBUTTONDOWN, MK_RBUTTON, point);
  Post(list, WM_RBUTTONUP, 0, point);
}

void MainWindow::ClickRow(int list_id, int row, Keys keys) const {
  HWND list = Clickable(Control(list_id), list_id);
  const LPARAM point = RowCentre(list, row);
  const WPARAM held = keys == Keys::Control ? MK_CONTROL : keys == Keys::Shift ? MK_SHIFT : 0;
  // The list reads the keys from the message, as from a real click. Both are posted together,
  // so no mouse move can come between them while the list holds the capture.
  Post(list, WM_LBUTTONDOWN, held | MK_LBUTTON, point);
  Post(list, WM_LBUTTONUP, held, point);
  Sync();
}

void MainWindow::Sync() const {
  // Posted messages are handled in order, and sent ones overtake them: a posted marker that a
  // sent query can see fences everything posted before it. The marker is a list's horizontal
  // extent, which shows only in a list with a horizontal scroll bar, and is put back at once.
  HWND list = FindControlOfClass(hwnd_, WC_LISTBOXW);
  if (!list) throw DriverError("Sync needs a list box in the main window");
  const LRESULT extent = Send(list, LB_GETHORIZONTALEXTENT);
  const LRESULT marker = extent + 1;
  Post(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(marker));
  const bool handled = WaitFor([&] { return Send(list, LB_GETHORIZONTALEXTENT) == marker; });
  Send(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent));
  if (!handled) throw DriverError("the program did not get through its messages in time");
}

void MainWindow::Close() const { Post(hwnd_, WM_CLOSE); }

void MainWindow::CloseBySystemCommand() const { Post(hwnd_, WM_SYSCOMMAND, SC_CLOSE); }

void MainWindow::PressAltF4() const {
  // Bit 29 (the context code) says Alt is down; DefWindowProc turns the key into SC_CLOSE.
  const LPARAM scan_code = static_cast<LPARAM>(MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC)) << 16;
  Post(hwnd_, WM_SYSKEYDOWN, VK_F4, 0x20000001 | scan_code);
}

bool MainWindow::LogOff() const {
  const bool agreed = Send(hwnd_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE;
  if (agreed) Send(hwnd_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  return agreed;
}

void MainWindow::DropFiles(const std::vector<std::filesystem::path>& paths) const {
  e2e::DropFiles(process_->Handle(), hwnd_, paths, {0, 0});
}

void MainWindow::DropFiles(int control_id, const std::vector<std::filesystem::path>& paths) const {
  HWND control = Control(control_id);
  RECT client{};
  GetClientRect(control, &client);
  e2e::DropFiles(process_->Handle(), control, paths, {client.right / 2, client.bottom / 2});
}

int MainWindow::DropFilesAt(POINT point, const std::vector<std::filesystem::path>& paths) const {
  POINT screen = point;
  ClientToScreen(hwnd_, &screen);
  HWND target = DropTargetAt(hwnd_, screen);
  POINT client = screen;
  ScreenToClient(target, &client);
  e2e::DropFiles(process_->Handle(), target, paths, client);
  return target == hwnd_ ? 0 : GetDlgCtrlID(target);
}

namespace {

// True when every point of a grid over `area` shows `root` or one of its controls.
bool ShowsOnly(HWND root, const RECT& area) {
  constexpr int kSteps = 8;
  for (int row = 0; row <= kSteps; ++row) {
    for (int column = 0; column <= kSteps; ++column) {
      const POINT point{area.left + (area.right - 1 - area.left) * column / kSteps,
                        area.top + (area.bottom - 1 - area.top) * row / kSteps};
      const HWND shown = WindowFromPoint(point);
      if (!shown || GetAncestor(shown, GA_ROOT) != root) return false;
    }
  }
  return true;
}

// Tests run side by side on one screen: the window is lifted above the others' windows (without
// taking the activation) while its pixels are read, and the area must show nothing else.
Image CaptureUncovered(HWND root, const RECT& area) {
  struct Lifted {
    HWND window;
    explicit Lifted(HWND hwnd) : window(hwnd) {
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ~Lifted() {
      SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  } lifted(root);
  if (!WaitFor([&] { return ShowsOnly(root, area); })) {
    throw DriverError("another window keeps covering the window to capture");
  }
  return CaptureSettled(area);
}

}  // namespace

Image CaptureWindow(HWND window) { return CaptureUncovered(window, ScreenRect(window)); }

Image MainWindow::Capture() const {
  Sync();
  return CaptureWindow(hwnd_);
}

Image MainWindow::CaptureControl(int id) const {
  Sync();
  return CaptureUncovered(hwnd_, ScreenRect(Control(id)));
}

void MainWindow::SaveScreenshot(const std::filesystem::path& bmp) const { Capture().SaveBmp(bmp); }

}  // namespace zelvo::e2e
