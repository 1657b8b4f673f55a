// Changes that Windows refuses for want of rights: the question whether to start Zelvo again as
// administrator (asked once a batch, when Zelvo does not run so already), the warning when it
// does and is refused all the same, and the hand-over to the Zelvo started as administrator:
// the log as it stands and the programs still to apply.
#pragma once

#include <string>
#include <vector>

#include "application/boxes.h"
#include "application/log_file.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace zelvo {

// How a start as administrator went: the new Zelvo runs, and this one is to end; or it does not
// (the user declined, or Windows could not start it), and this one goes on as it was.
// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] Restart { Started, Declined };
// clang-format on

class Elevation {
 public:
  Elevation(Boxes& boxes, Environment& environment, FileSystem& files, LogFile& log_file);

  // A batch begins (a drop, the command line, a restore): a refusal may be asked about again.
  void NewBatch() { declined_ = false; }

  // Windows refused to change a folder for the program `name` (`refusal` says which, and why).
  // Running elevated already, the program shows the warning (title `failed_title`) and false
  // comes back. Otherwise the user is asked `question` (title `question_title`) whether to start
  // Zelvo again as administrator, and true comes back for Yes; once the user said No in this
  // batch, or declined the start, no one is asked again and false comes back.
  bool OfferRestart(const std::string& name, const Refusal& refusal, TextId question,
                    TextId question_title, TextId failed_title);

  // Starts Zelvo again as administrator and hands it the log as it stands (but for the entries
  // of the keys `leaving`) and `programs`, the rest of the batch as any account sees their
  // paths. Started: the new one owns the log, and this one is to end without saving it. Any
  // failure to start is the user's No (with a warning giving Windows' reason, title
  // `failed_title`).
  Restart RestartAsAdministrator(const std::vector<std::string>& programs, TextId failed_title,
                                 const std::vector<int32_t>& leaving = {});

 private:
  Boxes& boxes_;
  Environment& environment_;
  FileSystem& files_;
  LogFile& log_file_;
  bool declined_ = false;
};

}  // namespace zelvo
