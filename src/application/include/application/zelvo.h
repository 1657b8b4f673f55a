// The main window's logic: start-up, the events of the window and its controls, and shutdown.
// It wires the procedures together and owns the log for the life of the window.
#pragma once

#include <optional>
#include <string>

#include "application/apply.h"
#include "application/elevation.h"
#include "application/error_report.h"
#include "application/log_actions.h"
#include "application/log_file.h"
#include "application/log_view.h"
#include "application/program_batch.h"
#include "base/error_trap.h"
#include "model/log_model.h"
#include "platform/platform.h"

namespace zelvo {

// The most files one drop may carry.
inline constexpr size_t kMostDroppedFiles = 100000;

// "2.20": the major version, a full stop, the minor version with at least two digits.
std::string VersionText(ProgramVersion version);

// The tool folder: the program's folder with exactly one trailing backslash.
std::string ToolFolder(std::string program_folder);

class Zelvo : public WindowEvents {
 public:
  explicit Zelvo(const Platform& platform);
  Zelvo(const Zelvo&) = delete;
  Zelvo& operator=(const Zelvo&) = delete;

  // The trap through which the window reports what fails in its own callbacks.
  ErrorTrap& Trap() { return trap_; }

  // Start-up: caption, single instance, tool folder, log, window, command line.
  void Form_Load();
  // The window is closing: the log is saved once; the close is never refused.
  void Form_QueryUnload();

  // WindowEvents
  void Closing() override { Form_QueryUnload(); }
  void Dropped(Control target, DroppedFiles& files) override;
  void SelectionChanged() override;
  void Clicked(Control button) override;

  const std::string& VersionTextValue() const { return version_text_; }
  const std::string& ToolFolderValue() const { return tool_folder_; }

 private:
  // The procedures that need the tool folder and the version text, built by start-up once both
  // are known.
  struct Started {
    Started(Zelvo& app, const std::string& tool_folder, const std::string& version_text);
    LogFile log_file;
    ManifestApplier applier;
    ProgramBatch batch;
  };

  // The last step before the end after a failure: the log is kept, when it was loaded.
  void KeepLog();

  Platform platform_;
  std::string version_text_;
  std::string tool_folder_;
  bool log_loaded_ = false;
  bool closed_ = false;

  ErrorReport report_;
  ErrorTrap trap_;
  LogModel log_;
  LogView view_;
  Elevation elevation_;
  LogActions actions_;
  std::optional<Started> started_;
};

}  // namespace zelvo
