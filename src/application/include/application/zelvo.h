// The program's logic wired together: the log and its view, the log file, the procedures, and
// the events of the window that drive them. The window is given; its events go to Events().
#pragma once

#include <string>

#include "application/apply.h"
#include "application/backup.h"
#include "application/boxes.h"
#include "application/elevation.h"
#include "application/lifecycle.h"
#include "application/log_actions.h"
#include "application/log_file.h"
#include "application/log_view.h"
#include "application/program_batch.h"
#include "application/window_events.h"
#include "base/error_trap.h"
#include "model/log_model.h"
#include "platform/platform.h"

namespace zelvo {

class Zelvo {
 public:
  // What fails is reported through `trap`, which the window shares for its own failures.
  Zelvo(const Platform& platform, ErrorTrap& trap);
  Zelvo(const Zelvo&) = delete;
  Zelvo& operator=(const Zelvo&) = delete;

  // Start-up: the window's load event.
  void Start() { events_.Load(); }
  WindowEvents& Events() { return events_; }

  const std::string& ToolFolderValue() const { return tool_folder_; }

 private:
  const std::string version_text_;
  const std::string tool_folder_;
  Boxes boxes_;
  LogModel log_;
  LogView log_view_;
  LogFile log_file_;
  Elevation elevation_;
  ManifestBackup backup_;
  ManifestApplier applier_;
  ProgramBatch batch_;
  LogActions actions_;
  Lifecycle lifecycle_;
  EventRouter events_;
};

}  // namespace zelvo
