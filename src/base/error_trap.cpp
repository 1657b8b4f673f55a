#include "base/error_trap.h"

#include <cstdlib>
#include <new>

namespace zelvo {
namespace {

// HRESULTs for failures that come from the C++ runtime rather than from Windows.
constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);  // E_OUTOFMEMORY
constexpr int32_t kUnexpected = static_cast<int32_t>(0x8000FFFF);   // E_UNEXPECTED

}  // namespace

Failure FailureOf(const std::exception& error, ErrorReporter& reporter) {
  if (const auto* failure = dynamic_cast<const Failure*>(&error)) return *failure;
  if (dynamic_cast<const std::bad_alloc*>(&error)) {
    return Failure(kOutOfMemory, reporter.DescribeFailure(kOutOfMemory));
  }
  return Failure(kUnexpected, error.what());
}

void ErrorTrap::Report(std::string_view source, const std::exception& error) noexcept {
  try {
    reporter_.ReportError(source, FailureOf(error, reporter_));
  } catch (...) {
  }
}

void ErrorTrap::ReportUnknown(std::string_view source) noexcept {
  try {
    reporter_.ReportError(source, Failure(kUnexpected, reporter_.DescribeFailure(kUnexpected)));
  } catch (...) {
  }
}

void ErrorTrap::EndProgram() {
  reporter_.EndAfterFailure();
  // The compiler cannot see through the virtual call that it never comes back.
  std::abort();
}

}  // namespace zelvo
