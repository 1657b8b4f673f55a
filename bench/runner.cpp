// Runs the benchmarks under Wine: zelvo.exe against baselines built in the same tree, in
// interleaved rounds, and writes the medians as a Markdown table (to standard output and to
// the file given with --out). Every run is checked: a run that did not do its work stops the
// benchmark instead of counting. Started by bench/run.sh; see there for the arguments.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/window/control_ids.h"
#include "win32/system/owner.h"
#include "win32/system/strings.h"
#include "win32/system/text_codec.h"

namespace {

using zelvo::win32::Control;
using zelvo::win32::ControlId;
using zelvo::win32::kMainWindowClass;

constexpr wchar_t kBaselineWindowClass[] = L"ZelvoBenchBaselineWindow";
constexpr wchar_t kPlainWindowClass[] = L"ZelvoBenchPlainWindow";
constexpr int kAppliedPrograms = 1000;
constexpr int kStartupLogEntries = 10000;
constexpr int kScaleSmall = 10000;
constexpr int kScaleLarge = 100000;
constexpr double kReadyTimeoutSeconds = 300;

// ---------------------------------------------------------------------------------------------
// Small helpers

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

std::string Narrow(const std::wstring& wide) { return zelvo::win32::Utf8(wide); }

// Text in the system's ANSI code page, as zelvo.exe writes its log.
std::string Ansi(const std::wstring& wide) {
  const auto ansi = zelvo::win32::Win32AnsiCodePage().Encode(Narrow(wide));
  if (!ansi) Fail("a text the ANSI code page cannot hold");
  return *ansi;
}

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

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const zelvo::win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) Fail("cannot write " + Narrow(path));
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    Fail("cannot write " + Narrow(path));
  }
}

std::string ReadBytes(const std::wstring& path) {
  const zelvo::win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) Fail("cannot read " + Narrow(path));
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    Fail("cannot read " + Narrow(path));
  }
  bytes.resize(read);
  return bytes;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    Fail("no file " + Narrow(path));
  }
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

void MakeFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    Fail("cannot make " + Narrow(path));
  }
}

void CopyInto(const std::wstring& file, const std::wstring& folder) {
  MakeFolder(folder);
  const std::wstring target = folder + file.substr(file.find_last_of(L"\\/"));
  if (!CopyFileW(file.c_str(), target.c_str(), FALSE)) Fail("cannot copy " + Narrow(file));
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// ---------------------------------------------------------------------------------------------
// Child processes

struct Child {
  zelvo::win32::UniqueHandle process;
  zelvo::win32::UniqueHandle thread;
  DWORD id = 0;
};

Child Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    Fail("cannot start " + Narrow(exe) + " (error " + std::to_string(GetLastError()) + ")");
  }
  Child child;
  child.process.Reset(info.hProcess);
  child.thread.Reset(info.hThread);
  child.id = info.dwProcessId;
  return child;
}

