#include "application/elevation.h"

namespace zelvo {
namespace {

constexpr std::string_view kAdministratorQuestion =
    " のフォルダは、管理者の権限がないと変更するコトができません。\r\n"
    "管理者としてZelvoを起動し直しますか？";
constexpr std::string_view kRefusedWarning = " のフォルダの変更は、Windowsによって拒否されました。";

}  // namespace

Elevation::Elevation(Dialogs& dialogs, Environment& environment, std::function<Status()> keep_log)
    : dialogs_(dialogs), environment_(environment), keep_log_(std::move(keep_log)) {}

bool Elevation::OfferRestart(const std::string& name, const Failure& refusal,
                             std::string_view question_title, std::string_view failed_title) {
  if (environment_.Elevated()) {
    dialogs_.Show(Notice(name + std::string(kRefusedWarning) + "\r\n" + refusal.Description(),
                         std::string(failed_title), Icon::Warning));
    return false;
  }
  return dialogs_.Show(Question(name + std::string(kAdministratorQuestion),
                                std::string(question_title), DefaultButton::First)) == Answer::Yes;
}

Elevation::Restart Elevation::RestartElevated(const std::vector<std::string>& targets) {
  // The elevated program loads the log as this one leaves it.
  if (keep_log_() == Status::Failed) return Restart::Failed;
  if (!environment_.RestartElevated(targets)) return Restart::Declined;
  environment_.EndNow(0);
}

}  // namespace zelvo
