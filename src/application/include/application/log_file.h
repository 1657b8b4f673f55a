// The log file zelvo.ini in the tool folder: the version line, three lines per entry (name,
// folder, date) in the order of the visible list, and a closing empty line, CR LF throughout,
// in the system's ANSI code page (UTF-8 with a byte-order mark when a name does not fit it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "application/log_view.h"
#include "base/error_trap.h"
#include "base/status.h"
#include "model/log_model.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "platform/texts.h"

namespace zelvo {

class LogFile {
 public:
  // The file lies in `tool_folder` (ending with a backslash); `version_text` is its first line.
  LogFile(Dialogs& dialogs, const Texts& texts, FileSystem& files, const AnsiCodePage& code_page,
          LogModel& log, LogView& view, ErrorTrap& trap, std::string tool_folder,
          std::string version_text);

  // The largest log file read: 64 MiB, some 400,000 entries.
  static constexpr uint64_t kLargestLogFile = uint64_t{64} << 20;

  // Fills the log from the file; greets the user when there is none. A file larger than
  // kLargestLogFile is not read: the user is told, and the file is kept at the save.
  Status LoadListData();

  // Writes the log to the file in one step. A file whose entries were not all loaded is first
  // kept beside it, as zelvo.ini.<what it is>.bak.
  Status SaveListData();

 private:
  std::string Path() const { return tool_folder_ + "zelvo.ini"; }
  void KeepUnloadedFile(const std::string& path);

  Dialogs& dialogs_;
  const Texts& texts_;
  FileSystem& files_;
  const AnsiCodePage& code_page_;
  LogModel& log_;
  LogView& view_;
  ErrorTrap& trap_;
  const std::string tool_folder_;
  const std::string version_text_;
  // What the loaded file was, when some of its entries were not taken (see ParsedLogFile).
  std::string left_behind_;
};

}  // namespace zelvo