DWORD WaitForExit(const Child& child, DWORD milliseconds = 120000) {
  if (WaitForSingleObject(child.process.Get(), milliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(child.process.Get(), 99);
    Fail("a program did not end in time");
  }
  DWORD code = 0;
  GetExitCodeProcess(child.process.Get(), &code);
  return code;
}

struct WindowSearch {
  DWORD process_id;
  const wchar_t* window_class;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process_id == search.process_id && std::wcscmp(name, search.window_class) == 0) {
    search.found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD process_id, const wchar_t* window_class) {
  WindowSearch search{process_id, window_class, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Ready {
  double at;  // when the window was seen ready
  HWND window;
};

// Waits until the child's main window is visible, its thread reads its messages again (so its
// start-up work is done), its list holds `rows` rows when given, and its message queue is
// empty. Fails at once when a message box appears.

Ready WaitUntilReady(const Child& child, const wchar_t* window_class, std::optional<int> rows) {
  const double deadline = Now() + kReadyTimeoutSeconds;
  for (;;) {
    // Blocks without spinning until the program first waits for input.
    WaitForInputIdle(child.process.Get(), 20);
    if (!TopLevelWindows(child.id, L"#32770").empty()) Fail("a message box appeared");
    const std::vector<HWND> windows = TopLevelWindows(child.id, window_class);
    if (!windows.empty() && IsWindowVisible(windows[0])) {
      const HWND window = windows[0];
      DWORD_PTR result = 0;
      // A sent message is answered only when the program's thread reads its messages.
      const bool answered =
          SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
      bool complete = answered && !rows;
      if (answered && rows) {
        const HWND list = GetDlgItem(window, ControlId(Control::lstLogName));
        complete = list &&
                   SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &result) &&
                   static_cast<LRESULT>(result) == *rows;
      }
      if (complete && WaitForInputIdle(child.process.Get(), 60000) == 0) {
        const double at = Now();
        if (!TopLevelWindows(child.id, L"#32770").empty()) Fail("a message box appeared");
        return {at, window};
      }
    }
    if (WaitForSingleObject(child.process.Get(), 0) == WAIT_OBJECT_0) {
      Fail("the program ended before its window was ready");
    }
    if (Now() > deadline) {
      TerminateProcess(child.process.Get(), 99);
      Fail("the program's window was not ready in time");
    }
    Sleep(1);
  }
}

void CloseAndWait(const Child& child, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForExit(child) != 0) Fail("the program ended with an error");
}

struct Launch {
  double seconds;
  uint64_t peak_working_set;
};

// Start-up of a windowed program: from just before CreateProcess to its window being ready.
Launch MeasureStartup(const std::wstring& exe, const std::wstring& arguments,
                      const std::wstring& folder, const wchar_t* window_class,
                      std::optional<int> rows) {
  const double start = Now();
  Child child = Start(exe, arguments, folder);
  const Ready ready = WaitUntilReady(child, window_class, rows);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  if (!GetProcessMemoryInfo(child.process.Get(), &memory, sizeof(memory))) {
    Fail("no memory counters");
  }
  CloseAndWait(child, ready.window);
  return {ready.at - start, memory.PeakWorkingSetSize};
}

// ---------------------------------------------------------------------------------------------
// Inputs

// A log file of `count` entries in the system's code page, in shuffled order: a quarter of the
// names Japanese, the rest in mixed letter case, every name different.
std::string LogFile(const std::string& version_line, int count) {
  std::vector<int> order(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  uint32_t seed = 20261207;
  for (size_t i = order.size(); i > 1; --i) {
    seed = seed * 1664525u + 1013904223u;
    std::swap(order[i - 1], order[(seed >> 8) % i]);
  }
  std::wstring text = std::wstring(version_line.begin(), version_line.end()) + L"\r\n";
  wchar_t number[16];
  for (int k : order) {
    std::swprintf(number, 16, L"%06d", k);
    static const wchar_t* const kStems[] = {L"ツール", L"Program", L"program", L"Setup"};
    text += kStems[k % 4];
    text += number;
    text += L".exe\r\nC:\\Program Files\\Vendor";
    std::swprintf(number, 16, L"%03d", k % 997);
    text += number;
    text += L"\\Bin\\\r\n2026/";
    std::swprintf(number, 16, L"%02d/%02d", 1 + k % 12, 1 + k % 28);
    text += number;
    text += L"\r\n";
  }
  text += L"\r\n";
  return Ansi(text);
}

// ---------------------------------------------------------------------------------------------
// The benchmark

struct Options {
  std::wstring zelvo, zelvo_stripped, zelvo_x86_stripped, window, plain_window, window_only;
  std::wstring apply_baseline;
  std::wstring apply_logic, log_scale;
  std::wstring work, out, machine;
  int startup_rounds = 40;
  int apply_rounds = 5;
  int scale_rounds = 5;
};

Options ParseOptions(int argc, wchar_t** argv) {
  Options options;
  std::map<std::wstring, std::wstring*> paths = {
      {L"--zelvo", &options.zelvo},
      {L"--zelvo-stripped", &options.zelvo_stripped},
      {L"--zelvo-x86-stripped", &options.zelvo_x86_stripped},
      {L"--window", &options.window},
      {L"--plain-window", &options.plain_window},
      {L"--window-only", &options.window_only},
      {L"--apply-baseline", &options.apply_baseline},
      {L"--apply-logic", &options.apply_logic},
      {L"--log-scale", &options.log_scale},
      {L"--work", &options.work},
      {L"--out", &options.out},
      {L"--machine", &options.machine}};
  std::map<std::wstring, int*> numbers = {{L"--startup-rounds", &options.startup_rounds},
                                          {L"--apply-rounds", &options.apply_rounds},
                                          {L"--scale-rounds", &options.scale_rounds}};
  for (int i = 1; i + 1 < argc; i += 2) {
    if (auto path = paths.find(argv[i]); path != paths.end()) {
      *path->second = argv[i + 1];
    } else if (auto number = numbers.find(argv[i]); number != numbers.end()) {
      *number->second = std::max(1, static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10)));
    } else {
      Fail("unknown option " + Narrow(argv[i]));
    }
  }
  for (const auto& [name, value] : paths) {
    if (value->empty() && name != L"--zelvo-x86-stripped" && name != L"--machine") {
      Fail("missing " + Narrow(name));
    }
  }
  return options;
}

