#include "win32/system/clock.h"

#include <windows.h>

namespace zelvo::win32 {

Date Win32Clock::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace zelvo::win32
