// The report of an unexpected failure: six lines in a box with the stop icon, shown through the
// error trap.
#pragma once

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

class ErrorReport : public ErrorReporter {
 public:
  ErrorReport(Dialogs& dialogs, const Texts& texts, Environment& environment)
      : dialogs_(dialogs), texts_(texts), environment_(environment) {}

  std::string DescribeFailure(int32_t number) override;
  // Shows the report box for a failure caught in `source` (the routine's name followed by
  // "()").
  void ReportError(std::string_view source, const Failure& failure) override;

 private:
  Dialogs& dialogs_;
  const Texts& texts_;
  Environment& environment_;
};

}  // namespace zelvo
