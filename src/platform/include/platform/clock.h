// Today's local date.
#pragma once

namespace zelvo {

struct Date {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
};

}  // namespace zelvo
