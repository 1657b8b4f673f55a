#include "platform/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/win32/control_ids.h"
#include "platform/win32/strings.h"
#include "platform/win32/win32_error.h"

namespace zelvo::win32 {
namespace {

// The window's client area and every control's place, in twips (15 twips are one pixel at
// 96 DPI). A control inside a frame is placed relative to the frame's top-left corner.
constexpr int kClientWidth = 5655;
constexpr int kClientHeight = 5055;
constexpr int kTwipsPerInch = 1440;

constexpr COLORREF kDarkBlue = RGB(0, 0, 128);

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT;

struct ControlSpec {
  Control control;
  int id;
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
  const char* text;
  const char* tool_tip;  // null: no tool; "": a tool whose text the program sets later
  Control container;
  int left, top, width, height;
};

// In creation order, which is the tab order.
constexpr ControlSpec kControls[] = {
    {Control::fraDropPoint, kIdFraDropPoint, WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0, "",
     nullptr, Control::frmMain, 120, 120, 5415, 1095},
    {Control::lblDropPoint, kIdLblDropPoint, WC_STATICW, SS_OWNERDRAW | SS_NOTIFY, 0,
     "ココにXPスタイルを適用したいソフトをドロップしてください。", nullptr, Control::fraDropPoint,
     120, 360, 5175, 255},
    {Control::lblInformation, kIdLblInformation, WC_STATICW, SS_OWNERDRAW | SS_NOTIFY, 0, "", "",
     Control::fraDropPoint, 120, 720, 5175, 255},
    {Control::fraLog, kIdFraLog, WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
     "XPスタイルを適用したソフト一覧", nullptr, Control::frmMain, 120, 1320, 5415, 3615},
    {Control::lstLogName, kIdLstLogName, WC_LISTBOXW,
     WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
     WS_EX_CLIENTEDGE, "", "過去にZelvoを適用したソフトが一覧されます。", Control::fraLog, 240, 360,
     4935, 1695},
    {Control::txtLogName, kIdTxtLogName, WC_EDITW,
     WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, "",
     "選択したソフトの名前が表示されます。", Control::fraLog, 240, 2160, 3375, 270},
    {Control::txtLogPath, kIdTxtLogPath, WC_EDITW,
     WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, "",
     "選択したソフトの場所が表示されます。", Control::fraLog, 240, 2520, 4935, 270},
    {Control::cmdDelLog, kIdCmdDelLog, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, 0,
     "リストから削除", "選択したソフトをリストから削除します。", Control::frmMain, 2040, 4200, 1575,
     495},
    {Control::cmdShell, kIdCmdShell, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, 0,
     "ソフトを起動する", "選択したソフトを起動します。", Control::frmMain, 3720, 4200, 1575, 495},
    {Control::cmdReturn, kIdCmdReturn, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, 0,
     "元に戻す", "選択したソフトを元に戻します。", Control::frmMain, 360, 4200, 1575, 495},
    {Control::txtLogData, kIdTxtLogData, WC_EDITW,
     WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, "",
     "選択したソフトにZelvoを適用した日付が表示されます。", Control::fraLog, 3720, 2160, 1455, 270},
};

const ControlSpec& SpecOf(Control control) {
  for (const auto& control_spec : kControls) {
    if (control_spec.control == control) return control_spec;
  }
  return kControls[0];
}

// Functions of newer Windows versions, looked up at run time so that the program still starts
// on Windows 7.
template <class Function>
Function User32Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

UINT DpiOf(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (get_dpi) {
    if (const UINT dpi = get_dpi(window)) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// The system's UI font (the message font) for `dpi`.
HFONT CreateUiFont(UINT dpi) {
  using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto for_dpi =
      User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return nullptr;
  }
  const HDC screen = GetDC(nullptr);
  const int system_dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (system_dpi > 0) {
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), system_dpi);
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

int Scale(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

RECT WindowRectFor(UINT dpi, int x, int y) {
  RECT rect{0, 0, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi)};
  using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&rect, kWindowStyle, FALSE, kWindowExStyle, dpi)) {
    AdjustWindowRectEx(&rect, kWindowStyle, FALSE, kWindowExStyle);
  }
  OffsetRect(&rect, x - rect.left, y - rect.top);
  return rect;
}

// Lets drops from a normal Explorer reach the window when the program runs elevated.
void AllowDropsFromLowerIntegrity(HWND window) {
  using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const auto filter = User32Function<FilterFunction>("ChangeWindowMessageFilterEx");
  if (!filter) return;
  constexpr DWORD kAllow = 1;               // MSGFLT_ALLOW
  constexpr UINT kCopyGlobalData = 0x0049;  // WM_COPYGLOBALDATA, which carries the file list
  for (UINT message :
       {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
    filter(window, message, kAllow, nullptr);
  }
}

// The files of a WM_DROPFILES; the drop is released with it.
class HDropFiles : public DroppedFiles {
 public:
  explicit HDropFiles(HDROP drop) : drop_(drop) {}
  ~HDropFiles() override { DragFinish(drop_); }
  HDropFiles(const HDropFiles&) = delete;
  HDropFiles& operator=(const HDropFiles&) = delete;

  size_t Count() override {
    // A drop with an empty file list still counts one file, whose name is empty: the count takes
    // the list's closing null for a name. No file has an empty name, so the list ends there.
    const UINT listed = DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0);
    UINT count = 0;
    while (count < listed && DragQueryFileW(drop_, count, nullptr, 0) > 0) ++count;
    return count;
  }

  std::string Path(size_t index) override {
    const UINT file = static_cast<UINT>(index);
    const UINT length = DragQueryFileW(drop_, file, nullptr, 0);
    if (length == 0) ThrowWin32Error(ERROR_INVALID_INDEX);
    std::wstring path(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop_, file, path.data(), length + 1);
    path.resize(copied);
    return Utf8(path);
  }

 private:
  HDROP drop_;
};

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, int show_command,
                                 const CommonControls& common_controls)
    : instance_(instance), show_command_(show_command), common_controls_(common_controls) {
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

  const RECT rect = WindowRectFor(USER_DEFAULT_SCREEN_DPI, 0, 0);
  window_ = CreateWindowExW(kWindowExStyle, kMainWindowClass, L"", kWindowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                            nullptr, instance, this);
  if (!window_) ThrowLastError();
  AllowDropsFromLowerIntegrity(window_);
  CreateControls();
  CreateToolTips();
  ApplyDpi(DpiOf(window_));
}