struct Results {
  std::vector<double> baseline_window, plain_window, window_only, startup_empty, startup_10k;
  // By layout: 0 every program in a folder of its own, 1 all of them in one folder.
  std::vector<double> apply_baseline[2], apply_logic[2], apply_zelvo[2];
  std::map<int, std::vector<std::vector<double>>> scale;  // rows -> runs of 4 times
  uint64_t peak_baseline = 0, peak_empty = 0, peak_100k = 0;
  uint64_t size_x64 = 0, size_x86 = 0;
  std::string version_line;
};

class Benchmark {
 public:
  explicit Benchmark(Options options) : options_(std::move(options)) {}

  Results Run();

 private:
  std::wstring Folder(const wchar_t* name) const { return options_.work + L"\\" + name; }
  std::wstring ZelvoIn(const wchar_t* name) const { return Folder(name) + L"\\zelvo.exe"; }
  void Prepare();
  void Startup();
  void Apply();
  void Scale();
  void Memory();
  void Progress(const char* what, int round, int rounds) const {
    std::fprintf(stderr, "  %s: round %d of %d\n", what, round, rounds);
  }

  Options options_;
  Results results_;
  std::string empty_log_;
  std::string log_10k_, log_small_, log_large_;
  std::wstring apply_arguments_[2];
  std::vector<std::wstring> manifests_[2];
};

void Benchmark::Prepare() {
  MakeFolder(options_.work);
  for (const wchar_t* name : {L"empty", L"log10k", L"log100k", L"apply"}) {
    CopyInto(options_.zelvo, Folder(name));
  }
  CopyInto(options_.window, Folder(L"window"));
  CopyInto(options_.apply_baseline, Folder(L"window"));
  CopyInto(options_.plain_window, Folder(L"plain_window"));
  CopyInto(options_.window_only, Folder(L"window_only"));
  CopyInto(options_.apply_logic, Folder(L"apply_logic"));
  CopyInto(options_.log_scale, Folder(L"scale"));
  for (const wchar_t* name : {L"scale\\10k", L"scale\\100k", L"apps"}) MakeFolder(Folder(name));

  // The empty log as zelvo.exe itself writes it; the first start also warms Wine's caches.
  DeleteFileW((Folder(L"empty") + L"\\zelvo.ini").c_str());
  MeasureStartup(ZelvoIn(L"empty"), L"", Folder(L"empty"), kMainWindowClass, 0);
  empty_log_ = ReadBytes(Folder(L"empty") + L"\\zelvo.ini");
  results_.version_line = empty_log_.substr(0, empty_log_.find('\r'));
  if (results_.version_line.empty() || empty_log_ != results_.version_line + "\r\n\r\n") {
    Fail("unexpected empty log from zelvo.exe");
  }
  log_10k_ = LogFile(results_.version_line, kStartupLogEntries);
  log_small_ = LogFile(results_.version_line, kScaleSmall);
  log_large_ = LogFile(results_.version_line, kScaleLarge);

  // Programs that are no PE images, named .exe so that no question is asked about them: each in
  // a folder of its own, as installed programs are, and all in one folder. Wine reads a whole
  // folder to learn that a name is not there, so the second layout costs every program more.
  MakeFolder(Folder(L"own"));
  wchar_t name[64];
  for (int layout = 0; layout < 2; ++layout) {
    for (int i = 1; i <= kAppliedPrograms; ++i) {
      std::wstring program;
      if (layout == 0) {
        std::swprintf(name, 64, L"\\%04d", i);
        MakeFolder(Folder(L"own") + name);
        std::swprintf(name, 64, L"\\%04d\\p%04d.exe", i, i);
        program = Folder(L"own") + name;
      } else {
        std::swprintf(name, 64, L"\\p%04d.exe", i);
        program = Folder(L"apps") + name;
      }
      WriteBytes(program, "MZ not really a program");
      manifests_[layout].push_back(program + L".manifest");
      if (!apply_arguments_[layout].empty()) apply_arguments_[layout] += L' ';
      apply_arguments_[layout] += program;
    }
    if (apply_arguments_[layout].size() > 32000) Fail("the work folder's path is too long");
  }
}

