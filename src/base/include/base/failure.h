// An unexpected failure as Windows (or the library that failed) reports it: a signed 32-bit
// number and the system's own description. Every layer throws this; the routines that trap
// errors catch it at their boundary and report it once. A change the system refused for want of
// rights (a folder's access list, a privilege, a share) says so: those who can offer a way
// around it (administrator rights) catch it before the trap does.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zelvo {

class Failure : public std::runtime_error {
 public:
  enum class Kind { Unexpected, Refused };

  Failure(int32_t number, std::string description, Kind kind = Kind::Unexpected)
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        kind_(kind) {}

  int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }
  bool Refused() const { return kind_ == Kind::Refused; }

 private:
  int32_t number_;
  std::string description_;
  Kind kind_;
};

}  // namespace zelvo
