#include "win32/tool_tips.h"

#include <commctrl.h>

#include "win32/win32_error.h"

namespace zelvo::win32 {
namespace {

TOOLINFOW ToolOf(HWND owner, HWND control, const std::wstring& text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
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

void ToolTips::SetMaxWidth(int pixels) { SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, pixels); }

}  // namespace zelvo::win32
