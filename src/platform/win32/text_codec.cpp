#include "platform/win32/text_codec.h"

#include <windows.h>

#include <climits>

#include "platform/win32/strings.h"
#include "platform/win32/win32_error.h"

namespace zelvo::win32 {
namespace {

int CheckedLength(size_t size) {
  if (size > INT_MAX) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  return static_cast<int>(size);
}

std::wstring DecodeAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = CheckedLength(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (length == 0) ThrowLastError();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length) == 0) {
    ThrowLastError();
  }
  return wide;
}

}  // namespace

std::optional<std::string> Win32AnsiCodePage::Encode(std::string_view utf8) const {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return std::string();
  const int size = CheckedLength(wide.size());
  // A UTF-8 system code page takes neither flag nor default-character report; it holds every
  // character anyway, and the round trip below still catches what cannot come back.
  const bool utf8_code_page = GetACP() == CP_UTF8;
  const DWORD flags = utf8_code_page ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used_default_report = utf8_code_page ? nullptr : &used_default;
  const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr,
                                         used_default_report);
  if (length == 0) ThrowLastError();
  std::string ansi(static_cast<size_t>(length), '\0');
  if (WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr,
                          used_default_report) == 0) {
    ThrowLastError();
  }
  if (used_default || DecodeAnsi(ansi) != wide) return std::nullopt;
  return ansi;
}

std::string Win32AnsiCodePage::Decode(std::string_view ansi) const {
  return Utf8(DecodeAnsi(ansi));
}

std::string Win32Collator::SortKey(std::string_view utf8) const {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return {};  // sorts before every name, as CompareStringEx has it
  const int size = CheckedLength(wide.size());
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  // For LCMAP_SORTKEY the sizes count bytes, the terminating zero included.
  const int length = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.data(), size, nullptr, 0,
                                   nullptr, nullptr, 0);
  if (length == 0) ThrowLastError();
  // The key is bytes; the buffer is wchar_t only because the function's signature says so.
  std::wstring buffer((static_cast<size_t>(length) + 1) / 2, L'\0');
  if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.data(), size, buffer.data(), length,
                    nullptr, nullptr, 0) == 0) {
    ThrowLastError();
  }
  std::string key(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(length));
  while (!key.empty() && key.back() == '\0') key.pop_back();
  return key;
}

}  // namespace zelvo::win32
