#include "app/error_report.h"

namespace zelvo {
namespace {

// HRESULTs for failures that come from the C++ runtime rather than from Windows.
constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);  // E_OUTOFMEMORY
constexpr int32_t kUnexpected = static_cast<int32_t>(0x8000FFFF);   // E_UNEXPECTED

}  // namespace

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

ErrorTrap::ErrorTrap(Dialogs& dialogs, Environment& environment)
    : dialogs_(dialogs), environment_(environment) {}

void ErrorTrap::Report(std::string_view source, const std::exception& error) {
  if (const auto* failure = dynamic_cast<const Failure*>(&error)) {
    ReportError(dialogs_, source, *failure);
  } else if (dynamic_cast<const std::bad_alloc*>(&error)) {
    ReportError(dialogs_, source, Failure(kOutOfMemory, environment_.DescribeFailure(kOutOfMemory)));
  } else {
    ReportError(dialogs_, source, Failure(kUnexpected, error.what()));
  }
}

void ErrorTrap::EndProgram() {
  if (end_program_) {
    auto end = std::move(end_program_);  // a failure while ending must not come back here
    end();
  }
  environment_.EndNow(1);
}

}  // namespace zelvo
