// Applying the visual style to one program: follow a shortcut, check the target, ask before a
// file that is no program and before replacing a manifest (backed up first), write the
// manifest beside the program, and log the program as a new, selected entry.
#pragma once

#include <string>

#include "app/error_report.h"
#include "log/log_model.h"
#include "log/log_view.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/shortcuts.h"

namespace zelvo {

// What ApplyZelvo hands back besides 0 and -1: nothing was done, without a failure.
constexpr int kNotApplied = 1;

class ManifestApplier {
 public:
  // `tool_folder` ends with a backslash and lives as long as this object.
  ManifestApplier(Dialogs& dialogs, FileSystem& files, Shortcuts& shortcuts, Clock& clock,
                  LogModel& log, LogView& view, ErrorTrap& trap, const std::string& tool_folder);

  // Applies the visual style to the program at `path`: 0 applied, kNotApplied when the target
  // is missing or the user declined, -1 after a reported failure. A shortcut's path is
  // replaced by its target's in `path` itself.
  int ApplyZelvo(std::string& path);

  // Copies the existing manifest at `manifest_path` into the backup folder without ever
  // deleting or overwriting an earlier copy.
  int BackupManifest(const std::string& manifest_path);

 private:
  Dialogs& dialogs_;
  FileSystem& files_;
  Shortcuts& shortcuts_;
  Clock& clock_;
  LogModel& log_;
  LogView& view_;
  ErrorTrap& trap_;
  const std::string& tool_folder_;
};

}  // namespace zelvo
