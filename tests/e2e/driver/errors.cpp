#include "driver/errors.h"

#include "win32/system/win32_error.h"

namespace zelvo::e2e {

void ThrowError(const std::string& what, DWORD code) {
  throw DriverError(what + ": " + win32::DescribeError(code) + " (" + std::to_string(code) + ")");
}

void ThrowLastError(const std::string& what) { ThrowError(what, GetLastError()); }

}  // namespace zelvo::e2e
