// UTF-8 inside the program, UTF-16 at the Win32 boundary: the two conversions. They take other
// code pages too (the ANSI code page of the log file).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelvo::win32 {

// `bytes` of `code_page` in UTF-16. Bytes the code page does not define become U+FFFD (or the
// system's default character); only running out of memory fails.
std::wstring Wide(std::string_view bytes, UINT code_page = CP_UTF8);
// The same into `into`, whose room is used again: for texts converted by the hundred thousand.
void WideInto(std::string_view bytes, std::wstring& into, UINT code_page = CP_UTF8);

// `text` in UTF-8.
std::string Utf8(std::wstring_view text);

// A text's length as the conversion functions take it; a text too long for an int fails
// (ERROR_ARITHMETIC_OVERFLOW).
int CheckedLength(size_t size);

}  // namespace zelvo::win32
