// Changes that Windows refuses for want of rights: the question whether to start Zelvo again as
// administrator (when it does not run so already), the warning when it does and is refused all
// the same, and the start itself, with what is left to do.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/status.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/texts.h"

namespace zelvo {

class Elevation {
 public:
  // `keep_log` saves the log before the program starts again.
  Elevation(Dialogs& dialogs, const Texts& texts, Environment& environment,
            std::function<Status()> keep_log);

  // Whether the program runs with administrator rights.
  bool Elevated() { return environment_.Elevated(); }

  // Windows refused to change the folder of the program `name` (`refusal` says why). Running
  // elevated already, the program shows the warning (title `failed_title`) and false comes
  // back; otherwise the user is asked (title `question_title`) whether to start it again as
  // administrator, and true comes back for Yes.
  bool OfferRestart(const std::string& name, const Failure& refusal, TextId question_title,
                    TextId failed_title);

  // (clang-format reads the attribute as the start of an initialiser)
  // clang-format off
  enum class [[nodiscard]] Restart { Declined, Failed };
  // clang-format on

  // Saves the log and starts the program again as administrator with `targets` on its command
  // line; once that one has started, this one ends at once. Returns Declined when the user
  // declined the elevation (the program goes on as it was), Failed when the log could not be
  // saved (reported; nothing was started).
  Restart RestartElevated(const std::vector<std::string>& targets);

 private:
  Dialogs& dialogs_;
  const Texts& texts_;
  Environment& environment_;
  std::function<Status()> keep_log_;
};

}  // namespace zelvo
