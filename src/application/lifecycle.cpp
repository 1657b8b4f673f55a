#include "application/lifecycle.h"

namespace zelvo {
namespace {

constexpr int32_t kInvalidData = 13;  // ERROR_INVALID_DATA

}  // namespace

std::string VersionText(ProgramVersion version) {
  std::string minor = std::to_string(version.minor);
  if (minor.size() < 2) minor.insert(0, 2 - minor.size(), '0');
  return std::to_string(version.major) + "." + minor;
}

std::string ToolFolder(std::string program_folder) {
  if (program_folder.empty() || program_folder.back() != '\\') program_folder += '\\';
  return program_folder;
}

Lifecycle::Lifecycle(const Platform& platform, LogFile& log_file, ProgramBatch& batch,
                     ErrorTrap& trap, std::string version_text)
    : boxes_(platform.dialogs, platform.texts),
      view_(platform.view),
      environment_(platform.environment),
      log_file_(log_file),
      batch_(batch),
      trap_(trap),
      version_text_(std::move(version_text)) {}

bool Lifecycle::Start() {
  view_.SetCaption(boxes_.Text(TextId::WindowCaption, {version_text_}));
  if (environment_.PreviousInstanceRunning()) {
    boxes_.Tell(boxes_.Text(TextId::SecondInstance), TextId::ProgramTitle, Icon::Warning);
    return false;
  }
  const std::optional<HandOver> hand_over = TakeHandOver();
  if (hand_over) {
    log_file_.TakeHandedOver(*hand_over);
  } else {
    log_file_.LoadListData();
  }
  loaded_ = true;
  view_.Show();
  const BatchEnd end = hand_over
                           ? batch_.ApplyHandedOver(hand_over->programs)
                           : batch_.ApplyCommandLine(ArgumentText(environment_.CommandLine()));
  return end == BatchEnd::Done;
}

std::optional<HandOver> Lifecycle::TakeHandOver() {
  // Started by another Zelvo as administrator: its log (which it did not save) and the rest of
  // its batch. What cannot be read is lost; the user hears of it, and Zelvo starts as it always
  // does.
  std::string reason;
  try {
    const std::optional<std::string> bytes = environment_.TakeHandOver();
    if (!bytes) return std::nullopt;
    if (std::optional<HandOver> hand_over = ParseHandOver(*bytes)) return hand_over;
    reason = environment_.DescribeFailure(kInvalidData);
  } catch (const Failure& failure) {
    reason = failure.Description();
  }
  boxes_.Tell(boxes_.Text(TextId::HandOverLost, {reason}), TextId::ProgramTitle, Icon::Warning);
  return std::nullopt;
}

void Lifecycle::SaveOnClose() {
  if (!loaded_ || saved_) return;
  saved_ = true;  // a failure from here on is the save's own: it is not tried again
  log_file_.SaveListData();
}

void Lifecycle::KeepLog() {
  // An error in the middle of a run must not cost the entries applied before it: their
  // manifests are on disk already.
  if (!loaded_ || saved_) return;
  saved_ = true;
  (void)trap_.Guard("SaveListData()", [&] { log_file_.SaveListData(); });
}

}  // namespace zelvo
