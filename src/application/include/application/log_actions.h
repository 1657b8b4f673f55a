// The three actions on the selected log entries: restore (delete their manifests and forget
// them), remove them from the log, and launch their programs. Each asks the user first and
// reports every step in the status line.
#pragma once

#include <string>

#include "application/elevation.h"
#include "application/log_view.h"
#include "base/error_trap.h"
#include "base/status.h"
#include "model/log_model.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/texts.h"

namespace zelvo {

class LogActions {
 public:
  LogActions(Dialogs& dialogs, const Texts& texts, FileSystem& files, ProcessLauncher& launcher,
             LogModel& log, LogView& view, Elevation& elevation, ErrorTrap& trap);

  // Restore: deletes the manifest beside each selected program and forgets its entry; an entry
  // without a manifest is forgotten or unselected as the user answers. An entry whose manifest
  // Windows refuses to delete is kept, unless the user starts the program again as
  // administrator.
  void cmdReturn_Click();

  // Forgets the selected entries; their programs keep their manifests.
  void cmdDelLog_Click();

  // Starts each selected program in its own folder; the log and the selection stay as they are.
  void cmdShell_Click();

  // Removes every selected entry from the log in one step.
  Status DeleteLog();

 private:
  // Whether a row is selected and there is a current row; otherwise shows `hint` in the status
  // line.
  bool HasSelection(TextId hint);
  // Shows `text` (with the program's `name`) in the status line; a failure there ends the
  // program (it is reported).
  void Inform(TextId text, const std::string& name = {});
  // A box's title.
  std::string Title(TextId title) const;
  // Deletes the manifest of the program `name`; false when Windows refused it and the program
  // goes on without (the user was warned, or declined to start it again as administrator).
  bool RemoveManifest(const std::string& name, const std::string& manifest);
  // One program of a launch.
  void Launch(const LogEntry& entry);
  // The notice that one program could not be started; the launch goes on after it.
  void NotifyFailure(const std::string& text);

  Dialogs& dialogs_;
  const Texts& texts_;
  FileSystem& files_;
  ProcessLauncher& launcher_;
  LogModel& log_;
  LogView& view_;
  Elevation& elevation_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
