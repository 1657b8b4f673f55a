#include "win32/main_window.h"

#include <commctrl.h>

#include "win32/control_ids.h"
#include "win32/dropped_files.h"
#include "win32/label_drawing.h"
#include "win32/strings.h"
#include "win32/win32_error.h"
#include "win32/window_layout.h"

namespace zelvo::win32 {
namespace {

constexpr COLORREF kDarkBlue = RGB(0, 0, 128);

// What a control of each kind is on Windows: its class, styles and extended styles.
struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Frame:
      return {WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
    case ControlKind::Label:
      return {WC_STATICW, SS_OWNERDRAW | SS_NOTIFY, 0};
    case ControlKind::List:
      return {WC_LISTBOXW,
              WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  LBS_HASSTRINGS,
              WS_EX_CLIENTEDGE};
    case ControlKind::TextBox:
      return {WC_EDITW, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button:
      return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Window:
      break;
  }
  ThrowWin32Error(ERROR_INVALID_PARAMETER);
}

std::optional<Control> ControlWithId(UINT_PTR id) {
  for (const ControlRow& row : kControlRows) {
    if (row.control != Control::frmMain && static_cast<UINT_PTR>(row.id) == id) {
      return row.control;
    }
  }
  return std::nullopt;
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, int show_command, const Texts& texts)
    : instance_(instance), show_command_(show_command), catalogue_(texts) {
  for (const ControlRow& row : kControlRows) {
    const size_t index = static_cast<size_t>(row.control);
    enabled_[index] = row.enabled;
    callback_sources_[index] = std::string(row.name) + "_WindowProc()";
  }

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &Win32MainWindow::WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError();
  }

