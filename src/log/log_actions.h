// The three actions on the selected log entries: restore (delete their manifests and forget
// them), remove them from the log, and launch their programs. Each asks the user first and
// reports every step in the status line.
#pragma once

#include "app/error_report.h"
#include "log/log_model.h"
#include "log/log_view.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace zelvo {

class LogActions {
 public:
  LogActions(Dialogs& dialogs, FileSystem& files, ProcessLauncher& launcher, LogModel& log,
             LogView& view, ErrorTrap& trap);

  // Restore: deletes the manifest beside each selected program and forgets its entry; an entry
  // without a manifest is forgotten or unselected as the user answers.
  void cmdReturn_Click();

  // Forgets the selected entries; their programs keep their manifests.
  void cmdDelLog_Click();

  // Starts each selected program in its own folder; the log and the selection stay as they are.
  void cmdShell_Click();

  // Removes every selected entry from the log in one step.
  int DeleteLog();

 private:
  // Whether a row is selected and there is a current row; otherwise shows `hint` in the status
  // line. False also when showing the hint ended the program.
  bool HasSelection(const std::string& hint);
  // Shows `text`; false when that failed (reported already, the program is to end).
  bool Inform(const std::string& text);
  // The user answered No for `row`: unselect it, and let the view follow as it does for
  // every change of the selection.
  void Unselect(size_t row);
  // One program of a launch; false when the program is to end.
  bool Launch(const std::string& name, const std::string& folder);
  // The notice that one program could not be started; the launch goes on after it.
  void NotifyFailure(const std::string& text);

  Dialogs& dialogs_;
  FileSystem& files_;
  ProcessLauncher& launcher_;
  LogModel& log_;
  LogView& view_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
