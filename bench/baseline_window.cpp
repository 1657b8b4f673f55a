// The start-up baseline: the least a Win32 program does to show a window and wait for input.
// It is built with the same compiler and options as zelvo.exe, so the two start alike.
#include <windows.h>

namespace {

constexpr wchar_t kWindowClass[] = L"ZelvoBenchBaselineWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&window_class)) return 1;

  // The client area of zelvo.exe's window at 96 DPI, so that both fill the same area.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{0, 0, 377, 337};
  AdjustWindowRectEx(&rect, kStyle, FALSE, 0);
  const HWND window = CreateWindowExW(0, kWindowClass, L"Baseline", kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top,
                                      nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show_command);
  UpdateWindow(window);

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
