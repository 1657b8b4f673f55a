// The program's logic wired to fakes, as the main window wires it to Windows.
#pragma once

#include <string>

#include "app/error_report.h"
#include "fakes/fakes.h"
#include "log/log_model.h"
#include "log/log_view.h"
#include "manifest/apply.h"

namespace zelvo::testing {

struct Rig {
  Journal journal;
  FakeDialogs dialogs{&journal};
  FakeFileSystem files;
  FakeShortcuts shortcuts;
  FakeClock clock;
  FakeEnvironment environment;
  FakeCodePage code_page;
  FakeCollator collator;
  FakeControls controls{&journal};
  FakeLauncher launcher{&journal};
  ErrorTrap trap{dialogs, environment};
  LogModel log{collator, &controls.list};
  LogView view{log, controls, trap};
  std::string tool_folder = "C:\\Tools\\";
  ManifestApplier applier{dialogs, files, shortcuts, clock, log, view, trap, tool_folder};

  Rig() { files.AddFolder("C:\\Tools"); }
};

}  // namespace zelvo::testing
