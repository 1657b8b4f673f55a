// An unexpected failure as Windows (or the library that failed) reports it: a signed 32-bit
// number and the system's own description. Every layer throws this. On its way out, each routine
// of the program that it passes names itself as the failure's source unless an inner one did
// already, so that the one report, made where the event that ran it is trapped, names the
// routine it happened in.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zelvo {

class Failure : public std::runtime_error {
 public:
  Failure(int32_t number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}

  int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }

  // The routine it happened in, its name followed by "()"; empty until a routine named itself.
  const std::string& Source() const { return source_; }
  // Names `source` as the routine it happened in, unless one is named already.
  void NameSource(std::string_view source) {
    if (source_.empty()) source_ = source;
  }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
};

}  // namespace zelvo
