// Loading the log at start and saving it at shutdown. The save replaces the file in one step,
// and never destroys a file whose entries this run did not load.
#include "application/log_file.h"

#include "model/log_file_format.h"

namespace zelvo {

LogFile::LogFile(Dialogs& dialogs, const Texts& texts, FileSystem& files,
                 const AnsiCodePage& code_page, LogModel& log, LogView& view, ErrorTrap& trap,
                 std::string tool_folder, std::string version_text)
    : dialogs_(dialogs),
      texts_(texts),
      files_(files),
      code_page_(code_page),
      log_(log),
      view_(view),
      trap_(trap),
      tool_folder_(std::move(tool_folder)),
      version_text_(std::move(version_text)) {}

Status LogFile::LoadListData() {
  return trap_.Procedure("LoadListData()", [&] {
    log_.Load({});
    left_behind_.clear();
    const std::string path = Path();
    if (files_.StoredName(path).empty()) {
      // The greeting's own failure is reported by the status line; the load goes on.
      (void)view_.PutInformation(std::string(texts_.Get(TextId::Greeting)));
      return Status::Done;
    }
    const std::optional<std::string> bytes = files_.ReadFile(path, kLargestLogFile);
    if (!bytes) {
      // No log the program writes is that large; reading it whole would take the memory of
      // the machine. The log starts empty, and the file is kept when the log is saved.
      left_behind_ = "too-large";
      dialogs_.Show(
          Notice(texts_.Format(TextId::LogTooLarge, {std::to_string(kLargestLogFile >> 20)}),
                 std::string(texts_.Get(TextId::ProgramTitle)), Icon::Warning));
      return Status::Done;
    }
    ParsedLogFile parsed = ParseLogFile(*bytes, version_text_, code_page_);
    log_.Load(std::move(parsed.entries));
    left_behind_ = std::move(parsed.left_behind);
    return Status::Done;
  });
}

Status LogFile::SaveListData() {
  return trap_.Procedure("SaveListData()", [&] {
    std::vector<const LogEntry*> entries;
    entries.reserve(log_.Count());
    for (size_t row = 0; row < log_.Count(); ++row) {
      // A row without its entry is left out: no other entry's folder and date stand in for it.
      if (const LogEntry* entry = log_.InItemData(log_.Key(row))) entries.push_back(entry);
    }
    const std::string bytes = FormatLogFile(version_text_, entries, code_page_);
    const std::string path = Path();
    if (!left_behind_.empty()) KeepUnloadedFile(path);
    files_.ReplaceAtomically(path, bytes);
    left_behind_.clear();
    return Status::Done;
  });
}

void LogFile::KeepUnloadedFile(const std::string& path) {
  if (files_.StoredName(path).empty()) return;  // gone since the start: nothing to keep
  // An earlier copy may hold other entries: it is never overwritten.
  const std::string stem = path + "." + left_behind_;
  // A log file that is a link is replaced as a name: the file it leads to stays as it is, and
  // nothing of it is copied beside the tool.
  if (files_.CopyToNew(path, stem + ".bak") != CopyResult::TargetTaken) return;
  for (int number = 2;; ++number) {
    if (files_.CopyToNew(path, stem + "-" + std::to_string(number) + ".bak") !=
        CopyResult::TargetTaken) {
      return;
    }
  }
}

}  // namespace zelvo
