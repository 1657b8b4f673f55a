// Applying the visual style to one program: follow a shortcut, check the target, ask before a
// file that is no program and before replacing a manifest (backed up first), write the
// manifest beside the program, and log the program as a new, selected entry.
#pragma once

#include <optional>
#include <string>

#include "application/elevation.h"
#include "base/error_trap.h"
#include "base/status.h"
#include "model/log_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/shortcuts.h"
#include "platform/texts.h"

namespace zelvo {

// How applying to one program went: applied; not applied, for a reason the user was shown or
// chose (a missing target, a No); failed, with the failure reported; or not applied because
// Windows refused the change, and the user wants to start Zelvo again as administrator for it.
// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] ApplyResult { Applied, NotApplied, Failed, NeedsAdministrator };
// clang-format on

// How backing up went: done; refused by Windows for want of rights (not reported: the caller
// offers a way round it); not done, because the manifest is a link (which could lead to any
// file); or failed, with the failure reported.
// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] BackupResult { Done, Refused, SourceIsLink, Failed };
// clang-format on

struct [[nodiscard]] ApplyOutcome {
  ApplyResult result;
  // The path the procedure ended with: a shortcut's target instead of the shortcut.
  std::string path;
};

class ManifestApplier {
 public:
  // `tool_folder` ends with a backslash; the backup folder lies in it.
  ManifestApplier(Dialogs& dialogs, const Texts& texts, FileSystem& files, Shortcuts& shortcuts,
                  Clock& clock, LogModel& log, Elevation& elevation, ErrorTrap& trap,
                  std::string tool_folder);

  // Applies the visual style to the program at `path` and adds it to the log as the current,
  // selected entry.
  ApplyOutcome ApplyZelvo(const std::string& path);

  // Copies the existing manifest at `manifest_path` into the backup folder without ever
  // deleting or overwriting an earlier copy.
  BackupResult BackupManifest(const std::string& manifest_path);

 private:
  // The body of ApplyZelvo; a shortcut's path is replaced by its target's in `path`.
  ApplyResult Apply(std::string& path);
  // The title of the procedure's questions.
  std::string ConfirmTitle() const;
  // The warning that the program is missing.
  ApplyResult MissingProgram();
  // A warning with `text`; the program is not applied.
  ApplyResult Warn(const std::string& text);
  // Windows refused to change the folder of the program `name`.
  ApplyResult Refused(const std::string& name, const Failure& refusal);
  // The copy of BackupManifest, which throws what fails.
  BackupResult CopyToBackup(const std::string& manifest_path);

  Dialogs& dialogs_;
  const Texts& texts_;
  FileSystem& files_;
  Shortcuts& shortcuts_;
  Clock& clock_;
  LogModel& log_;
  Elevation& elevation_;
  ErrorTrap& trap_;
  // Why the last backup was refused.
  std::optional<Failure> backup_refusal_;
  const std::string tool_folder_;
};

}  // namespace zelvo
