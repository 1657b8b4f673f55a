#include "win32/system/strings.h"

#include <climits>

#include "win32/system/win32_error.h"

namespace zelvo::win32 {

int CheckedLength(size_t size) {
  if (size > INT_MAX) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  return static_cast<int>(size);
}

// The log's texts are converted by the hundred thousand at start-up and at shutdown: a
// conversion is one call into room for the most the text can take, rather than a call that
// measures it first and a second that converts.

std::wstring Wide(std::string_view bytes, UINT code_page) {
  std::wstring wide;
  WideInto(bytes, wide, code_page);
  return wide;
}

void WideInto(std::string_view bytes, std::wstring& into, UINT code_page) {
  into.clear();
  if (bytes.empty()) return;
  const int size = CheckedLength(bytes.size());
  // Hardly a code page takes more UTF-16 units than bytes; one that does is asked for the size.
  into.resize(bytes.size());
  int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, into.data(), size);
  if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
    if (length != 0) {
      into.resize(static_cast<size_t>(length));
      length = MultiByteToWideChar(code_page, 0, bytes.data(), size, into.data(), length);
    }
  }
  if (length == 0) ThrowLastError();
  into.resize(static_cast<size_t>(length));
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = CheckedLength(text.size());
  // A UTF-16 unit takes at most three bytes in UTF-8 (a surrogate pair, two units, takes four).
  // A short text goes straight into room for the most it can take; a long one (a whole log
  // file) is measured first, so that it never holds three times the room it needs.
  constexpr size_t kMeasuredFrom = 4096;
  int length = text.size() < kMeasuredFrom ? CheckedLength(text.size() * 3)
                                           : WideCharToMultiByte(CP_UTF8, 0, text.data(), size,
                                                                 nullptr, 0, nullptr, nullptr);
  if (length == 0) ThrowLastError();
  std::string utf8(static_cast<size_t>(length), '\0');
  length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  if (length == 0) ThrowLastError();
  utf8.resize(static_cast<size_t>(length));
  return utf8;
}

}  // namespace zelvo::win32
