#include "application/elevation.h"

#include "model/hand_over.h"

namespace zelvo {

Elevation::Elevation(Boxes& boxes, Environment& environment, FileSystem& files, LogFile& log_file)
    : boxes_(boxes), environment_(environment), files_(files), log_file_(log_file) {}

bool Elevation::OfferRestart(const std::string& name, const Refusal& refusal, TextId question,
                             TextId question_title, TextId failed_title) {
  if (environment_.Elevated()) {
    boxes_.Tell(boxes_.Text(TextId::Refused, {refusal.folder, refusal.reason}), failed_title,
                Icon::Warning);
    return false;
  }
  if (declined_) return false;
  if (boxes_.Ask(boxes_.Text(question, {refusal.folder, name}), question_title,
                 DefaultButton::First)) {
    return true;
  }
  declined_ = true;
  return false;
}

Restart Elevation::RestartAsAdministrator(const std::vector<std::string>& programs,
                                          TextId failed_title,
                                          const std::vector<int32_t>& leaving) {
  zelvo::HandOver hand_over = log_file_.HandOverLog(leaving);
  hand_over.programs.reserve(programs.size());
  // The new Zelvo starts in its own folder, maybe as another account: relative paths and
  // mapped drives would name other files there, or none.
  for (const std::string& program : programs) {
    hand_over.programs.push_back(files_.PathForAnyAccount(program));
  }
  const ElevatedStart start = environment_.StartElevated(FormatHandOver(hand_over));
  switch (start.outcome) {
    case ElevatedStart::Started:
      return Restart::Started;
    case ElevatedStart::Failed:
      boxes_.Tell(boxes_.Text(TextId::ElevationFailed, {start.reason}), failed_title,
                  Icon::Warning);
      break;
    case ElevatedStart::Declined:
      break;
  }
  declined_ = true;
  return Restart::Declined;
}

}  // namespace zelvo
