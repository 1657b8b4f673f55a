// Failures of the driver itself (a Win32 call that failed, a window that never came): thrown as
// DriverError, which GoogleTest reports as the failure of the running test with this text.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace zelvo::e2e {

class DriverError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "what: the system's text (code)" for the calling thread's last error.
[[noreturn]] void ThrowLastError(const std::string& what);
[[noreturn]] void ThrowError(const std::string& what, DWORD code);

// Passes a result through; throws with the last error when it is zero or null.
template <typename T>
T Check(T result, const std::string& what) {
  if (!result) ThrowLastError(what);
  return result;
}

}  // namespace zelvo::e2e
