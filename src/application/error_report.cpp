#include "application/error_report.h"

#include <utility>

namespace zelvo {

std::string ErrorReportText(const Texts& texts, std::string_view source, const Failure& failure) {
  return texts.Format(TextId::ErrorReport,
                      {source, std::to_string(failure.Number()), failure.Description()});
}

void ReportError(Dialogs& dialogs, const Texts& texts, std::string_view source,
                 const Failure& failure) {
  dialogs.Show(Notice(ErrorReportText(texts, source, failure),
                      std::string(texts.Get(TextId::ErrorTitle)), Icon::Stop));
}

std::string ErrorReport::DescribeFailure(int32_t number) {
  return environment_.DescribeFailure(number);
}

void ErrorReport::ReportError(std::string_view source, const Failure& failure) {
  zelvo::ReportError(dialogs_, texts_, source, failure);
}

void ErrorReport::EndAfterFailure() {
  if (last_step_) std::exchange(last_step_, nullptr)();
  environment_.EndNow(1);
}

}  // namespace zelvo
