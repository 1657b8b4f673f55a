// An unexpected failure as Windows (or the library that failed) reports it: a signed 32-bit
// number and the system's own description. Every layer throws this; the routines that trap
// errors catch it at their boundary and report it once.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zelvo {

class Failure : public std::runtime_error {
 public:
  Failure(int32_t number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}

  int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }

 private:
  int32_t number_;
  std::string description_;
};

}  // namespace zelvo
