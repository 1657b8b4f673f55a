// Applying the visual style to one program: follow a shortcut, check the target, ask before a
// file that is no program and before replacing a manifest (backed up first), write the
// manifest beside the program, and log the program as a new, selected entry.
#pragma once

#include <string>

#include "application/backup.h"
#include "application/boxes.h"
#include "application/elevation.h"
#include "base/error_trap.h"
#include "model/log_model.h"
#include "platform/platform.h"

namespace zelvo {

// How applying to one program went, and the names the status line shows for it.
struct [[nodiscard]] ApplyOutcome {
  enum Result {
    Applied,
    Missing,         // nothing stands at the path: the user was warned
    Declined,        // the user answered No to a question
    Unreadable,      // the program could not be read: the user was warned
    LinkedManifest,  // the old manifest is a link: the user was warned
    Refused,         // Windows refused the change: the user was warned, or declined to start again
    NeedsAdministrator,  // Windows refused the change, and the user wants Zelvo started again
                         // as administrator for it
  };
  Result result = Missing;
  // The stored name of the path as given ("" when nothing stands there): a shortcut's own.
  std::string given_name;
  // The stored name of the program it led to ("" when none): a shortcut's target's.
  std::string name;
};

class ManifestApplier {
 public:
  ManifestApplier(const Platform& platform, LogModel& log, ManifestBackup& backup,
                  Elevation& elevation, ErrorTrap& trap);

  // Applies the visual style to the program at `path` and adds it to the log as the current,
  // selected entry.
  ApplyOutcome ApplyZelvo(const std::string& path);

 private:
  ApplyOutcome::Result Apply(const std::string& path, ApplyOutcome& outcome);
  ApplyOutcome::Result Warn(const std::string& text, ApplyOutcome::Result result);
  // Windows refused a change for the program `name` (`refusal` says which folder, and why).
  ApplyOutcome::Result Refused(const std::string& name, const Refusal& refusal);
  bool Ask(const std::string& text);

  Boxes boxes_;
  FileSystem& files_;
  Shortcuts& shortcuts_;
  Clock& clock_;
  LogModel& log_;
  ManifestBackup& backup_;
  Elevation& elevation_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