void Benchmark::Startup() {
  const int rounds = options_.startup_rounds;
  for (int round = 0; round < rounds; ++round) {
    Progress("start-up", round + 1, rounds);
    // The order turns every round, so that a slow phase of the machine hits every program alike.
    for (int turn = 0; turn < 5; ++turn) {
      switch ((round + turn) % 5) {
        case 0:
          results_.baseline_window.push_back(
              MeasureStartup(Folder(L"window") + L"\\bench_window.exe", L"", Folder(L"window"),
                             kBaselineWindowClass, std::nullopt)
                  .seconds);
          break;
        case 1:
          results_.window_only.push_back(
              MeasureStartup(Folder(L"window_only") + L"\\bench_window_only.exe", L"",
                             Folder(L"window_only"), kMainWindowClass, 0)
                  .seconds);
          break;
        case 3:
          results_.plain_window.push_back(
              MeasureStartup(Folder(L"plain_window") + L"\\bench_plain_window.exe", L"",
                             Folder(L"plain_window"), kPlainWindowClass, std::nullopt)
                  .seconds);
          break;
        case 2:
          WriteBytes(Folder(L"empty") + L"\\zelvo.ini", empty_log_);
          results_.startup_empty.push_back(
              MeasureStartup(ZelvoIn(L"empty"), L"", Folder(L"empty"), kMainWindowClass, 0)
                  .seconds);
          break;
        case 4:
          WriteBytes(Folder(L"log10k") + L"\\zelvo.ini", log_10k_);
          results_.startup_10k.push_back(MeasureStartup(ZelvoIn(L"log10k"), L"", Folder(L"log10k"),
                                                        kMainWindowClass, kStartupLogEntries)
                                             .seconds);
          break;
      }
    }
  }
}

// From just before CreateProcess to the end of a program that ends by itself, which must end
// with exit code 0.
double MeasureRun(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& folder) {
  const double start = Now();
  Child child = Start(exe, arguments, folder);
  const DWORD code = WaitForExit(child);
  const double end = Now();
  if (code != 0) Fail("a program failed: " + Narrow(exe));
  return end - start;
}

void Benchmark::Apply() {
  const int rounds = options_.apply_rounds;
  for (int round = 0; round < rounds; ++round) {
    Progress("applying", round + 1, rounds);
    for (int layout = 0; layout < 2; ++layout) {
      const auto& manifests = manifests_[layout];
      const std::wstring& arguments = apply_arguments_[layout];
      for (int turn = 0; turn < 3; ++turn) {
        for (const auto& manifest : manifests) DeleteFileW(manifest.c_str());
        switch ((round + turn) % 3) {
          case 0:
            results_.apply_baseline[layout].push_back(MeasureRun(
                Folder(L"window") + L"\\bench_apply_baseline.exe", arguments, Folder(L"window")));
            break;
          case 1:
            WriteBytes(Folder(L"apply_logic") + L"\\zelvo.ini", empty_log_);
            results_.apply_logic[layout].push_back(
                MeasureRun(Folder(L"apply_logic") + L"\\bench_apply_logic.exe", arguments,
                           Folder(L"apply_logic")));
            break;
          default:
            WriteBytes(Folder(L"apply") + L"\\zelvo.ini", empty_log_);
            results_.apply_zelvo[layout].push_back(
                MeasureStartup(ZelvoIn(L"apply"), arguments, Folder(L"apply"), kMainWindowClass,
                               kAppliedPrograms)
                    .seconds);
            break;
        }
        for (const auto& manifest : manifests) {
          if (!Exists(manifest)) Fail("a manifest was not written: " + Narrow(manifest));
        }
      }
      for (const auto& manifest : manifests) DeleteFileW(manifest.c_str());
    }
  }
}

