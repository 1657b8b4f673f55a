// The main window's logic: start-up, the events of the window and its controls, and shutdown.
// It wires the subsystems together and owns the log for the life of the window.
#pragma once

#include <string>

#include "app/command_line.h"
#include "app/error_report.h"
#include "log/log_actions.h"
#include "log/log_file.h"
#include "log/log_model.h"
#include "log/log_view.h"
#include "manifest/apply.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/shortcuts.h"
#include "platform/text_codec.h"
#include "platform/window.h"

namespace zelvo {

// The platform the program runs on.
struct Platform {
  Dialogs& dialogs;
  FileSystem& files;
  Shortcuts& shortcuts;
  Clock& clock;
  Environment& environment;
  const AnsiCodePage& code_page;
  const Collator& collator;
  ProcessLauncher& launcher;
  MainWindow& window;
};

// "2.20": the major version, a full stop, the minor version with at least two digits.
std::string VersionText(ProgramVersion version);

// The tool folder: the program's folder with exactly one trailing backslash.
std::string ToolFolder(std::string program_folder);

class Zelvo : public WindowEvents {
 public:
  explicit Zelvo(const Platform& platform);
  Zelvo(const Zelvo&) = delete;
  Zelvo& operator=(const Zelvo&) = delete;

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
  // Ends the program after a reported failure, keeping the log when it was loaded.
  void EndAfterFailure();

  Platform platform_;
  std::string version_text_;
  std::string tool_folder_;
  bool log_loaded_ = false;
  bool closed_ = false;

  ErrorTrap trap_;
  LogModel log_;
  LogView view_;
  ManifestApplier applier_;
  ProgramBatch batch_;
  LogFile log_file_;
  LogActions actions_;
};

}  // namespace zelvo
