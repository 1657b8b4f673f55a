#include "win32/window/tool_tips.h"

#include <commctrl.h>

#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

TOOLINFOW ToolOf(HWND owner, HWND control, const std::wstring& text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  // Not TTF_SUBCLASS: the window passes each control's mouse messages on itself (Relay), where
  // comctl32 would subclass every control once more.
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());  // read only, as every TTM_ message does
  return tool;
}

}  // namespace

ToolTips::ToolTips(HWND owner, HINSTANCE instance)
    : owner_(owner),
      window_(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr)) {
  if (!window_) ThrowLastError();
}

void ToolTips::Add(HWND control, const std::wstring& text) {
  TOOLINFOW tool = ToolOf(owner_, control, text);
  if (!SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    ThrowWin32Error(ERROR_NOT_ENOUGH_MEMORY);
  }
}

void ToolTips::SetText(HWND control, const std::wstring& text) {
  TOOLINFOW tool = ToolOf(owner_, control, text);
  SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::Relay(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      MSG relayed{control, message, wparam, lparam, 0, {}};
      relayed.time = static_cast<DWORD>(GetMessageTime());
      const DWORD position = GetMessagePos();
      relayed.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
      SendMessageW(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
      break;
    }
    default:
      break;
  }
}

void ToolTips::SetMaxWidth(int pixels) { SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, pixels); }

}  // namespace zelvo::win32
