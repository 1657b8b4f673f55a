#include "driver/process.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "driver/errors.h"
#include "driver/remote.h"
#include "win32/window/control_ids.h"
#include "win32/system/strings.h"

namespace zelvo::e2e {

namespace fs = std::filesystem;

Program ZelvoProgram() { return {ZELVO_EXE, win32::kMainWindowClass}; }

namespace {

fs::path TemporaryFolder() {
  const DWORD size = Check(GetTempPathW(0, nullptr), "GetTempPath");
  std::wstring path(size, L'\0');
  const DWORD length = Check(GetTempPathW(size, path.data()), "GetTempPath");
  path.resize(length);
  return path;
}

// Tests run in parallel, and one test may make several: the process id and the time make the
// name unique across tests, the attempt number within one.
fs::path CreateUniqueFolder() {
  const fs::path base = TemporaryFolder();
  const std::wstring prefix = L"zelvo-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64()) + L"-";
  for (unsigned attempt = 0;; ++attempt) {
    const fs::path candidate = base / (prefix + std::to_wstring(attempt));
    if (CreateDirectoryW(candidate.c_str(), nullptr)) return candidate;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ThrowLastError("CreateDirectory " + win32::Utf8(candidate.wstring()));
    }
  }
}

// Tests leave read-only and hidden files behind; remove_all cannot delete read-only ones.
void RemoveTree(const fs::path& root) {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // A program that has just ended may still hold its file for a moment. What cannot be removed
  // stays in the temporary folder: a destructor has no one to report to.
  WaitFor([&] {
    fs::remove_all(root, error);
    return !error;
  });
}

}  // namespace

ToolFolder::ToolFolder(Program program, std::wstring_view folder_name, fs::path root)
    : program_(std::move(program)),
      own_root_(root.empty()),
      root_(own_root_ ? CreateUniqueFolder() : std::move(root)),
      folder_(root_ / folder_name) {
  try {
    fs::create_directories(folder_);
    Check(CopyFileW(program_.exe.c_str(), ProgramPath().c_str(), TRUE),
          "CopyFile " + win32::Utf8(program_.exe.wstring()));
  } catch (...) {
    RemoveTree(own_root_ ? root_ : folder_);
    throw;
  }
}

ToolFolder::~ToolFolder() { RemoveTree(own_root_ ? root_ : folder_); }

fs::path ToolFolder::Resolve(const fs::path& path) const {
  return path.is_absolute() ? path : root_ / path;
}