void Benchmark::Scale() {
  const int rounds = options_.scale_rounds;
  for (int round = 0; round < rounds; ++round) {
    Progress("log scale", round + 1, rounds);
    for (int turn = 0; turn < 2; ++turn) {
      const bool large = (round + turn) % 2 == 1;
      const int rows = large ? kScaleLarge : kScaleSmall;
      const std::wstring folder = Folder(large ? L"scale\\100k" : L"scale\\10k");
      WriteBytes(folder + L"\\zelvo.ini", large ? log_large_ : log_small_);
      const std::wstring result = folder + L"\\result.txt";
      DeleteFileW(result.c_str());
      Child child =
          Start(Folder(L"scale") + L"\\bench_log_scale.exe",
                L"\"" + folder + L"\" " + std::to_wstring(rows) + L" \"" + result + L"\"", folder);
      if (WaitForExit(child, 600000) != 0) Fail("the log-scale run failed");
      std::vector<double> times(4);
      if (std::sscanf(ReadBytes(result).c_str(), "%lf %lf %lf %lf", &times[0], &times[1], &times[2],
                      &times[3]) != 4) {
        Fail("no log-scale result");
      }
      results_.scale[rows].push_back(times);
    }
  }
}

void Benchmark::Memory() {
  // Peak working sets, once each: they hardly vary from run to run.
  WriteBytes(Folder(L"log100k") + L"\\zelvo.ini", log_large_);
  results_.peak_100k =
      MeasureStartup(ZelvoIn(L"log100k"), L"", Folder(L"log100k"), kMainWindowClass, kScaleLarge)
          .peak_working_set;
  WriteBytes(Folder(L"empty") + L"\\zelvo.ini", empty_log_);
  results_.peak_empty =
      MeasureStartup(ZelvoIn(L"empty"), L"", Folder(L"empty"), kMainWindowClass, 0)
          .peak_working_set;
  results_.peak_baseline = MeasureStartup(Folder(L"window") + L"\\bench_window.exe", L"",
                                          Folder(L"window"), kBaselineWindowClass, std::nullopt)
                               .peak_working_set;
}

Results Benchmark::Run() {
  std::fputs("preparing\n", stderr);
  Prepare();
  Startup();
  Apply();
  Scale();
  Memory();
  results_.size_x64 = FileSize(options_.zelvo_stripped);
  if (!options_.zelvo_x86_stripped.empty()) {
    results_.size_x86 = FileSize(options_.zelvo_x86_stripped);
  }
  return results_;
}

// ---------------------------------------------------------------------------------------------
// The table

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Ms(double seconds) { return Format("%.0f ms", seconds * 1000); }
std::string MsOf(double milliseconds) {
  return Format(milliseconds < 10 ? "%.1f ms" : "%.0f ms", milliseconds);
}
std::string Ratio(double value) { return Format("%.2f", value); }
std::string MiB(uint64_t bytes) { return Format("%.1f MiB", static_cast<double>(bytes) / 1048576); }
std::string KiB(uint64_t bytes) { return Format("%.0f KiB", static_cast<double>(bytes) / 1024); }
const char* Met(bool met) { return met ? "met" : "**missed**"; }

std::string WineVersion() {
  using GetVersionFunction = const char* (*)();
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  const auto get_version =
      reinterpret_cast<GetVersionFunction>(reinterpret_cast<void (*)()>(found));
  return get_version ? get_version() : "(not Wine)";
}

std::string Spread(const std::vector<double>& seconds) {
  const auto [low, high] = std::minmax_element(seconds.begin(), seconds.end());
  return Format("%.0f", *low * 1000) + "–" + Format("%.0f ms", *high * 1000);
}

// `text` as lines of at most 96 characters, broken at spaces.
std::string Wrapped(const std::string& text) {
  constexpr size_t kWidth = 96;
  std::string wrapped, line;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
      wrapped += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    at = end + 1;
  }
  return wrapped + line + "\n";
}

