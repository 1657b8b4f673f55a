// UTF-8 inside the program, UTF-16 at the Win32 boundary: the two conversions.
#pragma once

#include <string>
#include <string_view>

namespace zelvo::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace zelvo::win32
