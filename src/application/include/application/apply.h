// Applying the visual style to one program: follow a shortcut, check the target, ask before a
// file that is no program and before replacing a manifest (backed up first), write the
// manifest beside the program, and log the program as a new, selected entry.
#pragma once

#include <string>

#include "base/error_trap.h"
#include "base/status.h"
#include "model/log_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/shortcuts.h"

namespace zelvo {

// How applying to one program went: applied; not applied, for a reason the user was shown or
// chose (a missing target, a No); or failed, with the failure reported.
enum class [[nodiscard]] ApplyResult{Applied, NotApplied, Failed};

struct [[nodiscard]] ApplyOutcome {
  ApplyResult result;
  // The path the procedure ended with: a shortcut's target instead of the shortcut.
  std::string path;
};

class ManifestApplier {
 public:
  // `tool_folder` ends with a backslash; the backup folder lies in it.
  ManifestApplier(Dialogs& dialogs, FileSystem& files, Shortcuts& shortcuts, Clock& clock,
                  LogModel& log, ErrorTrap& trap, std::string tool_folder);

  // Applies the visual style to the program at `path` and adds it to the log as the current,
  // selected entry.
  ApplyOutcome ApplyZelvo(const std::string& path);

  // Copies the existing manifest at `manifest_path` into the backup folder without ever
  // deleting or overwriting an earlier copy.
  Status BackupManifest(const std::string& manifest_path);

 private:
  // The body of ApplyZelvo; a shortcut's path is replaced by its target's in `path`.
  ApplyResult Apply(std::string& path);

  Dialogs& dialogs_;
  FileSystem& files_;
  Shortcuts& shortcuts_;
  Clock& clock_;
  LogModel& log_;
  ErrorTrap& trap_;
  const std::string tool_folder_;
};

}  // namespace zelvo
