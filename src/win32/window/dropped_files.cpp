#include "win32/window/dropped_files.h"

#include "win32/system/module.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

size_t DropList::Count(size_t at_most) {
  // A drop with an empty file list still counts one file, whose name is empty: the count takes
  // the list's closing null for a name. No file has an empty name, so the list ends there. A
  // longer list than wanted is not walked one query a file.
  const UINT listed = DragQueryFileW(drop_.Get(), 0xFFFFFFFF, nullptr, 0);
  if (listed > at_most) return listed;
  UINT count = 0;
  while (count < listed && DragQueryFileW(drop_.Get(), count, nullptr, 0) > 0) ++count;
  return count;
}

std::string DropList::Path(size_t index) {
  const UINT file = static_cast<UINT>(index);
  const UINT length = DragQueryFileW(drop_.Get(), file, nullptr, 0);
  if (length == 0) ThrowWin32Error(ERROR_INVALID_INDEX);
  std::wstring path(length + 1, L'\0');
  const UINT copied = DragQueryFileW(drop_.Get(), file, path.data(), length + 1);
  path.resize(copied);
  return Utf8(path);
}

void AcceptDropsFromLowerIntegrity(HWND window) {
  using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const auto filter =
      SystemFunction<FilterFunction>(L"user32.dll", "ChangeWindowMessageFilterEx");
  if (!filter) return;
  constexpr DWORD kAllow = 1;               // MSGFLT_ALLOW
  constexpr UINT kCopyGlobalData = 0x0049;  // WM_COPYGLOBALDATA, which carries the file list
  // The drop's own two messages and no other: nothing here handles WM_COPYDATA.
  for (UINT message : {static_cast<UINT>(WM_DROPFILES), kCopyGlobalData}) {
    filter(window, message, kAllow, nullptr);
  }
}

}  // namespace zelvo::win32