  const RECT rect = MainWindowRect(USER_DEFAULT_SCREEN_DPI, 0, 0);
  window_ = CreateWindowExW(kMainWindowExStyle, kMainWindowClass, L"", kMainWindowStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                            rect.bottom - rect.top, nullptr, nullptr, instance, this);
  if (!window_) ThrowLastError();
  windows_[static_cast<size_t>(Control::frmMain)] = window_;
  try {
    AcceptDropsFromLowerIntegrity(window_);
    // The controls are made at their places and in their font for the window's DPI: placed
    // and given a font afterwards, each would be laid out and drawn twice.
    dpi_ = DpiOf(window_);
    font_ = CreateUiFont(dpi_);
    CreateControls();
    if (unconnected_failure_) std::rethrow_exception(unconnected_failure_);
  } catch (...) {
    DestroyWindow(std::exchange(window_, nullptr));
    throw;
  }
}

Win32MainWindow::~Win32MainWindow() {
  Disconnect();
  if (window_) DestroyWindow(window_);
}

void Win32MainWindow::Connect(WindowEvents& events, ErrorTrap& trap) {
  events_ = &events;
  trap_ = &trap;
}

void Win32MainWindow::Disconnect() {
  events_ = nullptr;
  trap_ = nullptr;
}

void Win32MainWindow::CreateControls() {
  for (const ControlRow& row : kControlRows) {
    if (row.control == Control::frmMain) continue;
    const ControlClass control_class = ClassOf(row.kind);
    const std::wstring text = Wide(catalogue_.Get(row.text));
    const DWORD style =
        WS_CHILD | WS_VISIBLE | control_class.style | (row.enabled ? 0 : WS_DISABLED);
    const RECT rect = ControlRect(row.control, dpi_);
    const HWND control = CreateWindowExW(
        control_class.ex_style | WS_EX_ACCEPTFILES, control_class.name, text.c_str(), style,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
    if (!control) ThrowLastError();
    if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    windows_[static_cast<size_t>(row.control)] = control;
    texts_[static_cast<size_t>(row.control)] = text;
    AcceptDropsFromLowerIntegrity(control);
    // Subclassed by hand rather than through comctl32: there each message looks the subclass up
    // in a window property, a round trip to the server under Wine.
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    control_procs_[static_cast<size_t>(row.control)] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
    if (HasToolTip(row.control)) {
      tool_tip_texts_[static_cast<size_t>(row.control)] = Wide(catalogue_.Get(row.tool_tip));
    }
  }
  names_.Attach(Window(Control::lstLogName));

  // The frames lie below the controls inside them, so that a click or a drop on a control
  // reaches the control, and one on the frame's own area reaches the frame.
  for (Control frame : {Control::fraLog, Control::fraDropPoint}) {
    SetWindowPos(Window(frame), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Win32MainWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  if (UniqueFont font = CreateUiFont(dpi)) font_ = std::move(font);
  for (const ControlRow& row : kControlRows) {
    if (row.control == Control::frmMain) continue;
    const RECT rect = ControlRect(row.control, dpi);
    const HWND control = Window(row.control);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  }
  // Long status texts wrap in their tool tip instead of running across the screen.
  if (tool_tips_) tool_tips_->SetMaxWidth(Scale(ControlRowOf(Control::frmMain).width, dpi));
}

void Win32MainWindow::Show() {
  // Fit the window to its DPI where it stands now, before anyone sees it.
  RECT current{};
  GetWindowRect(window_, &current);
  const UINT dpi = DpiOf(window_);
  if (dpi != dpi_) ApplyDpi(dpi);
  const RECT rect = MainWindowRect(dpi, current.left, current.top);
  if (!EqualRect(&rect, &current)) {
    SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(window_, show_command_);
  UpdateWindow(window_);
  SetFocus(Window(Control::lstLogName));
}

void Win32MainWindow::SetText(Control control, const std::string& text) {
  const HWND target = Window(control);
  std::wstring wide = Wide(text);
  const size_t index = static_cast<size_t>(control);
  if (wide == texts_[index]) return;
  if (control == Control::frmMain) {
    if (!SetWindowTextW(target, wide.c_str())) ThrowLastError();
    texts_[index] = std::move(wide);
    return;
  }
  // A control takes its new text when anything next reads or draws it, all of which reaches
  // ControlProc first. Under Wine an edit box lays its text out on the spot, a millisecond or
  // more, and applying a thousand programs in a row sets the name and folder boxes and the
  // status line a thousand times over, while nothing can read or draw them in between.
  if (!IsWindow(target)) ThrowWin32Error(ERROR_INVALID_WINDOW_HANDLE);
  texts_[index] = std::move(wide);
  text_pending_[index] = true;
  InvalidateRect(target, nullptr, TRUE);
}

void Win32MainWindow::ApplyPendingText(Control control) {
  const size_t index = static_cast<size_t>(control);
  if (!text_pending_[index] || applying_text_) return;
  applying_text_ = true;
  // Setting a control's text fails only when memory runs out; the text then stays pending and
  // is tried again at the control's next message.
  if (SetWindowTextW(Window(control), texts_[index].c_str())) text_pending_[index] = false;
  applying_text_ = false;
}

void Win32MainWindow::SetToolTip(Control control, const std::string& text) {
  std::wstring& tip = tool_tip_texts_[static_cast<size_t>(control)];
  tip = Wide(text);
  if (tool_tips_) tool_tips_->SetText(Window(control), tip);
}

void Win32MainWindow::SetEnabled(Control control, bool enabled) {
  // The view refreshes the six controls at every change of the selection; most leave them as
  // they are.
  const size_t index = static_cast<size_t>(control);
  if (enabled_[index] == enabled) return;
  EnableWindow(Window(control), enabled ? TRUE : FALSE);
  enabled_[index] = enabled;
}

int Win32MainWindow::RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    if (window_ && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

template <class Body>
void Win32MainWindow::Guarded(Control control, Body&& body) noexcept {
  if (trap_) {
    trap_->Callback(callback_sources_[static_cast<size_t>(control)], body);
    return;
  }
  try {
    body();
  } catch (...) {
    if (!unconnected_failure_) unconnected_failure_ = std::current_exception();
  }
}

void Win32MainWindow::ShowToolTipsFrom(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  // The tips are made when the mouse first comes over a control that has one: a tip shows
  // only after the mouse has moved on to a tool and rests there, and a window less to make at
  // start-up is time the user sees.
  if (tool_tips_) {
    tool_tips_->Relay(control, message, wparam, lparam);
    return;
  }
  tool_tips_.emplace(window_, instance_);
  for (const ControlRow& row : kControlRows) {
    if (!HasToolTip(row.control)) continue;
    tool_tips_->Add(Window(row.control), tool_tip_texts_[static_cast<size_t>(row.control)]);
  }
  tool_tips_->SetMaxWidth(Scale(ControlRowOf(Control::frmMain).width, dpi_));
}

bool Win32MainWindow::RestoreFocus() {
  HWND focus = last_focus_;
  if (!focus || !IsWindow(focus) || !IsWindowEnabled(focus) || !IsWindowVisible(focus)) {
    focus = GetNextDlgTabItem(window_, nullptr, FALSE);
  }
  if (!focus) return false;
  SetFocus(focus);
  return true;
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->window_) return DefWindowProcW(window, message, wparam, lparam);
  LRESULT result = 0;
  self->Guarded(Control::frmMain, [&] { result = self->OnMessage(message, wparam, lparam); });
  return result;
}

LRESULT Win32MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const std::optional<Control> control = ControlWithId(LOWORD(wparam));
      const int code = HIWORD(wparam);
      if (control == Control::lstLogName && code == LBN_SELCHANGE) {
        if (events_) events_->SelectionChanged();
        return 0;
      }
      if (control && ControlRowOf(*control).kind == ControlKind::Button && code == BN_CLICKED) {
        if (events_) events_->Clicked(*control);
        return 0;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_STATIC) {
        const bool status = item.CtlID == static_cast<UINT>(ControlId(Control::lblInformation));
        DrawLabel(item, font_.Get(), status ? GetSysColor(COLOR_HIGHLIGHT) : kDarkBlue);
        return TRUE;
      }
      break;
    }
    case WM_DROPFILES: {
      DropList files(reinterpret_cast<HDROP>(wparam));
      if (events_) events_->Dropped(Control::frmMain, files);
      return 0;
    }
    case WM_ACTIVATE:
      // As in a dialog box, the control that had the keyboard when the user switched away (or
      // a message box came up) gets it back; otherwise the window itself would hold the focus
      // and no key would reach a control until the user clicks one.
      if (LOWORD(wparam) == WA_INACTIVE) return 0;      // each control notes when it gets the focus
      if (!HIWORD(wparam) && RestoreFocus()) return 0;  // not while minimised
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      ApplyDpi(HIWORD(wparam));
      const RECT rect = MainWindowRect(dpi_, suggested->left, suggested->top);
      SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (events_) events_->Closing();
      DestroyWindow(window_);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the log is saved when the session really ends; never refuse
    case WM_ENDSESSION:
      if (wparam && events_) events_->Closing();
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK Win32MainWindow::ControlProc(HWND control, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  const std::optional<Control> which = ControlWithId(static_cast<UINT_PTR>(GetDlgCtrlID(control)));
  if (!self || !which) return DefWindowProcW(control, message, wparam, lparam);
  const WNDPROC own = self->control_procs_[static_cast<size_t>(*which)];
  if (message == WM_NCDESTROY) return CallWindowProcW(own, control, message, wparam, lparam);
  LRESULT result = 0;
  self->Guarded(*which, [&] { result = self->OnControlMessage(*which, message, wparam, lparam); });
  return result;
}

LRESULT Win32MainWindow::OnControlMessage(Control control, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  const HWND window = Window(control);
  // Whatever reads or draws the control, in this process or another, sees its latest text.
  if (message != WM_DESTROY) ApplyPendingText(control);
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && HasToolTip(control)) {
    ShowToolTipsFrom(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_DROPFILES: {
      DropList files(reinterpret_cast<HDROP>(wparam));
      if (events_) events_->Dropped(control, files);
      return 0;
    }
    case WM_SETFOCUS:
      last_focus_ = window;
      break;
    case WM_NCHITTEST:
      // A group box is see-through for the mouse; these frames take drops of their own.
      if (ControlRowOf(control).kind == ControlKind::Frame) return HTCLIENT;
      break;
    default:
      break;
  }
  return CallWindowProcW(control_procs_[static_cast<size_t>(control)], window, message, wparam,
                         lparam);
}

}  // namespace zelvo::win32
