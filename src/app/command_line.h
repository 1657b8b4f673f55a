// Programs named on the command line or dropped on the window: the selection is cleared once,
// then each path is applied in turn and its outcome shown in the status line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/error_report.h"
#include "log/log_view.h"
#include "manifest/apply.h"
#include "platform/file_system.h"

namespace zelvo {

// What follows the program's own name and the blanks after it on a whole command line.
std::string ArgumentText(std::string_view command_line);

// Splits the argument text into paths: blanks outside double quotes separate them, quotes group
// and are removed, backslashes are literal. No empty path results.
std::vector<std::string> SplitArguments(std::string_view argument_text);

class ProgramBatch {
 public:
  ProgramBatch(ManifestApplier& applier, LogView& view, FileSystem& files, ErrorTrap& trap);

  // Applies every path of the argument text; 0, or -1 after a reported failure.
  int GetCommandLine(const std::string& argument_text);

  // Applies every dropped file in the order of the drop; 0, or -1 after a reported failure.
  int ApplyZelvoDropFile(const std::vector<std::string>& dropped_files);

 private:
  ManifestApplier& applier_;
  LogView& view_;
  FileSystem& files_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