fs::path ToolFolder::WriteFile(const fs::path& path, std::string_view bytes) const {
  const fs::path full = Resolve(path);
  fs::create_directories(full.parent_path());
  std::ofstream file(full, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw DriverError("cannot write " + win32::Utf8(full.wstring()));
  return full;
}

std::optional<std::string> ToolFolder::ReadFile(const fs::path& path) const {
  std::ifstream file(Resolve(path), std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool ToolFolder::Exists(const fs::path& path) const {
  return GetFileAttributesW(Resolve(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ToolFolder::WriteIni(std::string_view bytes) const {
  WriteFile(folder_ / L"zelvo.ini", bytes);
}

std::optional<std::string> ToolFolder::ReadIni() const { return ReadFile(folder_ / L"zelvo.ini"); }

namespace {

// Four slots in a 2 x 2 grid: enough for two tests at a time with two programs each.
constexpr int kSlotColumns = 2;
constexpr int kSlotRows = 2;
constexpr int kSlotMargin = 8;

}  // namespace

ScreenSlot::ScreenSlot() {
  // A named object exists while a holder keeps its handle: creating it first claims the slot,
  // and a test process that dies frees its slots with its handles.
  const bool claimed = WaitFor(
      [&] {
        for (int index = 0; index < kSlotColumns * kSlotRows; ++index) {
          const std::wstring name = L"zelvo-e2e-screen-slot-" + std::to_wstring(index);
          SetLastError(ERROR_SUCCESS);
          win32::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
          if (!mutex) ThrowLastError("CreateMutex");
          if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
          claim_ = std::move(mutex);
          const int width = GetSystemMetrics(SM_CXSCREEN) / kSlotColumns;
          const int height = GetSystemMetrics(SM_CYSCREEN) / kSlotRows;
          const int left = (index % kSlotColumns) * width;
          const int top = (index / kSlotColumns) * height;
          area_ = {left + kSlotMargin, top + kSlotMargin, left + width - kSlotMargin,
                   top + height - kSlotMargin};
          return true;
        }
        return false;
      },
      kStartTimeout);
  if (!claimed) throw DriverError("no free screen slot: too many programs under test at once");
}

void ScreenSlot::Place(HWND hwnd) const {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  if (rect.left == area_.left && rect.top == area_.top) return;
  Check(SetWindowPos(hwnd, nullptr, area_.left, area_.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
        "SetWindowPos (into the screen slot)");
}

ZelvoProcess::ZelvoProcess(const ToolFolder& folder, const std::wstring& arguments)
    : ZelvoProcess(folder, folder.ProgramPath(), arguments) {}

ZelvoProcess::ZelvoProcess(const ToolFolder& folder, const fs::path& program,
                           const std::wstring& arguments)
    : folder_(folder) {
  std::wstring command_line = L"\"" + program.wstring() + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION information{};
  const auto start = [&] {
    return CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.Root().c_str(), &startup, &information);
  };
  // Now and then Wine's loader dies before the new process is set up (seen once in some two
  // thousand starts here, on a busy machine); CreateProcess then fails with ERROR_INTERNAL_ERROR,
  // and none of the program has run. That start is tried once more.
  bool started = start();
  if (!started && GetLastError() == ERROR_INTERNAL_ERROR) started = start();
  Check(started, "CreateProcess " + win32::Utf8(program.wstring()));
  process_.Reset(information.hProcess);
  win32::UniqueHandle thread(information.hThread);
  id_ = information.dwProcessId;
}

ZelvoProcess::~ZelvoProcess() {
  if (Running()) Kill();
}

bool ZelvoProcess::Running() const {
  return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ZelvoProcess::ExitCode() const {
  if (Running()) return std::nullopt;
  DWORD code = 0;
  Check(GetExitCodeProcess(process_.Get(), &code), "GetExitCodeProcess");
  return code;
}

std::optional<DWORD> ZelvoProcess::WaitForExit(Milliseconds timeout) const {
  if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  return ExitCode();
}

void ZelvoProcess::Kill() {
  TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), static_cast<DWORD>(kTimeout.count()));
}

std::optional<MainWindow> ZelvoProcess::FindMainWindow() const {
  for (HWND hwnd : TopLevelWindows(id_, folder_.GetProgram().window_class)) {
    if (IsWindowVisible(hwnd)) return MainWindow(*this, hwnd);
  }
  return std::nullopt;
}

MainWindow ZelvoProcess::WaitForMainWindow(Milliseconds timeout) const {
  std::optional<MainWindow> window;
  WaitFor([&] { return (window = FindMainWindow()) || !Running(); }, timeout);
  if (!window) {
    if (!Running()) {
      throw DriverError("the program ended with exit code " + std::to_string(*ExitCode()) +
                        " before its main window appeared");
    }
    throw DriverError("the program's main window did not appear");
  }
  slot_.Place(window->Handle());
  return *window;
}

std::optional<MessageBoxWindow> ZelvoProcess::FindBox() const {
  for (HWND hwnd : TopLevelWindows(id_, L"#32770")) {
    if (IsWindowVisible(hwnd)) return MessageBoxWindow(*this, hwnd);
  }
  return std::nullopt;
}

bool ZelvoProcess::MenuOpen() const {
  for (HWND hwnd : TopLevelWindows(id_, L"#32768")) {
    if (IsWindowVisible(hwnd)) return true;
  }
  return false;
}

bool ZelvoProcess::PressInMenu(UINT key) const {
  HWND menu = nullptr;
  WaitFor([&] {
    for (HWND hwnd : TopLevelWindows(id_, L"#32768")) {
      if (IsWindowVisible(hwnd)) menu = hwnd;
    }
    return menu || !Running();
  });
  if (!menu) throw DriverError("no context menu appeared");
  // The menu's own loop reads the program's keyboard messages, whichever window they are for.
  Post(menu, WM_KEYDOWN, key, 1);
  Post(menu, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  return WaitFor([&] { return !MenuOpen(); }, Milliseconds(1000));
}

MessageBoxWindow ZelvoProcess::WaitForBox(Milliseconds timeout) const {
  std::optional<MessageBoxWindow> box;
  WaitFor([&] { return (box = FindBox()) || !Running(); }, timeout);
  if (!box) {
    throw DriverError(Running() ? "no message box appeared"
                                : "the program ended with exit code " +
                                      std::to_string(*ExitCode()) + " without a message box");
  }
  slot_.Place(box->Handle());
  return *box;
}

}  // namespace zelvo::e2e
