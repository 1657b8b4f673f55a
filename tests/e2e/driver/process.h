// The program under test as a process of its own: a fresh copy in a per-test folder (tests run
// in parallel, and the program refuses a second instance of the same program file), started
// with a command line, found by its main window, ended when the test ends.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "driver/boxes.h"
#include "win32/system/owner.h"
#include "driver/wait.h"
#include "driver/window.h"

namespace zelvo::e2e {

// A program file and the class of its main window.
struct Program {
  std::filesystem::path exe;
  std::wstring window_class;
};

// The built zelvo.exe.
Program ZelvoProgram();

// A unique folder under the temporary folder, removed with everything in it at the end of the
// test: Root() holds the tool folder with the copy of the program and whatever the test puts
// beside it (programs to apply, shortcuts). Given a root of its own, the object makes the tool
// folder there and removes only that.
class ToolFolder {
 public:
  explicit ToolFolder(Program program = ZelvoProgram(), std::wstring_view folder_name = L"tool",
                      std::filesystem::path root = {});
  ToolFolder(const ToolFolder&) = delete;
  ToolFolder& operator=(const ToolFolder&) = delete;
  ~ToolFolder();

  const Program& GetProgram() const { return program_; }
  const std::filesystem::path& Root() const { return root_; }
  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path ProgramPath() const { return folder_ / program_.exe.filename(); }

  // Writes the bytes to a file (relative paths are under Root()), creating its folders.
  std::filesystem::path WriteFile(const std::filesystem::path& path, std::string_view bytes) const;
  // The file's bytes, or nullopt when there is no such file.
  std::optional<std::string> ReadFile(const std::filesystem::path& path) const;
  bool Exists(const std::filesystem::path& path) const;

  // The log file in the tool folder.
  void WriteIni(std::string_view bytes) const;
  std::optional<std::string> ReadIni() const;

 private:
  std::filesystem::path Resolve(const std::filesystem::path& path) const;

  Program program_;
  bool own_root_;
  std::filesystem::path root_;
  std::filesystem::path folder_;
};

// A part of the screen that only this process's windows use while it runs. Tests share one X
// display; pixel reads (icons, colours, screenshots) must not see another test's windows.
class ScreenSlot {
 public:
  ScreenSlot();
  RECT Area() const { return area_; }
  // Moves a top-level window of the program to the slot's top left corner.
  void Place(HWND hwnd) const;

 private:
  win32::UniqueHandle claim_;
  RECT area_{};
};

class ZelvoProcess {
 public:
  // Starts the folder's copy of the program with "\"program path\"" followed by a space and the
  // arguments (nothing when they are empty), in Root() as the current folder.
  explicit ZelvoProcess(const ToolFolder& folder, const std::wstring& arguments = {});
  // The same with the program reached by another path (a linked folder, a renamed copy).
  ZelvoProcess(const ToolFolder& folder, const std::filesystem::path& program,
               const std::wstring& arguments);
  ZelvoProcess(const ZelvoProcess&) = delete;
  ZelvoProcess& operator=(const ZelvoProcess&) = delete;
  // Kills the program if it still runs.
  ~ZelvoProcess();

  const ToolFolder& Folder() const { return folder_; }
  HANDLE Handle() const { return process_.Get(); }
  DWORD Id() const { return id_; }
  const ScreenSlot& Slot() const { return slot_; }

  // The main window once it is visible (moved into this test's screen slot); throws when it
  // does not appear in time or the program ends first.
  MainWindow WaitForMainWindow(Milliseconds timeout = kStartTimeout) const;
  // The visible main window now, if there is one.
  std::optional<MainWindow> FindMainWindow() const;

  // The message box that the program shows (the topmost if several); throws when none appears.
  MessageBoxWindow WaitForBox(Milliseconds timeout = kTimeout) const;
  std::optional<MessageBoxWindow> FindBox() const;

  // Context menus. Under Wine another process cannot read a menu's items (its menus live in the
  // program's own memory), so a test chooses them as the keyboard does.
  // Waits for the program's context menu and presses `key` in it: an item's access key (the
  // letter after "&"), VK_ESCAPE, ...; returns once the menu is gone (true), or false when it
  // stays open (the key of a disabled item, say). Throws when no menu appears.
  bool PressInMenu(UINT key) const;
  // Whether the program shows a context menu now.
  bool MenuOpen() const;

  bool Running() const;
  // The exit code once the program has ended, nullopt while it runs.
  std::optional<DWORD> ExitCode() const;
  // Waits for the program to end by itself and returns its exit code; nullopt if it still runs.
  std::optional<DWORD> WaitForExit(Milliseconds timeout = kTimeout) const;
  void Kill();

 private:
  const ToolFolder& folder_;
  ScreenSlot slot_;
  win32::UniqueHandle process_;
  DWORD id_ = 0;
};

}  // namespace zelvo::e2e
