// The program's logic wired to fakes, as the main window wires it to Windows.
#pragma once

#include <string>

#include "application/apply.h"
#include "application/elevation.h"
#include "application/error_report.h"
#include "application/log_view.h"
#include "base/error_trap.h"
#include "fakes/fakes.h"
#include "model/log_model.h"

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
  const Texts& texts = Texts::For("ja");
  ErrorReport report{dialogs, texts, environment};
  ErrorTrap trap{report};
  LogModel log{collator};
  LogView view{log, controls, controls.list, trap};
  // The log is saved before an elevated start: the tests count the saves and say how they go.
  int log_saves = 0;
  Status log_save = Status::Done;
  Elevation elevation{dialogs, texts, environment, [this] {
                        ++log_saves;
                        return log_save;
                      }};
  ManifestApplier applier{dialogs, texts,     files, shortcuts,    clock,
                          log,     elevation, trap,  "C:\\Tools\\"};

  Rig() { files.AddFolder("C:\\Tools"); }
};

}  // namespace zelvo::testing
