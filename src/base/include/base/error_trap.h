// The one way an unexpected failure is dealt with. Each routine of the program runs its body as
// a Routine, which names the routine on a failure that passes through it; each window event,
// start-up and each Win32 callback runs its body in a Guard, which reports what failed once, in
// the report box, and hands back false so that its caller ends the program. Expected outcomes (a
// missing program, a No, a refusal for want of rights) are values, never failures.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "base/failure.h"

namespace zelvo {

// Where the trap sends what it caught: the report box.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  // The system's description of a failure number, for failures that come without one.
  virtual std::string DescribeFailure(int32_t number) = 0;
  // Shows the report of `failure`, caught in `source` (the routine's name followed by "()").
  virtual void ReportError(std::string_view source, const Failure& failure) = 0;
};

class ErrorTrap {
 public:
  explicit ErrorTrap(ErrorReporter& reporter) : reporter_(reporter) {}
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Runs the body of the routine `source` (its name followed by "()"). A failure inside it
  // goes on to the caller as a Failure whose source is this routine, unless a routine it
  // called is named already: the report names the innermost routine that failed.
  template <class Body>
  decltype(auto) Routine(std::string_view source, Body&& body) {
    try {
      return body();
    } catch (Failure& failure) {
      failure.NameSource(source);
      throw;
    } catch (const std::exception& error) {
      Failure failure = FailureOf(error);
      failure.NameSource(source);
      throw failure;
    }
  }

  // Runs `body`, which nothing may leave by an exception (a window event, start-up, a Win32
  // callback): a failure inside it is reported once, named by the routine it happened in (or by
  // `source` when none is named), and false comes back.
  template <class Body>
  [[nodiscard]] bool Guard(std::string_view source, Body&& body) noexcept {
    try {
      body();
      return true;
    } catch (const std::exception& error) {
      Report(source, error);
    } catch (...) {
      ReportUnknown(source);
    }
    return false;
  }

 private:
  // The failure closest to a caught exception: a Failure as it is, running out of memory as
  // E_OUTOFMEMORY, anything else as E_UNEXPECTED with its own text.
  Failure FailureOf(const std::exception& error);

  // Reports `error`, caught in `source` unless it names its own. A report box that cannot be
  // shown leaves nothing else to tell the user.
  void Report(std::string_view source, const std::exception& error) noexcept;
  void ReportUnknown(std::string_view source) noexcept;

  ErrorReporter& reporter_;
};

}  // namespace zelvo
