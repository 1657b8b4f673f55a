// Today's date from the system's local time.
#pragma once

#include "platform/clock.h"

namespace zelvo::win32 {

class Win32Clock : public Clock {
 public:
  Date Today() override;
};

}  // namespace zelvo::win32
