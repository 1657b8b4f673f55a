// The log file zelvo.ini in the tool folder: the version line, three lines per entry (name,
// folder, date) in the order of the visible list, and a closing empty line, CR LF throughout,
// in the system's ANSI code page (UTF-8 with a byte-order mark when a name does not fit it).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/error_report.h"
#include "log/log_model.h"
#include "log/log_view.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace zelvo {

class LogFile {
 public:
  // `tool_folder` (ending with a backslash) and `version_text` live as long as this object.
  LogFile(FileSystem& files, const AnsiCodePage& code_page, LogModel& log, LogView& view,
          ErrorTrap& trap, const std::string& tool_folder, const std::string& version_text);

  // Fills the log from the file; greets the user when there is none.
  int LoadListData();

  // Writes the log to the file in one step. A file whose entries were not all loaded is first
  // kept beside it, as zelvo.ini.<what it is>.bak.
  int SaveListData();

 private:
  std::string Path() const { return tool_folder_ + "zelvo.ini"; }
  void KeepUnloadedFile(const std::string& path);

  FileSystem& files_;
  const AnsiCodePage& code_page_;
  LogModel& log_;
  LogView& view_;
  ErrorTrap& trap_;
  const std::string& tool_folder_;
  const std::string& version_text_;
  // What the loaded file was, when some of its entries were not taken (see ParsedLogFile).
  std::string left_behind_;
};

}  // namespace zelvo
