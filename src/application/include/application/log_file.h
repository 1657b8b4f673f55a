// The log file zelvo.ini in the tool folder: the version line, three lines per entry (name,
// folder, date) in the order of the visible list, and a closing empty line, CR LF throughout,
// in the system's ANSI code page (UTF-8 with a byte-order mark when a name does not fit it).
#pragma once

#include <cstdint>
#include <string>

#include "application/boxes.h"
#include "application/log_view.h"
#include "base/error_trap.h"
#include "model/hand_over.h"
#include "model/log_model.h"
#include "platform/platform.h"

namespace zelvo {

class LogFile {
 public:
  // The file lies in `tool_folder` (ending with a backslash); `version_text` is its first line.
  LogFile(const Platform& platform, LogModel& log, LogView& view, ErrorTrap& trap,
          const std::string& tool_folder, std::string version_text);

  // The largest log file read: 64 MiB, some 400,000 entries.
  static constexpr uint64_t kLargestLogFile = uint64_t{64} << 20;

  // Fills the log from the file; greets the user when there is none. A file larger than
  // kLargestLogFile is not read: the user is told, and the file is kept at the save.
  void LoadListData();

  // Writes the log to the file in one step. A file whose entries were not all loaded is first
  // kept beside it, as zelvo.ini.<what it is>.bak.
  void SaveListData();

  // The log as it stands, but for the entries of the keys `leaving`, for the Zelvo this one
  // hands it to (without programs).
  HandOver HandOverLog(const std::vector<int32_t>& leaving) const;
  // Takes the log a Zelvo handed over to this one instead of reading the file, which that one
  // read and left as it was.
  void TakeHandedOver(const HandOver& hand_over);

 private:
  void KeepUnloadedFile();

  Boxes boxes_;
  FileSystem& files_;
  const AnsiCodePage& code_page_;
  LogModel& log_;
  LogView& view_;
  ErrorTrap& trap_;
  const std::string folder_;
  const std::string path_;
  const std::string version_text_;
  // What the loaded file was, when some of its entries were not taken (see ParsedLogFile).
  std::string left_behind_;
};

}  // namespace zelvo
