#include "win32/system/win32_error.h"

#include "win32/system/owner.h"
#include "win32/system/strings.h"

namespace zelvo::win32 {

std::string DescribeError(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const LocalMemory<wchar_t*> owner(buffer);
  if (length == 0) return {};
  std::wstring_view text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.remove_suffix(1);
  }
  return Utf8(text);
}

Failure Win32Failure(DWORD code) {
  return Failure(static_cast<int32_t>(code), DescribeError(code));
}

void ThrowWin32Error(DWORD code) { throw Win32Failure(code); }

void ThrowLastError() { ThrowWin32Error(GetLastError()); }

void ThrowHresult(HRESULT result) { ThrowWin32Error(static_cast<DWORD>(result)); }

}  // namespace zelvo::win32
