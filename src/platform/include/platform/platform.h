// Everything the program's logic runs on: the system's interfaces, as one set of references.
// The program gets them from the Windows adapters, the tests from fakes.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/shortcuts.h"
#include "platform/text_codec.h"
#include "platform/texts.h"
#include "platform/window.h"

namespace zelvo {

struct Platform {
  Dialogs& dialogs;
  FileSystem& files;
  Shortcuts& shortcuts;
  Clock& clock;
  Environment& environment;
  const AnsiCodePage& code_page;
  const Collator& collator;
  ProcessLauncher& launcher;
  MainView& view;
  const Texts& texts;  // in the user's display language
  Shell& shell;
  Clipboard& clipboard;
};

}  // namespace zelvo
