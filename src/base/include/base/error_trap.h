// The error trap that every procedure and event handler sets on entry, and every Win32 callback
// at its boundary: a failure is reported once, with the routine's name, and then turns into the
// status Failed (procedures) or ends the program (event handlers and callbacks). A caller that
// receives Failed stops without a second report.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "base/failure.h"

namespace zelvo {

// Where the trap sends what it caught: the report box, and the end of the program.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  // The system's description of a failure number, for failures that come without one.
  virtual std::string DescribeFailure(int32_t number) = 0;
  // Shows the report of `failure`, caught in `source` (the routine's name followed by "()").
  virtual void ReportError(std::string_view source, const Failure& failure) = 0;
  // Ends the program after a failure that has been reported.
  [[noreturn]] virtual void EndAfterFailure() = 0;
};

// The failure closest to a caught exception: a Failure as it is, running out of memory as
// E_OUTOFMEMORY, anything else as E_UNEXPECTED with its own text.
Failure FailureOf(const std::exception& error, ErrorReporter& reporter);

class ErrorTrap {
 public:
  explicit ErrorTrap(ErrorReporter& reporter) : reporter_(reporter) {}
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Runs a procedure body, which returns a status (Status, or a status of its own with a
  // Failed value). A failure inside it is reported with `source`, and the procedure returns
  // Failed.
  template <class Body>
  auto Procedure(std::string_view source, Body&& body) -> decltype(body()) {
    try {
      return body();
    } catch (const std::exception& error) {
      Report(source, error);
      return decltype(body())::Failed;
    }
  }

  // Runs an event handler body. A failure inside it is reported with `source`, and the
  // program ends.
  template <class Body>
  void Handler(std::string_view source, Body&& body) {
    try {
      body();
    } catch (const std::exception& error) {
      Report(source, error);
      EndProgram();
    }
  }

  // Runs the body of a Win32 callback (a window or subclass procedure), which nothing may leave
  // by an exception: whatever it throws is reported with `source`, and the program ends.
  template <class Body>
  void Callback(std::string_view source, Body&& body) {
    try {
      body();
    } catch (const std::exception& error) {
      Report(source, error);
      EndProgram();
    } catch (...) {
      ReportUnknown(source);
      EndProgram();
    }
  }

  // Reports a caught exception with `source`. A report box that cannot be shown leaves nothing
  // else to tell the user; the caller goes on as after a report.
  void Report(std::string_view source, const std::exception& error) noexcept;

  // Ends the program after a failure that has been reported already.
  [[noreturn]] void EndProgram();

 private:
  void ReportUnknown(std::string_view source) noexcept;

  ErrorReporter& reporter_;
};

}  // namespace zelvo
