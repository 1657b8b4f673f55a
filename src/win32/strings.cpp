#include "win32/strings.h"

#include <climits>

#include "win32/win32_error.h"

namespace zelvo::win32 {

int CheckedLength(size_t size) {
  if (size > INT_MAX) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  return static_cast<int>(size);
}

// Each conversion is one call into a buffer of the largest size the text can take: asking for
// the exact size first would read the text twice, and the log's texts are converted by the
// hundred thousand at start-up and at shutdown.

std::wstring Wide(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) return {};
  const int size = CheckedLength(bytes.size());
  // Hardly a code page takes more UTF-16 units than bytes; one that does is asked for the size.
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

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = CheckedLength(text.size());
  // A UTF-16 unit takes at most three bytes in UTF-8 (a surrogate pair, two units, takes four).
  std::string utf8(text.size() * 3, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(),
                                         CheckedLength(utf8.size()), nullptr, nullptr);
  if (length == 0) ThrowLastError();
  utf8.resize(static_cast<size_t>(length));
  return utf8;
}

}  // namespace zelvo::win32
