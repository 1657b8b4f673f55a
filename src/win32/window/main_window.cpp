#include "win32/window/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "win32/system/strings.h"
#include "win32/system/win32_error.h"
#include "win32/window/accessible_names.h"
#include "win32/window/control_ids.h"
#include "win32/window/dropped_files.h"
#include "win32/window/label_drawing.h"
#include "win32/window/list_menu.h"
#include "win32/window/window_layout.h"

namespace zelvo::win32 {
namespace {

constexpr COLORREF kDarkBlue = RGB(0, 0, 128);

// The controls that can be used only for a selection: the actions and the entry's details.
constexpr Control kActions[] = {Control::cmdReturn,  Control::cmdDelLog,  Control::cmdShell,
                                Control::txtLogName, Control::txtLogData, Control::txtLogPath};

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, int show_command, const Texts& texts,
                                 ErrorTrap& trap)
    : instance_(instance), show_command_(show_command), catalogue_(texts), trap_(trap) {
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
  try {
    AcceptDropsFromLowerIntegrity(window_);
    // The controls are made at their places and in their font for the window's DPI: placed
    // and given a font afterwards, each would be laid out and drawn twice.
    dpi_ = DpiOf(window_);
    font_ = CreateUiFont(dpi_);
    controls_.Create(window_, instance_, dpi_, font_.Get(), catalogue_, &ControlProc, this);
    names_.Attach(controls_.Window(Control::lstLogName));
  } catch (...) {
    DestroyWindow(std::exchange(window_, nullptr));
    throw;
  }
}

Win32MainWindow::~Win32MainWindow() {
  Disconnect();
  if (window_) DestroyWindow(window_);
}

void Win32MainWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  // The controls draw with the old font until they are given the new one.
  UniqueFont retired;
  if (UniqueFont font = CreateUiFont(dpi)) retired = std::exchange(font_, std::move(font));
  controls_.Place(dpi, font_.Get());
  // Long status texts wrap in their tool tip instead of running across the screen.
  if (tool_tips_) tool_tips_->SetMaxWidth(Scale(ControlRowOf(Control::frmMain).width, dpi));
}

void Win32MainWindow::SetCaption(const std::string& caption) {
  controls_.SetText(Control::frmMain, Wide(caption));
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
  SetFocus(controls_.Window(Control::lstLogName));
}

void Win32MainWindow::ShowEntry(const std::string& name, const std::string& folder,
                                const std::string& date) {
  controls_.SetText(Control::txtLogName, Wide(name));
  controls_.SetText(Control::txtLogData, Wide(date));
  controls_.SetText(Control::txtLogPath, Wide(folder));
}

void Win32MainWindow::EnableActions(bool enabled) {
  for (Control control : kActions) controls_.SetEnabled(control, enabled);
}

void Win32MainWindow::ShowStatus(const std::string& text) {
  controls_.SetText(Control::lblInformation, Wide(text));
  SetToolTip(Control::lblInformation, text);
}

void Win32MainWindow::SetToolTip(Control control, const std::string& text) {
  std::wstring& tip = controls_[control].tool_tip;
  tip = Wide(text);
  if (tool_tips_) tool_tips_->SetText(controls_.Window(control), tip);
}

