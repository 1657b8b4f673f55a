#include "application/elevation.h"

namespace zelvo {

Elevation::Elevation(Boxes& boxes, Environment& environment, LogFile& log_file)
    : boxes_(boxes), environment_(environment), log_file_(log_file) {}

bool Elevation::OfferRestart(const std::string& name, const Refusal& refusal, TextId question_title,
                             TextId failed_title) {
  if (environment_.Elevated()) {
    boxes_.Tell(boxes_.Text(TextId::Refused, {name, refusal.reason}), failed_title, Icon::Warning);
    return false;
  }
  return boxes_.Ask(boxes_.Text(TextId::AdministratorQuestion, {name}), question_title,
                    DefaultButton::First);
}

Restart Elevation::RestartElevated(const std::vector<std::string>& targets) {
  // The elevated program loads the log as this one leaves it.
  log_file_.SaveListData();
  return environment_.RestartElevated(targets) ? Restart::Started : Restart::Declined;
}

}  // namespace zelvo
