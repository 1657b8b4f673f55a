// Programs named on the command line or dropped on the window: the selection is cleared once,
// then each path is applied in turn and its outcome shown in the status line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "application/apply.h"
#include "application/elevation.h"
#include "application/log_view.h"
#include "base/error_trap.h"
#include "platform/texts.h"

namespace zelvo {

// What follows the program's own name and the blanks after it on a whole command line.
std::string ArgumentText(std::string_view command_line);

// Splits the argument text into paths: blanks outside double quotes separate them, quotes group
// and are removed, backslashes are literal. No empty path results.
std::vector<std::string> SplitArguments(std::string_view argument_text);

// How a batch ended: every path handled, or the rest handed to a Zelvo started as
// administrator, which this one leaves the log to.
// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] BatchEnd { Done, HandedOver };
// clang-format on

class ProgramBatch {
 public:
  ProgramBatch(const Texts& texts, ManifestApplier& applier, LogView& view, Elevation& elevation,
               ErrorTrap& trap);

  // Applies every path of the argument text (the procedure GetCommandLine). Each status line
  // names the program, a shortcut's target rather than the shortcut.
  BatchEnd ApplyCommandLine(const std::string& argument_text);

  // Applies every dropped file in the order of the drop. Each status line names the file as
  // dropped, a shortcut rather than its target.
  BatchEnd ApplyDroppedFiles(const std::vector<std::string>& dropped_files);

  // Applies the programs a Zelvo handed over to this one, as if on its command line.
  BatchEnd ApplyHandedOver(const std::vector<std::string>& programs);

 private:
  // Applies `paths` in order; each status line names the program by `named(outcome)`. When the
  // user wants a program applied as administrator, Zelvo starts again elevated and is handed
  // that path and the ones after it.
  template <class Named>
  BatchEnd ApplyEach(const std::vector<std::string>& paths, Named named);

  const Texts& texts_;
  ManifestApplier& applier_;
  LogView& view_;
  Elevation& elevation_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
