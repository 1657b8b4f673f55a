// Win32 and COM failures as Failure: the code as a signed 32-bit number, and the system's own
// description of it (trailing line end trimmed).
#pragma once

#include <windows.h>

#include <string>

#include "base/failure.h"

namespace zelvo::win32 {

// The system's text for an error code or HRESULT, or "" when it has none.
std::string DescribeError(DWORD code);

Failure Win32Failure(DWORD code);
[[noreturn]] void ThrowWin32Error(DWORD code);
// The calling thread's last error.
[[noreturn]] void ThrowLastError();
[[noreturn]] void ThrowHresult(HRESULT result);

inline void CheckHresult(HRESULT result) {
  if (FAILED(result)) ThrowHresult(result);
}

}  // namespace zelvo::win32
