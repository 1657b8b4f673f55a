#include "application/error_report.h"

namespace zelvo {

std::string ErrorReportText(const Texts& texts, std::string_view source, const Failure& failure) {
  return texts.Format(TextId::ErrorReport,
                      {source, std::to_string(failure.Number()), failure.Description()});
}

std::string ErrorReport::DescribeFailure(int32_t number) {
  return environment_.DescribeFailure(number);
}

void ErrorReport::ReportError(std::string_view source, const Failure& failure) {
  dialogs_.Show(Notice(ErrorReportText(texts_, source, failure),
                       std::string(texts_.Get(TextId::ErrorTitle)), Icon::Stop));
}

}  // namespace zelvo
