// The actions on the selected log entries: restore (delete their manifests and forget them),
// remove them from the log, and launch their programs, each of which asks the user first and
// reports every step in the status line; and, from the list's context menu, show the programs
// in their folders or copy their paths.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "application/backup.h"
#include "application/boxes.h"
#include "application/elevation.h"
#include "application/log_view.h"
#include "base/error_trap.h"
#include "model/log_model.h"
#include "platform/platform.h"

namespace zelvo {

// The most folder windows one "open folder" opens: more would bury the desktop.
inline constexpr size_t kMostFoldersOpened = 10;

// How a restore ended: done (or cancelled), or handed to a Zelvo started as administrator,
// where the user restores again.
// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] RestoreEnd { Done, HandedOver };
// clang-format on

class LogActions {
 public:
  LogActions(const Platform& platform, LogModel& log, LogView& view, ManifestBackup& backup,
             Elevation& elevation, ErrorTrap& trap);

  // Deletes the manifest beside each selected program and forgets its entry; an entry without
  // a manifest is forgotten or unselected as the user answers. A manifest that is not Zelvo's
  // own document is backed up first. An entry whose manifest Windows refuses to delete (or to
  // back up) is kept, unless the user starts the program again as administrator.
  RestoreEnd Restore();

  // Forgets the selected entries; their programs keep their manifests.
  void Remove();

  // Starts each selected program in its own folder; the log and the selection stay as they are.
  void Launch();

  // Shows each selected program in its folder: one window for each folder, with the selected
  // programs in it selected, for the first kMostFoldersOpened folders in visible order. A
  // program that is not there gets the launch's notice that it was not found.
  void OpenFolders();

  // Puts the full paths of the selected programs on the clipboard, one a line, in visible order.
  void CopyPaths();

  // Removes every selected entry from the log in one step.
  void DeleteLog();

 private:
  // Whether a row is selected and there is a current row; otherwise shows `hint` in the status
  // line.
  bool HasSelection(TextId hint);
  // The entries of the selected rows in visible order; a row without its entry is left out.
  std::vector<const LogEntry*> SelectedEntries() const;
  // Whether the program of `entry` is there to start or to show.
  bool ProgramFound(const LogEntry& entry);
  // Shows `text` (with the program's `name`) in the status line.
  void Inform(TextId text, const std::string& name = {});
  // Deletes `manifest`, the manifest of the program `name` in `folder`, backed up first unless
  // it is Zelvo's own document, and sets the program's time so that Windows notices. Windows
  // may refuse it: the manifest is then kept (the user was warned, or said No to starting Zelvo
  // again as administrator), or the user wants the restore done by Zelvo as administrator.
  enum class Removal { Removed, Kept, WantsAdministrator };
  Removal RemoveManifest(const std::string& name, const std::string& folder,
                         const FileFacts& manifest);
  // Whether `manifest` is byte for byte a document Zelvo writes.
  bool IsOwnDocument(const FileFacts& manifest);
  Removal Refused(const std::string& name, const Refusal& refusal);
  // Hands the log to a Zelvo started as administrator, where the user restores again from the
  // entry at `row` on.
  Restart HandOverFrom(size_t row);
  // One program of a launch.
  void LaunchOne(const LogEntry& entry);
  // The notice that one program could not be started; the launch goes on after it.
  void NotifyFailure(const std::string& text);

  Boxes boxes_;
  FileSystem& files_;
  ProcessLauncher& launcher_;
  Shell& shell_;
  Clipboard& clipboard_;
  LogModel& log_;
  LogView& view_;
  ManifestBackup& backup_;
  Elevation& elevation_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
