// The log at scale, through the real program: the application object with the real window,
// list box, file system, code page and collator, driven the way the user drives it. One run:
//   load        start-up with the tool folder's zelvo.ini, until the window is idle
//   select all  every row selected in the list box, then the list's selection notification
//   save        the save on closing, of every entry
//   remove all  a click on "リストから削除", answered Yes, until the window is idle
// Usage: bench_log_scale TOOL_FOLDER ROWS RESULT_FILE. Writes the four times in milliseconds
// to RESULT_FILE; exit code 0 only when every step did what it should.
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "application/error_report.h"
#include "application/zelvo.h"
#include "win32/window/control_ids.h"
#include "win32/platform.h"
#include "win32/system/strings.h"

namespace {

using namespace zelvo;
using namespace zelvo::win32;

// The real environment, with the tool folder of the run and no programs on the command line.
class BenchEnvironment : public Win32Environment {
 public:
  explicit BenchEnvironment(std::string tool_folder) : tool_folder_(std::move(tool_folder)) {}
  std::string ProgramFolder() override { return tool_folder_; }
  std::string CommandLine() override { return "bench_log_scale.exe"; }

 private:
  std::string tool_folder_;
};

// Answers every question Yes, as the user who asked for the removal does, and keeps every box
// so that the run can tell an expected question from an error report.
class AnsweringDialogs : public Dialogs {
 public:
  Answer Show(const Message& message) override {
    shown.push_back(message);
    return message.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
  }
  std::vector<Message> shown;
};

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  LARGE_INTEGER value;
  QueryPerformanceCounter(&value);
  return static_cast<double>(value.QuadPart) / frequency;
}

// Handles every waiting message, paints included: the window is idle afterwards.
void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Check(bool condition, const char* what) {
  if (!condition) throw std::runtime_error(what);
}

uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

template <class Step>
double Milliseconds(Step&& step) {
  const double start = Now();
  step();
  Pump();
  return (Now() - start) * 1000;
}

int Run(const std::wstring& folder, LRESULT rows, const std::wstring& result_path) {
  const std::wstring ini = folder + L"\\zelvo.ini";
  const uint64_t ini_size = FileSize(ini);
  Check(ini_size > 0, "no zelvo.ini in the tool folder");

  const Texts& texts = Texts::For(DisplayLanguage());
  Win32System system;
  AnsweringDialogs dialogs;
  BenchEnvironment environment(Utf8(folder));
  ErrorReport report(dialogs, texts, environment);
  ErrorTrap trap(report);
  Win32Platform platform(system, GetModuleHandleW(nullptr), SW_SHOWNORMAL, texts, trap);
  Platform interfaces = platform.Interfaces();
  Zelvo app(Platform{dialogs, interfaces.files, interfaces.shortcuts, interfaces.clock, environment,
                     interfaces.code_page, interfaces.collator, interfaces.launcher,
                     interfaces.view, texts, interfaces.shell, interfaces.clipboard},
            trap);
  Win32MainWindow& window = platform.window;
  window.Connect(app.Events());
  const HWND main = window.Handle();
  const HWND list = GetDlgItem(main, ControlId(Control::lstLogName));
  const HWND remove_button = GetDlgItem(main, ControlId(Control::cmdDelLog));
  Pump();

  const double load = Milliseconds([&] { app.Start(); });
  Check(SendMessageW(list, LB_GETCOUNT, 0, 0) == rows, "load: wrong row count");
  Check(IsWindowVisible(main), "load: window not shown");

  const double select = Milliseconds([&] {
    // What the list box does when the user selects every row: it changes its selection and
    // tells its owner.
    SendMessageW(list, LB_SETSEL, TRUE, -1);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(ControlId(Control::lstLogName), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  });
  Check(SendMessageW(list, LB_GETSELCOUNT, 0, 0) == rows, "select all: wrong selection");
  Check(IsWindowEnabled(remove_button), "select all: remove button disabled");

  DeleteFileW(ini.c_str());
  const double save = Milliseconds([&] { app.Events().Closing(); });
  // The file was read in another order; the same entries make the same number of bytes.
  Check(FileSize(ini) == ini_size, "save: the saved file differs in size");

  const double remove = Milliseconds([&] {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(ControlId(Control::cmdDelLog), BN_CLICKED),
                 reinterpret_cast<LPARAM>(remove_button));
  });
  Check(SendMessageW(list, LB_GETCOUNT, 0, 0) == 0, "remove all: rows left");
  Check(dialogs.shown.size() == 1 && dialogs.shown[0].buttons == Buttons::YesNo &&
            dialogs.shown[0].text.find(" " + std::to_string(rows) + " 個") != std::string::npos,
        "remove all: not exactly the one question for every row");

  FILE* result = _wfopen(result_path.c_str(), L"w");
  Check(result != nullptr, "cannot write the result file");
  std::fprintf(result, "%.3f %.3f %.3f %.3f\n", load, select, save, remove);
  Check(std::fclose(result) == 0, "cannot write the result file");
  window.Disconnect();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: bench_log_scale TOOL_FOLDER ROWS RESULT_FILE\n", stderr);
    return 2;
  }
  try {
    return Run(argv[1], static_cast<LRESULT>(std::wcstoll(argv[2], nullptr, 10)), argv[3]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_log_scale: %s\n", error.what());
    return 1;
  }
}
