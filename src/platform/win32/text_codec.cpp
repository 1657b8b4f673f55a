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

// The conversions below run over the whole log file at start-up and again at shutdown, several
// times over with the round trips. Each is one call into a buffer of the largest size the text
// can take; asking for the exact size first would read the text twice.

// `bytes` of `code_page` in UTF-16. No code page takes more UTF-16 units than bytes.
std::wstring ToWide(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = CheckedLength(bytes.size());
  std::wstring wide(bytes.size(), L'\0');
  int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), size);
  if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
    if (length != 0) {
      wide.resize(static_cast<size_t>(length));
      length = MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), length);
    }
  }
  if (length == 0) ThrowLastError();
  wide.resize(static_cast<size_t>(length));
  return wide;
}

std::wstring DecodeAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

}  // namespace

std::optional<std::string> Win32AnsiCodePage::Encode(std::string_view utf8) const {
  const std::wstring wide = ToWide(CP_UTF8, utf8);
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
  if (used_default || DecodeAnsi(ansi) != wide) return std::nullopt;
  return ansi;
}

std::string Win32AnsiCodePage::Decode(std::string_view ansi) const {
  return Utf8(DecodeAnsi(ansi));
}

std::string Win32Collator::SortKey(std::string_view utf8) const {
  if (utf8.empty()) return {};  // sorts before every name, as CompareStringEx has it
  // A log of 100,000 entries asks for 100,000 keys at start-up. A name and its key nearly always
  // fit the buffers on the stack, and then each conversion is one call with no allocation.
  constexpr size_t kStackUnits = 256;
  wchar_t stack_wide[kStackUnits];
  std::wstring long_wide;
  const wchar_t* wide = stack_wide;
  int size = 0;
  if (utf8.size() <= kStackUnits) {
    // UTF-16 never takes more units than UTF-8 takes bytes.
    size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), stack_wide,
                               static_cast<int>(kStackUnits));
    if (size == 0) ThrowLastError();
  } else {
    long_wide = Wide(utf8);
    wide = long_wide.data();
    size = CheckedLength(long_wide.size());
  }

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
