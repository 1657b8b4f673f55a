// Changes that Windows refuses for want of rights: the question whether to start Zelvo again as
// administrator (when it does not run so already), the warning when it does and is refused all
// the same, and the start itself, with what is left to do.
#pragma once

#include <string>
#include <vector>

#include "application/boxes.h"
#include "application/log_file.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace zelvo {

// How a start as administrator went: the new Zelvo runs and this one is to end; or the user
// declined the elevation, and this one goes on as it was.
// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] Restart { Started, Declined };
// clang-format on

class Elevation {
 public:
  // The log is saved to `log_file` before the program starts again.
  Elevation(Boxes& boxes, Environment& environment, LogFile& log_file);

  // Whether the program runs with administrator rights.
  bool Elevated() { return environment_.Elevated(); }

  // Windows refused to change the folder of the program `name` (`refusal` says why). Running
  // elevated already, the program shows the warning (title `failed_title`) and false comes
  // back; otherwise the user is asked (title `question_title`) whether to start it again as
  // administrator, and true comes back for Yes.
  bool OfferRestart(const std::string& name, const Refusal& refusal, TextId question_title,
                    TextId failed_title);

  // Saves the log and starts the program again as administrator with `targets` on its command
  // line.
  Restart RestartElevated(const std::vector<std::string>& targets);

 private:
  Boxes& boxes_;
  Environment& environment_;
  LogFile& log_file_;
};

}  // namespace zelvo
