// Start-up and shutdown: the caption, the single instance, the log loaded before the window
// shows and the command line after it; the log saved once when the window closes, or when the
// program ends after a failure, so that no applied program is forgotten.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "application/boxes.h"
#include "application/log_file.h"
#include "application/program_batch.h"
#include "base/error_trap.h"
#include "model/hand_over.h"
#include "platform/platform.h"

namespace zelvo {

// "2.20": the major version, a full stop, the minor version with at least two digits.
std::string VersionText(ProgramVersion version);

// The tool folder: the program's folder with exactly one trailing backslash.
std::string ToolFolder(std::string program_folder);

class Lifecycle {
 public:
  Lifecycle(const Platform& platform, LogFile& log_file, ProgramBatch& batch, ErrorTrap& trap,
            std::string version_text);

  // Start-up (Form_Load): caption, single instance, log, window, command line (or, started by
  // another Zelvo as administrator, the log and the programs it handed over). False when the
  // program is to end: another Zelvo owns the same log, or the batch was handed to a Zelvo
  // started as administrator.
  bool Start();

  // Whether the log was loaded, so that the window takes drops and the log is saved.
  bool Loaded() const { return loaded_; }

  // The window is closing: the log is saved, once however often the window is closed.
  void SaveOnClose();

  // The program ends after a failure: the entries of the run are kept, unless the log was never
  // loaded or its save is what failed. A failure here is reported too.
  void KeepLog();

 private:
  std::optional<HandOver> TakeHandOver();

  Boxes boxes_;
  MainView& view_;
  Environment& environment_;
  LogFile& log_file_;
  ProgramBatch& batch_;
  ErrorTrap& trap_;
  const std::string version_text_;
  bool loaded_ = false;
  bool saved_ = false;
};

}  // namespace zelvo
