// A program for the visual style tests, as an old program is: at start it writes to
// "<its own path>.txt" which comctl32.dll Windows gave it (the file it was loaded from, and
// whether its activation context redirects the name), then shows a few classic controls until
// it is closed. Its window is the subject of README's pictures before and after applying.
#include <windows.h>

#include <string>

#include "win32/system/owner.h"
#include "win32/system/strings.h"

namespace {

constexpr wchar_t kClassName[] = L"ZelvoStyleProbe";

std::wstring ModulePath(HMODULE module) {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

// A side-by-side assembly named in the program's manifest redirects the DLL's name; the
// system's comctl32 is reached without any redirection.
bool Redirected(const wchar_t* dll) {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof(data);
  return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, dll,
                                  &data) != FALSE;
}

HWND AddControl(HWND parent, const wchar_t* type, const wchar_t* text, DWORD style, int x, int y,
                int width, int height, DWORD ex_style = 0) {
  const HWND control = CreateWindowExW(ex_style, type, text, WS_CHILD | WS_VISIBLE | style, x, y,
                                       width, height, parent, nullptr, nullptr, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  return control;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      AddControl(window, L"Button", L"Options", BS_GROUPBOX, 8, 4, 224, 92);
      SendMessageW(AddControl(window, L"Button", L"Check box", BS_AUTOCHECKBOX, 20, 22, 100, 20),
                   BM_SETCHECK, BST_CHECKED, 0);
      SendMessageW(AddControl(window, L"Button", L"Radio one", BS_AUTORADIOBUTTON | WS_GROUP, 20,
                              44, 100, 20),
                   BM_SETCHECK, BST_CHECKED, 0);
      AddControl(window, L"Button", L"Radio two", BS_AUTORADIOBUTTON, 20, 66, 100, 20);
      AddControl(window, L"Edit", L"Edit box", ES_AUTOHSCROLL, 128, 22, 92, 22, WS_EX_CLIENTEDGE);
      AddControl(window, L"Button", L"Push button", BS_PUSHBUTTON, 128, 58, 92, 28);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool WriteReport(const std::wstring& path, const std::string& report) {
  // Held without sharing until it is whole: the test reads it only then.
  const zelvo::win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), report.data(), static_cast<DWORD>(report.size()), &written,
                   nullptr) &&
         written == report.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Loaded by name, as an old program's import of it is: the loader follows the activation
  // context that the program's manifest gives the process.
  const HMODULE common_controls = LoadLibraryW(L"comctl32.dll");
  if (!common_controls) return 1;

  WNDCLASSEXW window_class{sizeof(window_class)};
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExW(&window_class)) return 1;
  RECT rect{0, 0, 240, 104};
  AdjustWindowRectEx(&rect, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE, 0);
  const HWND window =
      CreateWindowExW(0, kClassName, L"Old Tool", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                      CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top,
                      nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  using zelvo::win32::Utf8;
  const std::string report = "comctl32=" + Utf8(ModulePath(common_controls)) +
                             "\nredirected=" + (Redirected(L"comctl32.dll") ? "yes" : "no") +
                             "\nwindow=" + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                             "\n";
  if (!WriteReport(ModulePath(nullptr) + L".txt", report)) return 1;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