void Win32MainWindow::Close(int exit_code) {
  if (!window_) return;
  exit_code_ = exit_code;
  DestroyWindow(window_);
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
void Win32MainWindow::Guarded(const std::string& source, Body&& body) noexcept {
  if (trap_.Guard(source, body)) return;
  // Reported: the program keeps its log and ends, or, before it is connected, just ends.
  if (events_) {
    events_->WindowFailed();
  } else {
    Close(1);
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
    tool_tips_->Add(controls_.Window(row.control), controls_[row.control].tool_tip);
  }
  tool_tips_->SetMaxWidth(Scale(ControlRowOf(Control::frmMain).width, dpi_));
}

void Win32MainWindow::RedrawLabels() {
  for (Control label : {Control::lblDropPoint, Control::lblInformation}) {
    InvalidateRect(controls_.Window(label), nullptr, TRUE);
  }
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
  self->Guarded(self->controls_[Control::frmMain].callback_source,
                [&] { result = self->OnMessage(message, wparam, lparam); });
  return result;
}

void Win32MainWindow::CommandOf(Control control, int code) {
  if (!events_) return;
  if (control == Control::lstLogName && code == LBN_SELCHANGE) {
    events_->SelectionChanged();
  } else if (code == BN_CLICKED && control == Control::cmdReturn) {
    events_->RestoreClicked();
  } else if (code == BN_CLICKED && control == Control::cmdDelLog) {
    events_->RemoveClicked();
  } else if (code == BN_CLICKED && control == Control::cmdShell) {
    events_->LaunchClicked();
  }
}

bool Win32MainWindow::ListKey(WPARAM key) {
  switch (key) {
    case VK_DELETE:
      // A key does what its button does, and nothing where the button cannot be clicked.
      if (events_ && ActionsEnabled()) events_->RemoveClicked();
      return true;
    case VK_RETURN:
      if (events_ && ActionsEnabled()) events_->LaunchClicked();
      return true;
    case 'A':
      if (GetKeyState(VK_CONTROL) >= 0) return false;
      // The list box itself has no key for it; the program takes the selection as after a
      // click.
      if (names_.SelectAll() && events_) events_->SelectionChanged();
      return true;
    case VK_APPS:
      return true;  // the menu comes when the key is released, as Windows opens it
    default:
      return false;
  }
}

void Win32MainWindow::ShowListMenu(LPARAM position) {
  if (!events_) return;
  POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (at.x == -1 && at.y == -1) {
    at = names_.MenuPoint();
  } else {
    // A right click on a row that is not selected selects it alone first, as Explorer does;
    // one on a selected row keeps the selection it belongs to.
    POINT client = at;
    ScreenToClient(names_.Handle(), &client);
    const std::optional<size_t> row = names_.RowAt(client);
    if (row && names_.SelectOnlyUnlessSelected(*row)) events_->SelectionChanged();
  }
  const UniqueMenu menu = MakeListMenu(catalogue_, ActionsEnabled());
  const auto command = static_cast<ListCommand>(
      TrackPopupMenuEx(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, window_, nullptr));
  // The window may have gone while the menu was up, and the program with it.
  if (!events_ || !window_) return;
  switch (command) {
    case ListCommand::Restore:
      events_->RestoreClicked();
      break;
    case ListCommand::Remove:
      events_->RemoveClicked();
      break;
    case ListCommand::Launch:
      events_->LaunchClicked();
      break;
    case ListCommand::OpenFolder:
      events_->OpenFolderClicked();
      break;
    case ListCommand::CopyPath:
      events_->CopyPathClicked();
      break;
  }
}

void Win32MainWindow::DroppedOn(Control control, HDROP drop) {
  DropList files(drop);
  if (events_) events_->FilesDropped(ControlRowOf(control).drop, files);
}

LRESULT Win32MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (const std::optional<Control> control = ControlSet::WithId(LOWORD(wparam))) {
        CommandOf(*control, HIWORD(wparam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_STATIC) {
        const bool status = item.CtlID == static_cast<UINT>(ControlId(Control::lblInformation));
        const COLORREF own = status ? GetSysColor(COLOR_HIGHLIGHT) : kDarkBlue;
        DrawLabel(item, font_.Get(), LabelTextColour(own, CurrentLabelTheme()));
        return TRUE;
      }
      break;
    }
    case WM_DROPFILES:
      DroppedOn(Control::frmMain, reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_SYSCOLORCHANGE:
      // The controls keep colours of their own and follow when told; the labels choose theirs
      // anew when they are drawn again.
      for (const ControlRow& row : kControlRows) {
        if (row.control != Control::frmMain) {
          SendMessageW(controls_.Window(row.control), WM_SYSCOLORCHANGE, 0, 0);
        }
      }
      RedrawLabels();
      break;
    case WM_SETTINGCHANGE:
      if (wparam == SPI_SETHIGHCONTRAST) RedrawLabels();
      break;
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
      Close(exit_code_);  // unless the closing ended the program already
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the log is saved when the session really ends; never refuse
    case WM_ENDSESSION:
      if (wparam && events_) events_->Closing();
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(exit_code_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK Win32MainWindow::ControlProc(HWND control, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  const std::optional<Control> which =
      ControlSet::WithId(static_cast<UINT_PTR>(GetDlgCtrlID(control)));
  if (!self || !which) return DefWindowProcW(control, message, wparam, lparam);
  ControlSet::State& state = self->controls_[*which];
  if (message == WM_NCDESTROY) {
    return CallWindowProcW(state.own_procedure, control, message, wparam, lparam);
  }
  LRESULT result = 0;
  self->Guarded(state.callback_source,
                [&] { result = self->OnControlMessage(*which, message, wparam, lparam); });
  return result;
}

LRESULT Win32MainWindow::OnControlMessage(Control control, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  const HWND window = controls_.Window(control);
  const WNDPROC own = controls_[control].own_procedure;
  // Whatever reads or draws the control, in this process or another, sees its latest text.
  if (message != WM_DESTROY) controls_.ApplyPendingText(control);
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && HasToolTip(control)) {
    ShowToolTipsFrom(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_DROPFILES:
      DroppedOn(control, reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_SETFOCUS:
      last_focus_ = window;
      break;
    case WM_NCHITTEST:
      // A group box is see-through for the mouse; these frames take drops of their own.
      if (ControlRowOf(control).kind == ControlKind::Frame) return HTCLIENT;
      break;
    case WM_GETOBJECT:
      if (const TextId name = AccessibleNameOf(control); name != TextId::None) {
        const LRESULT object =
            accessible_names_.Answer(window, wparam, lparam, Wide(catalogue_.Get(name)));
        if (object) return object;
      }
      break;
    case WM_GETDLGCODE:
      // Enter in the list starts the selected programs: the dialog manager must let it through
      // instead of taking it for the default button.
      if (control == Control::lstLogName && lparam) {
        const auto* key = reinterpret_cast<const MSG*>(lparam);
        if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
          return CallWindowProcW(own, window, message, wparam, lparam) | DLGC_WANTMESSAGE;
        }
      }
      break;
    case WM_KEYDOWN:
      if (control == Control::lstLogName && ListKey(wparam)) return 0;
      break;
    case WM_KEYUP:
      // Handled here and not passed on: Windows would open the menu once more on its own.
      if (control == Control::lstLogName && wparam == VK_APPS) {
        ShowListMenu(MAKELPARAM(-1, -1));
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      if (control == Control::lstLogName) {
        ShowListMenu(lparam);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcW(own, window, message, wparam, lparam);
}

}  // namespace zelvo::win32
