// Reporting unexpected failures, and the error trap every procedure and event handler sets on
// entry: a failure is reported once, with the routine's name, and then turns into the status
// -1 (procedures) or ends the program (event handlers). A caller that receives -1 stops without
// a second report.
#pragma once

#include <exception>
#include <functional>
#include <new>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/failure.h"

namespace zelvo {

// The status word of the procedures: 0 success, -1 a failure that has been reported.
constexpr int kFailed = -1;

// Shows the report box for a failure caught in `source` (the routine's name followed by "()").
void ReportError(Dialogs& dialogs, std::string_view source, const Failure& failure);

// The six lines of the report box.
std::string ErrorReportText(std::string_view source, const Failure& failure);

class ErrorTrap {
 public:
  ErrorTrap(Dialogs& dialogs, Environment& environment);
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // What ends the program after a reported failure; by default the process ends at once.
  // The application installs its own (it keeps the log first).
  void SetEndProgram(std::function<void()> end_program) { end_program_ = std::move(end_program); }

  // Runs a procedure body that returns a status word. A failure inside it is reported with
  // `source`, and the procedure returns -1.
  template <class Body>
  int Procedure(std::string_view source, Body&& body) {
    try {
      return body();
    } catch (const std::exception& error) {
      Report(source, error);
      return kFailed;
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

  // Reports a caught exception with `source`: a Failure as it is, anything else as the failure
  // closest to it.
  void Report(std::string_view source, const std::exception& error);

  // Ends the program after a failure that has been reported already.
  void EndProgram();

 private:
  Dialogs& dialogs_;
  Environment& environment_;
  std::function<void()> end_program_;
};

}  // namespace zelvo