std::string Table(const Options& options, const Results& r) {
  std::string t;
  const auto line = [&](const std::string& text) { t += text + "\n"; };
  const auto paragraph = [&](const std::string& text) { t += Wrapped(text) + "\n"; };
  const char* const kOps[] = {"load (start-up with the log)", "select all", "save", "remove all"};

  line("# Benchmarks");
  line("");
  paragraph("Made by `bench/run.sh`: the x64 Release build under Wine " + WineVersion() +
            " and Xvfb, code page " + std::to_string(GetACP()) +
            (options.machine.empty() ? "" : ", " + Narrow(options.machine)) +
            ". Each figure is the median of interleaved runs (the order turns from round to "
            "round), so that the ratios hold on a busy machine; the range of the runs is given "
            "beside it. Every run is checked (rows in the list, manifests on disk, no message "
            "box, exit codes); one that did not do its work stops the benchmark.");

  line("## Start-up (" + std::to_string(options.startup_rounds) + " rounds)");
  line("");
  paragraph(
      "From just before `CreateProcess` to the moment the main window is visible, the program's "
      "thread answers a sent message (its start-up work is done), its list holds every entry of "
      "the log, and `WaitForInputIdle` reports its queue empty (everything painted).");
  line(
      "| Program | Median | Range | Ratio to the bare window | Goal | Ratio to the window alone |");
  line("|---|---:|---:|---:|---|---:|");
  const double base = Median(r.baseline_window);
  const double alone = Median(r.window_only);
  const double plain = Median(r.plain_window);
  line("| Baseline: a bare window and a message loop (bench/baseline_window.cpp) | " + Ms(base) +
       " | " + Spread(r.baseline_window) + " | 1.00 | | |");
  line(
      "| A plain window with the same eleven controls, texts and font, common controls 6 "
      "(bench/plain_window.cpp) | " +
      Ms(plain) + " | " + Spread(r.plain_window) + " | " + Ratio(plain / base) + " | | " +
      Ratio(plain / alone) + " |");
  line(
      "| zelvo.exe's window alone: common controls 6, its controls, fonts and tool tips; no log, "
      "no logic (bench/window_only.cpp) | " +
      Ms(alone) + " | " + Spread(r.window_only) + " | " + Ratio(alone / base) + " | | 1.00 |");
  const double empty = Median(r.startup_empty);
  line("| zelvo.exe, empty log | " + Ms(empty) + " | " + Spread(r.startup_empty) + " | " +
       Ratio(empty / base) + " | ≤ 1.2: " + Met(empty / base <= 1.2) + " | " +
       Ratio(empty / alone) + " |");
  const double log10k = Median(r.startup_10k);
  line("| zelvo.exe, log of 10,000 entries | " + Ms(log10k) + " | " + Spread(r.startup_10k) +
       " | " + Ratio(log10k / base) + " | | " + Ratio(log10k / alone) + " |");
  line("");
  paragraph(
      "The window alone is zelvo.exe's own window built by the program's own code and shown as "
      "the program shows it, with nothing else; the last column compares each program with it, "
      "so zelvo.exe's own start-up work (version, single instance, tool folder, log, command "
      "line) is what its ratio there shows above 1. The plain window is what any window with "
      "these controls costs: loading common controls 6, creating eleven controls and drawing "
      "Japanese text in them.");
  // Each round starts the two one after the other, so that a slow moment of the machine weighs
  // on both: the ratio is the median of the rounds' own ratios.
  std::vector<double> paired;
  for (size_t round = 0; round < r.window_only.size() && round < r.plain_window.size(); ++round) {
    paired.push_back(r.window_only[round] / r.plain_window[round]);
  }
  const double alone_to_plain = Median(paired);
  paragraph("zelvo.exe's window alone takes " + Ratio(alone_to_plain) +
            " times the plain window, the median of the rounds' own ratios (goal: at most 1.05, " +
            Met(alone_to_plain <= 1.05) +
            "): what its tool tips, owner-drawn labels, DPI-scaled font and layout, drops and "
            "subclassed controls add to any window with these controls.");

  line("## Applying 1,000 programs (" + std::to_string(options.apply_rounds) + " rounds)");
  line("");
  paragraph(
      "1,000 files named on the command line, each a small file that is no PE image and is named "
      ".exe, so no question is asked. zelvo.exe: from just before `CreateProcess` to the 1,000th "
      "row in its list with the window idle, as for start-up (closing and saving the log are not "
      "counted). Baseline (bench/baseline_apply.cpp): the same command line and the same steps on "
      "disk done directly: the program's stored name, its long path, its first bytes, a look for "
      "a manifest, and the manifest written to a file beside it and moved over its name, as "
      "zelvo.exe writes it; from `CreateProcess` to its end. zelvo.exe's logic, no window "
      "(bench/apply_logic.cpp): the program's own start-up and apply procedures with the real "
      "file system and a window that shows nothing, to its end; its ratio to the baseline is "
      "beside it. Wine reads a whole folder to learn that a name is not there, so 1,000 programs "
      "in one folder make every such look-up slow, for all three.");
  line(
      "| Layout | Baseline: the file work | zelvo.exe's logic, no window | zelvo.exe | Ratio | "
      "Goal |");
  line("|---|---:|---:|---:|---:|---|");
  const char* const kLayouts[] = {
      "each program in a folder of its own (`C:\\bench\\own\\0001\\p0001.exe` ...)",
      "all in one folder (`C:\\bench\\apps\\p0001.exe` ...)"};
  for (int layout = 0; layout < 2; ++layout) {
    const double apply_base = Median(r.apply_baseline[layout]);
    const double logic = Median(r.apply_logic[layout]);
    const double apply = Median(r.apply_zelvo[layout]);
    line(std::string("| ") + kLayouts[layout] + " | " + Ms(apply_base) + " (" +
         Spread(r.apply_baseline[layout]) + ") | " + Ms(logic) + " (" +
         Spread(r.apply_logic[layout]) + "), " + Ratio(logic / apply_base) + " | " + Ms(apply) +
         " (" + Spread(r.apply_zelvo[layout]) + ") | " + Ratio(apply / apply_base) +
         " | ≤ 1.5: " + Met(apply / apply_base <= 1.5) + " |");
  }
  line("");
  paragraph(
      "What zelvo.exe spends above its logic without a window is the window following each "
      "program as it is applied: the name box and the folder box set to its name and folder, the "
      "status line, and the new row made current, each of which Wine lays out or scrolls on the "
      "spot.");

  line("## Log scale (" + std::to_string(options.scale_rounds) + " rounds)");
  line("");
  paragraph(
      "bench/log_scale.cpp runs the program's own application object with the real window, list "
      "box, file system, code page and collator (only the message boxes answer by themselves), "
      "on a log in code page 932 whose entries are in shuffled order, a quarter of them with "
      "Japanese names. Load: `Form_Load` reading zelvo.ini and showing the window; select all: "
      "the list box's selection set to every row and its `LBN_SELCHANGE` sent to the window; "
      "save: the shutdown save; remove all: a click on リストから削除 answered Yes. Each until "
      "the window has handled every waiting message, paints included.");
  line("| Operation | 10,000 entries | 100,000 entries | 100,000 / 10,000 | Goal: < 1 s, ≤ ~12x |");
  line("|---|---:|---:|---:|---|");
  for (size_t op = 0; op < 4; ++op) {
    std::vector<double> small, large;
    for (const auto& run : r.scale.at(kScaleSmall)) small.push_back(run[op]);
    for (const auto& run : r.scale.at(kScaleLarge)) large.push_back(run[op]);
    const double s = Median(small), l = Median(large);
    const double ratio = l / std::max(s, 0.001);
    line(std::string("| ") + kOps[op] + " | " + MsOf(s) + " | " + MsOf(l) + " | " +
         Format("%.1fx", ratio) + " | " + Met(l < 1000 && ratio <= 12.5) + " |");
  }
  line("");

  line("## Size and memory");
  line("");
  line("| Figure | Value | Goal |");
  line("|---|---:|---|");
  line("| zelvo.exe x64, stripped | " + KiB(r.size_x64) +
       " | < 1 MiB: " + Met(r.size_x64 < 1048576) + " |");
  if (r.size_x86) {
    line("| zelvo.exe x86, stripped | " + KiB(r.size_x86) +
         " | < 1 MiB: " + Met(r.size_x86 < 1048576) + " |");
  }
  line("| Peak working set, zelvo.exe with 100,000 entries loaded | " + MiB(r.peak_100k) + " | |");
  line("| Peak working set, zelvo.exe with an empty log | " + MiB(r.peak_empty) + " | |");
  line("| Peak working set, the bare window | " + MiB(r.peak_baseline) + " | |");
  line("");
  paragraph(
      "Peak working set: `GetProcessMemoryInfo` (`PeakWorkingSetSize`) of the running program "
      "once its window is ready; under Wine it is the Linux process's peak resident size, Wine's "
      "own libraries included.");
  return t;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    const Options options = ParseOptions(argc, argv);
    Benchmark benchmark(options);
    const Results results = benchmark.Run();
    const std::string table = Table(options, results);
    std::fputs(table.c_str(), stdout);
    WriteBytes(options.out, table);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_runner: %s\n", error.what());
    return 1;
  }
}
