// Loading the log at start and saving it at shutdown. The save replaces the file in one step,
// and never destroys a file whose entries this run did not load.
#include "application/log_file.h"

#include <algorithm>

#include "model/log_file_format.h"

namespace zelvo {

LogFile::LogFile(const Platform& platform, LogModel& log, LogView& view, ErrorTrap& trap,
                 const std::string& tool_folder, std::string version_text)
    : boxes_(platform.dialogs, platform.texts),
      files_(platform.files),
      code_page_(platform.code_page),
      log_(log),
      view_(view),
      trap_(trap),
      folder_(tool_folder),
      path_(tool_folder + "zelvo.ini"),
      version_text_(std::move(version_text)) {}

void LogFile::LoadListData() {
  trap_.Routine("LoadListData()", [&] {
    log_.Load({});
    left_behind_.clear();
    if (!files_.Look(path_).Exists()) {
      view_.ShowStatusOrReport(boxes_.Text(TextId::Greeting));
      return;
    }
    const std::optional<std::string> bytes = files_.ReadFile(path_, kLargestLogFile);
    if (!bytes) {
      // No log the program writes is that large; reading it whole would take the memory of
      // the machine. The log starts empty, and the file is kept when the log is saved.
      left_behind_ = "too-large";
      boxes_.Tell(boxes_.Text(TextId::LogTooLarge, {std::to_string(kLargestLogFile >> 20)}),
                  TextId::ProgramTitle, Icon::Warning);
      return;
    }
    ParsedLogFile parsed = ParseLogFile(*bytes, version_text_, code_page_);
    log_.Load(std::move(parsed.entries));
    left_behind_ = std::move(parsed.left_behind);
  });
}

namespace {

// The entries in the order of the visible list. A row without its entry is left out: no other
// entry's folder and date stand in for it.
std::vector<const LogEntry*> EntriesOf(const LogModel& log) {
  std::vector<const LogEntry*> entries;
  entries.reserve(log.Count());
  for (size_t row = 0; row < log.Count(); ++row) {
    if (const LogEntry* entry = log.InItemData(log.Key(row))) entries.push_back(entry);
  }
  return entries;
}

}  // namespace

void LogFile::SaveListData() {
  trap_.Routine("SaveListData()", [&] {
    const std::string bytes = FormatLogFile(version_text_, EntriesOf(log_), code_page_);
    if (!left_behind_.empty()) KeepUnloadedFile();
    files_.ReplaceAtomically(path_, bytes).ThrowIfRefused();
    left_behind_.clear();
  });
}

HandOver LogFile::HandOverLog(const std::vector<int32_t>& leaving) const {
  HandOver hand_over;
  for (size_t row = 0; row < log_.Count(); ++row) {
    const int32_t key = log_.Key(row);
    if (std::find(leaving.begin(), leaving.end(), key) != leaving.end()) continue;
    if (const LogEntry* entry = log_.InItemData(key)) hand_over.log.push_back(*entry);
  }
  hand_over.left_behind = left_behind_;
  return hand_over;
}

void LogFile::TakeHandedOver(const HandOver& hand_over) {
  trap_.Routine("LoadListData()", [&] {
    log_.Load(hand_over.log);
    left_behind_ = hand_over.left_behind;
  });
}

void LogFile::KeepUnloadedFile() {
  if (!files_.Look(path_).Exists()) return;  // gone since the start: nothing to keep
  // An earlier copy may hold other entries: it is never overwritten.
  const std::string stem = "zelvo.ini." + left_behind_;
  // A log file that is a link is replaced as a name: the file it leads to stays as it is, and
  // nothing of it is copied beside the tool.
  for (int number = 1;; ++number) {
    const std::string copy = stem + (number == 1 ? "" : "-" + std::to_string(number)) + ".bak";
    if (files_.CopyToNew(path_, folder_, copy).ThrowIfRefused() != CopyResult::TargetTaken) {
      return;
    }
  }
}

}  // namespace zelvo
