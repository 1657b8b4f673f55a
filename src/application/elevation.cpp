#include "application/elevation.h"

namespace zelvo {

Elevation::Elevation(Dialogs& dialogs, const Texts& texts, Environment& environment,
                     std::function<Status()> keep_log)
    : dialogs_(dialogs), texts_(texts), environment_(environment), keep_log_(std::move(keep_log)) {}

bool Elevation::OfferRestart(const std::string& name, const Failure& refusal, TextId question_title,
                             TextId failed_title) {
  if (environment_.Elevated()) {
    dialogs_.Show(Notice(texts_.Format(TextId::Refused, {name, refusal.Description()}),
                         std::string(texts_.Get(failed_title)), Icon::Warning));
    return false;
  }
  return dialogs_.Show(Question(texts_.Format(TextId::AdministratorQuestion, {name}),
                                std::string(texts_.Get(question_title)), DefaultButton::First)) ==
         Answer::Yes;
}

Elevation::Restart Elevation::RestartElevated(const std::vector<std::string>& targets) {
  // The elevated program loads the log as this one leaves it.
  if (keep_log_() == Status::Failed) return Restart::Failed;
  if (!environment_.RestartElevated(targets)) return Restart::Declined;
  environment_.EndNow(0);
}

}  // namespace zelvo
