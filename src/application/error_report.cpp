#include "application/error_report.h"

#include <utility>

namespace zelvo {

std::string ErrorReportText(std::string_view source, const Failure& failure) {
  std::string text = "予期せぬエラーが発生しました。\r\n";
  text += "以下の情報を元に作成者に連絡して下さい。\r\n";
  text += "\r\n";
  text += "エラー元 ： ";
  text += source;
  text += "\r\n";
  text += "エラー番号 ： " + std::to_string(failure.Number()) + "\r\n";
  text += "エラー内容 ： " + failure.Description();
  return text;
}

void ReportError(Dialogs& dialogs, std::string_view source, const Failure& failure) {
  dialogs.Show(Notice(ErrorReportText(source, failure), "予期せぬエラーの発生", Icon::Stop));
}

std::string ErrorReport::DescribeFailure(int32_t number) {
  return environment_.DescribeFailure(number);
}

void ErrorReport::ReportError(std::string_view source, const Failure& failure) {
  zelvo::ReportError(dialogs_, source, failure);
}

void ErrorReport::EndAfterFailure() {
  if (last_step_) std::exchange(last_step_, nullptr)();
  environment_.EndNow(1);
}

}  // namespace zelvo
