// A plain window with the controls of zelvo.exe's window: the same eleven controls with the same
// Japanese texts, in the system's message font, at the same places at 96 DPI, with common
// controls 6 through the same manifest, and nothing else (no tool tips, subclassing, owner-drawn
// labels or DPI handling). It tells what any window with these controls costs under Wine.
#include <windows.h>
#include <commctrl.h>

#include "version.h"

namespace {

constexpr wchar_t kWindowClass[] = L"ZelvoBenchPlainWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

struct Child {
  const wchar_t* window_class;
  const wchar_t* text;
  DWORD style;
  DWORD ex_style;
  int left, top, width, height;
};

// zelvo.exe's controls, in pixels at 96 DPI.
constexpr Child kChildren[] = {
    {WC_BUTTONW, L"", BS_GROUPBOX, 0, 8, 8, 361, 73},
    {WC_STATICW, L"ココにXPスタイルを適用したいソフトをドロップしてください。", SS_CENTER, 0, 16,
     32, 345, 17},
    {WC_STATICW, L"", SS_CENTER, 0, 16, 56, 345, 17},
    {WC_BUTTONW, L"XPスタイルを適用したソフト一覧", BS_GROUPBOX, 0, 8, 88, 361, 241},
    {WC_LISTBOXW, L"",
     WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
     WS_EX_CLIENTEDGE, 24, 112, 329, 113},
    {WC_EDITW, L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, 24,
     232, 225, 18},
    {WC_EDITW, L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, 24,
     256, 329, 18},
    {WC_BUTTONW, L"リストから削除", WS_TABSTOP | WS_DISABLED, 0, 136, 280, 105, 33},
    {WC_BUTTONW, L"ソフトを起動する", WS_TABSTOP | WS_DISABLED, 0, 248, 280, 105, 33},
    {WC_BUTTONW, L"元に戻す", WS_TABSTOP | WS_DISABLED, 0, 24, 280, 105, 33},
    {WC_EDITW, L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | WS_DISABLED, WS_EX_CLIENTEDGE, 256,
     232, 97, 18},
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&window_class)) return 1;

  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{0, 0, 377, 337};
  AdjustWindowRectEx(&rect, kStyle, FALSE, WS_EX_ACCEPTFILES);
  const HWND window =
      CreateWindowExW(WS_EX_ACCEPTFILES, kWindowClass, L"Zelvoちゃん Version " ZELVO_VERSION_TEXT,
                      kStyle, CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                      rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  for (const Child& child : kChildren) {
    const HWND control = CreateWindowExW(
        child.ex_style, child.window_class, child.text, WS_CHILD | WS_VISIBLE | child.style,
        child.left, child.top, child.width, child.height, window, nullptr, instance, nullptr);
    if (!control) return 1;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ShowWindow(window, show_command);
  UpdateWindow(window);

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  return static_cast<int>(message.wParam);
}
