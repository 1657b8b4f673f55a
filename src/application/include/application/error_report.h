// The report of an unexpected failure: six lines in a box with the stop icon. And the reporter
// through which the error trap shows it and ends the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/error_trap.h"
#include "base/failure.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/texts.h"

namespace zelvo {

// The six lines of the report box for a failure caught in `source`.
std::string ErrorReportText(const Texts& texts, std::string_view source, const Failure& failure);

// Shows the report box for a failure caught in `source` (the routine's name followed by "()").
void ReportError(Dialogs& dialogs, const Texts& texts, std::string_view source,
                 const Failure& failure);

class ErrorReport : public ErrorReporter {
 public:
  ErrorReport(Dialogs& dialogs, const Texts& texts, Environment& environment)
      : dialogs_(dialogs), texts_(texts), environment_(environment) {}

  // A last step before the end after a failure (the application keeps its log); it runs once,
  // and a failure inside it does not come back to it.
  void SetLastStep(std::function<void()> last_step) { last_step_ = std::move(last_step); }

  std::string DescribeFailure(int32_t number) override;
  void ReportError(std::string_view source, const Failure& failure) override;
  [[noreturn]] void EndAfterFailure() override;

 private:
  Dialogs& dialogs_;
  const Texts& texts_;
  Environment& environment_;
  std::function<void()> last_step_;
};

}  // namespace zelvo
