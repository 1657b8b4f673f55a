#include "base/error_trap.h"

#include <new>

namespace zelvo {
namespace {

// HRESULTs for failures that come from the C++ runtime rather than from Windows.
constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);  // E_OUTOFMEMORY
constexpr int32_t kUnexpected = static_cast<int32_t>(0x8000FFFF);   // E_UNEXPECTED

}  // namespace

Failure ErrorTrap::FailureOf(const std::exception& error) {
  if (const auto* failure = dynamic_cast<const Failure*>(&error)) return *failure;
  if (dynamic_cast<const std::bad_alloc*>(&error)) {
    return Failure(kOutOfMemory, reporter_.DescribeFailure(kOutOfMemory));
  }
  return Failure(kUnexpected, error.what());
}

void ErrorTrap::Report(std::string_view source, const std::exception& error) noexcept {
  try {
    const Failure failure = FailureOf(error);
    reporter_.ReportError(failure.Source().empty() ? source : failure.Source(), failure);
  } catch (...) {
  }
}

void ErrorTrap::ReportUnknown(std::string_view source) noexcept {
  try {
    reporter_.ReportError(source, Failure(kUnexpected, reporter_.DescribeFailure(kUnexpected)));
  } catch (...) {
  }
}

}  // namespace zelvo
