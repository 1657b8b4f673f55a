#include "platform/win32/strings.h"

#include <windows.h>

#include <climits>

#include "platform/win32/win32_error.h"

namespace zelvo::win32 {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  if (utf8.size() > INT_MAX) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length == 0) ThrowLastError();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  if (utf16.size() > INT_MAX) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  const int size = static_cast<int>(utf16.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  if (length == 0) ThrowLastError();
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace zelvo::win32
