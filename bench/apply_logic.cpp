// Applying without the window: zelvo.exe's own start-up and apply procedures with the real file
// system, shortcuts, clock, code page and collator, and a window that shows nothing. It ends
// when the programs named on its command line are applied (the log is not saved). Between the
// file work of baseline_apply.cpp and zelvo.exe, it tells what the program's logic costs from
// what its window costs. Exit code 0 when no message box was asked for.
#include <windows.h>

#include "application/error_report.h"
#include "application/zelvo.h"
#include "test_support.h"
#include "win32/platform.h"

namespace {

using namespace zelvo;

// Every box counts against the run: none is expected.
class CountingDialogs : public Dialogs {
 public:
  Answer Show(const Message& message) override {
    ++shown;
    return message.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
  }
  int shown = 0;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    zelvo::win32::Win32System system;
    CountingDialogs dialogs;
    test::QuietView window;
    const Texts& texts = Texts::For(win32::DisplayLanguage());
    ErrorReport report(dialogs, texts, system.environment);
    ErrorTrap trap(report);
    Zelvo app(Platform{dialogs, system.files, system.shortcuts, system.clock, system.environment,
                       system.code_page, system.collator, system.launcher, window, texts,
                       system.shell, system.clipboard},
              trap);
    app.Start();
    return dialogs.shown == 0 && !window.closed ? 0 : 2;
  } catch (const std::exception&) {
    return 1;
  }
}