Win32MainWindow::~Win32MainWindow() {
  if (window_) {
    events_ = nullptr;
    DestroyWindow(window_);
  }
}

void Win32MainWindow::CreateControls() {
  for (const auto& control_spec : kControls) {
    const std::wstring text = Wide(control_spec.text);
    const HWND control = CreateWindowExW(
        control_spec.ex_style | WS_EX_ACCEPTFILES, control_spec.window_class, text.c_str(),
        WS_CHILD | WS_VISIBLE | control_spec.style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_spec.id)), instance_, nullptr);
    if (!control) ThrowLastError();
    windows_[static_cast<size_t>(control_spec.control)] = control;
    texts_[static_cast<size_t>(control_spec.control)] = text;
    AllowDropsFromLowerIntegrity(control);
    common_controls_.SetWindowSubclass(control, &Win32MainWindow::ControlProc,
                                       static_cast<UINT_PTR>(control_spec.id),
                                       reinterpret_cast<DWORD_PTR>(this));
  }
  windows_[static_cast<size_t>(Control::frmMain)] = window_;
  names_.Attach(Window(Control::lstLogName));

  // The frames lie below the controls inside them, so that a click or a drop on a control
  // reaches the control, and one on the frame's own area reaches the frame.
  for (Control frame : {Control::fraLog, Control::fraDropPoint}) {
    SetWindowPos(Window(frame), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Win32MainWindow::CreateToolTips() {
  tool_tips_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  if (!tool_tips_) ThrowLastError();
  for (const auto& control_spec : kControls) {
    if (!control_spec.tool_tip) continue;
    std::wstring text = Wide(control_spec.tool_tip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Window(control_spec.control));
    tool.lpszText = text.data();
    SendMessageW(tool_tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Win32MainWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  if (HFONT font = CreateUiFont(dpi)) font_.reset(font);
  for (const auto& control_spec : kControls) {
    int left = control_spec.left;
    int top = control_spec.top;
    if (control_spec.container != Control::frmMain) {
      const ControlSpec& frame = SpecOf(control_spec.container);
      left += frame.left;
      top += frame.top;
    }
    const HWND control = Window(control_spec.control);
    SetWindowPos(control, nullptr, Scale(left, dpi), Scale(top, dpi),
                 Scale(control_spec.width, dpi), Scale(control_spec.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  // Long status texts wrap in their tool tip instead of running across the screen.
  SendMessageW(tool_tips_, TTM_SETMAXTIPWIDTH, 0, Scale(kClientWidth, dpi));
}

void Win32MainWindow::Show() {
  // Fit the window to its DPI where it stands now, before anyone sees it.
  RECT current{};
  GetWindowRect(window_, &current);
  const UINT dpi = DpiOf(window_);
  if (dpi != dpi_) ApplyDpi(dpi);
  const RECT rect = WindowRectFor(dpi, current.left, current.top);
  SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
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
  std::wstring wide = Wide(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(Window(control));
  tool.lpszText = wide.data();
  SendMessageW(tool_tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32MainWindow::SetEnabled(Control control, bool enabled) {
  EnableWindow(Window(control), enabled ? TRUE : FALSE);
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

void Win32MainWindow::DrawLabel(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const int length = GetWindowTextLengthW(item.hwndItem);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(item.hwndItem, text.data(), length + 1)));
  const bool status = item.CtlID == static_cast<UINT>(kIdLblInformation);
  SetTextColor(dc, status ? GetSysColor(COLOR_HIGHLIGHT) : kDarkBlue);
  SetBkMode(dc, TRANSPARENT);
  // One centred line. A text a little too wide for it is drawn in a slightly smaller font;
  // one far too wide ends in an ellipsis, and the tool tip shows it whole.
  Font smaller;
  HGDIOBJ old_font = SelectObject(dc, font_.get());
  RECT needed = item.rcItem;
  const int width = item.rcItem.right - item.rcItem.left;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
            DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  const int needed_width = needed.right - needed.left;
  LOGFONTW shape{};
  if (needed_width > width && width > 0 && GetObjectW(font_.get(), sizeof(shape), &shape)) {
    constexpr int kSmallestPercent = 85;
    const int percent = std::max(kSmallestPercent, MulDiv(width, 100, needed_width) - 1);
    shape.lfHeight = shape.lfHeight * percent / 100;  // towards zero: at least a pixel smaller
    smaller.reset(CreateFontIndirectW(&shape));
    if (smaller) SelectObject(dc, smaller.get());
  }
  RECT rect = item.rcItem;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old_font);
}

void Win32MainWindow::DropOn(Control target, HDROP drop) {
  HDropFiles files(drop);
  if (events_) events_->Dropped(target, files);
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->window_) return DefWindowProcW(window, message, wparam, lparam);
  return self->OnMessage(message, wparam, lparam);
}

LRESULT Win32MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (id == kIdLstLogName && code == LBN_SELCHANGE) {
        if (events_) events_->SelectionChanged();
        return 0;
      }
      if (code == BN_CLICKED && events_) {
        if (id == kIdCmdReturn) events_->Clicked(Control::cmdReturn);
        if (id == kIdCmdDelLog) events_->Clicked(Control::cmdDelLog);
        if (id == kIdCmdShell) events_->Clicked(Control::cmdShell);
        return 0;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_STATIC) {
        DrawLabel(item);
        return TRUE;
      }
      break;
    }
    case WM_DROPFILES:
      DropOn(Control::frmMain, reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_ACTIVATE:
      // As in a dialog box, the control that had the keyboard when the user switched away (or
      // a message box came up) gets it back; otherwise the window itself would hold the focus
      // and no key would reach a control until the user clicks one.
      if (LOWORD(wparam) == WA_INACTIVE) return 0;  // each control notes when it gets the focus
      if (!HIWORD(wparam)) {                        // not while minimised
        HWND focus = last_focus_;
        if (!focus || !IsWindow(focus) || !IsWindowEnabled(focus) || !IsWindowVisible(focus)) {
          focus = GetNextDlgTabItem(window_, nullptr, FALSE);
        }
        if (focus) {
          SetFocus(focus);
          return 0;
        }
      }
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      ApplyDpi(HIWORD(wparam));
      const RECT rect = WindowRectFor(dpi_, suggested->left, suggested->top);
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
                                              LPARAM lparam, UINT_PTR id, DWORD_PTR self_data) {
  auto* self = reinterpret_cast<Win32MainWindow*>(self_data);
  // Whatever reads or draws the control, in this process or another, sees its latest text.
  if (message != WM_DESTROY && message != WM_NCDESTROY) {
    for (const auto& control_spec : kControls) {
      if (control_spec.id == static_cast<int>(id)) self->ApplyPendingText(control_spec.control);
    }
  }
  switch (message) {
    case WM_DROPFILES:
      for (const auto& control_spec : kControls) {
        if (control_spec.id == static_cast<int>(id)) {
          self->DropOn(control_spec.control, reinterpret_cast<HDROP>(wparam));
          return 0;
        }
      }
      break;
    case WM_SETFOCUS:
      self->last_focus_ = control;
      break;
    case WM_NCHITTEST:
      // A group box is see-through for the mouse; these frames take drops of their own.
      if (id == kIdFraDropPoint || id == kIdFraLog) return HTCLIENT;
      break;
    case WM_NCDESTROY:
      self->common_controls_.RemoveWindowSubclass(control, &Win32MainWindow::ControlProc, id);
      break;
    default:
      break;
  }
  return self->common_controls_.DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace zelvo::win32
