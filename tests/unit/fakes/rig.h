// The program's logic wired to fakes as Zelvo wires it to Windows, with every part in reach: the
// procedures can be driven one by one, or through the window's events.
#pragma once

#include <string>

#include "application/error_report.h"
#include "application/zelvo.h"
#include "base/error_trap.h"
#include "fakes/fakes.h"

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
  FakeView view{&journal};
  FakeLauncher launcher{&journal};
  FakeShell shell{&journal};
  FakeClipboard clipboard{&journal};
  const Texts& texts = Texts::For("ja");
  Platform platform{dialogs,  files,    shortcuts, clock, environment, code_page,
                    collator, launcher, view,      texts, shell,       clipboard};
  ErrorReport report{dialogs, texts, environment};
  ErrorTrap trap{report};
  Boxes boxes{dialogs, texts};
  LogModel log{collator};
  LogView log_view{log, view, trap};
  LogFile log_file{platform, log, log_view, trap, "C:\\Tools\\", "2.20"};
  Elevation elevation{boxes, environment, files, log_file};
  ManifestBackup backup{boxes, files, environment, trap, "C:\\Tools\\"};
  ManifestApplier applier{platform, log, backup, elevation, trap};
  ProgramBatch batch{texts, applier, log_view, elevation, trap};
  LogActions actions{platform, log, log_view, backup, elevation, trap};
  Lifecycle lifecycle{platform, log_file, batch, trap, "2.20"};
  // The window's events, as the window raises them.
  EventRouter events{view, boxes, trap, lifecycle, batch, log_view, actions};

  // The program speaks `language` ("ja", "en").
  explicit Rig(const char* language = "ja") : texts(Texts::For(language)) {
    files.AddFolder("C:\\Tools");
  }

  // Runs `body` as a window event runs it: a failure is reported once and false comes back.
  template <class Body>
  bool Event(Body&& body) {
    return trap.Guard("(event)", body);
  }

  // How often the log file was saved.
  int LogSaves() const {
    int saves = 0;
    for (const auto& call : files.calls) saves += call == "ReplaceAtomically C:\\Tools\\zelvo.ini";
    return saves;
  }
};

}  // namespace zelvo::testing
