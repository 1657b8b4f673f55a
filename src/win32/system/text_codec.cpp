#include "win32/system/text_codec.h"

#include <windows.h>

#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

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
  // No UTF-16 unit takes more bytes than the code page's longest character.
  CPINFO code_page{};
  const size_t longest = GetCPInfo(CP_ACP, &code_page) ? code_page.MaxCharSize : 4;
  std::string ansi(wide.size() * longest, '\0');
  int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(),
                                   CheckedLength(ansi.size()), nullptr, used_default_report);
  if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    used_default = FALSE;
    length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr,
                                 used_default_report);
    if (length != 0) {
      ansi.resize(static_cast<size_t>(length));
      used_default = FALSE;
      length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr,
                                   used_default_report);
    }
  }
  if (length == 0) ThrowLastError();
  ansi.resize(static_cast<size_t>(length));
  if (used_default || Wide(ansi, CP_ACP) != wide) return std::nullopt;
  return ansi;
}

std::string Win32AnsiCodePage::Decode(std::string_view ansi) const {
  return Utf8(Wide(ansi, CP_ACP));
}

std::string Win32Collator::SortKey(std::string_view utf8) const {
  if (utf8.empty()) return {};  // sorts before every name, as CompareStringEx has it
  WideInto(utf8, text_);
  const wchar_t* wide = text_.data();
  const int size = CheckedLength(text_.size());

  // A log of 100,000 entries asks for 100,000 keys at start-up: a key nearly always fits the
  // buffer on the stack, and then it takes one call.
  constexpr size_t kStackUnits = 256;
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  // For LCMAP_SORTKEY the sizes count bytes, the terminating zero included; the key is bytes,
  // the buffer is wchar_t only because the function's signature says so.
  wchar_t stack_key[kStackUnits];
  std::wstring long_key;
  wchar_t* key = stack_key;
  int length = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide, size, stack_key,
                             static_cast<int>(sizeof(stack_key)), nullptr, nullptr, 0);
  if (length == 0) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) ThrowLastError();
    length = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide, size, nullptr, 0, nullptr,
                           nullptr, 0);
    if (length == 0) ThrowLastError();
    long_key.assign((static_cast<size_t>(length) + 1) / 2, L'\0');
    key = long_key.data();
    length = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide, size, key, length, nullptr,
                           nullptr, 0);
    if (length == 0) ThrowLastError();
  }
  const char* bytes = reinterpret_cast<const char*>(key);
  size_t end = static_cast<size_t>(length);
  while (end > 0 && bytes[end - 1] == '\0') --end;
  return std::string(bytes, end);
}

}  // namespace zelvo::win32
