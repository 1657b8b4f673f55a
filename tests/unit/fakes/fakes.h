// In-memory stand-ins for the platform, for the native unit tests. They behave like their
// Windows counterparts where the logic can tell (case-insensitive paths, hidden and system
// files, read-only files, the error numbers Windows gives), and record what was asked of them.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "base/failure.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/shortcuts.h"
#include "platform/text_codec.h"
#include "platform/window.h"
#include "shared/latin1_code_page.h"

namespace zelvo::testing {

// What the program did that the user sees, in order: "box: <title> | <text>",
// "status: <text>", "start: <path>", "show: <folder> | <name> <name>...", "clipboard: <text>".
using Journal = std::vector<std::string>;

// Windows' own texts for the failures the fakes raise.
Failure Win32Failure(int32_t code);
// Access denied, as Windows refuses a change of `folder` for want of rights.
Refusal AccessDenied(const std::string& folder = {});

// The report box of `failure` caught in `source`.
Message ReportOf(std::string_view source, const Failure& failure);

// A status line and a box as the journal records them.
std::string StatusEntry(std::string_view text);
std::string BoxEntry(const Message& message);

class FakeDialogs : public Dialogs {
 public:
  explicit FakeDialogs(Journal* journal = nullptr) : journal_(journal) {}
  Answer Show(const Message& message) override;

  std::vector<Message> shown;
  // Answers for the Yes/No boxes, in order; an OK box takes none. A question with no answer
  // left fails the test and is answered No.
  std::deque<Answer> answers;
  // Runs while a box is up, to look at the program's state at that moment.
  std::function<void(const Message&)> on_show;

 private:
  Journal* journal_;
};

struct FakeFile {
  std::string path;  // as created: the stored name is its last component
  std::string content;
  bool hidden = false;
  bool system = false;
  bool read_only = false;
  bool link = false;  // a symbolic link, a junction, or a file of more than one name
  int touched = 0;    // how often its last-write time was set to now
};

class FakeFileSystem : public FileSystem {
 public:
  // Adds a file (and every missing folder above it).
  FakeFile& AddFile(const std::string& path, std::string content = {});
  void AddFolder(const std::string& path);
  // `short_path` names the same file as `long_path`, as an 8.3 alias does.
  void AddShortName(const std::string& short_path, const std::string& long_path);
  // The next call of `operation` ("Look", "WriteFile", "CopyToNew" ...) on `path` (or on any
  // path when empty) throws `failure`. An opening to read ("OpenProgram") does not throw: the file
  // cannot be opened, for the failure's reason. "Read" fails a read through an opened file.
  void FailOn(const std::string& operation, const std::string& path, Failure failure);
  // The next change `operation` ("WriteFile", "RemoveFile", "MakeFolder", "CopyToNew",
  // "ReplaceAtomically") of `path` (or of any path when empty) is refused for want of rights;
  // "Touch" makes the next setting of its time fail.
  void RefuseOn(const std::string& operation, const std::string& path);

  const FakeFile* Find(const std::string& path) const;
  bool HasFolder(const std::string& path) const;
  // The files under a folder, by stored path.
  std::vector<const FakeFile*> FilesIn(const std::string& folder) const;

  FileFacts Look(const std::string& path) override;
  ChangeResult MakeFolder(const std::string& path, NewFolder access) override;
  ChangeResult RemoveFile(const std::string& path) override;
  CopyResult CopyToNew(const std::string& from, const std::string& folder,
                       const std::string& name) override;
  FolderGuard GuardOf(const std::string& folder) override;
  std::string PathForAnyAccount(const std::string& path) override;
  ChangeResult WriteFile(const std::string& path, std::string_view bytes) override;
  ChangeResult ReplaceAtomically(const std::string& path, std::string_view bytes) override;
  std::optional<std::string> ReadFile(const std::string& path, uint64_t at_most) override;
  OpenedProgram OpenProgram(const std::string& path) override;
  bool TouchLastWrite(const std::string& path) override;

  // Every call, as "Operation path" (a read through an opened file as "Read path").
  std::vector<std::string> calls;
  // The current folder that relative paths are resolved against, and the drive letters mapped
  // to network shares ("Z:" -> "\\\\server\\share"), for PathForAnyAccount.
  std::string current_folder = "C:\\Work";
  std::map<std::string, std::string> mapped_drives;
  // Who may change each folder made, by lower-case path; none of them guarded where access
  // lists keep nobody out.
  std::map<std::string, NewFolder> made_folders;
  bool guarding = true;

 private:
  class OpenFile;
  // Sets the file's time, as a touch through an opening or by its path does.
  bool Touch(const std::string& path);
  // Notes the call, and throws what was injected for it.
  void Enter(const std::string& operation, const std::string& path);
  // Whether a refusal was injected for the change.
  bool Refused(const std::string& operation, const std::string& path);
  std::string Resolve(const std::string& path) const;
  FakeFile* FindFile(const std::string& path);
  void RequireParent(const std::string& path) const;

  std::map<std::string, FakeFile> files_;  // by lower-case path
  std::set<std::string> folders_;          // lower-case paths, no trailing backslash
  std::map<std::string, std::string> short_names_;
  struct Injected {
    std::string operation;
    std::string path;
    std::optional<Failure> failure;  // none: a refusal
  };
  std::vector<Injected> failures_;
};

class FakeShortcuts : public Shortcuts {
 public:
  std::map<std::string, std::string> targets;  // shortcut path -> target path
  std::string TargetPath(const std::string& shortcut_path) override;
};

class FakeClock : public Clock {
 public:
  Date today{2026, 12, 7};
  Date Today() override { return today; }
};

class FakeEnvironment : public Environment {
 public:
  ProgramVersion version{2, 20};
  bool previous_instance = false;
  std::string program_folder = "C:\\Tools";
  std::string command_line = "\"C:\\Tools\\zelvo.exe\"";
  bool elevated = false;
  // Whether the user lets the elevated start happen, or Windows' reason why it cannot start;
  // every start asked for, with what it was handed.
  bool elevation_allowed = true;
  std::optional<std::string> start_failure;
  std::vector<std::string> hand_overs;
  // The programs handed over at each start.
  std::vector<std::vector<std::string>> elevated_starts;
  // What this instance was handed when it was started, taken once, or why it cannot be read.
  std::optional<std::string> handed_over;
  std::optional<Failure> hand_over_failure;

  ProgramVersion Version() override { return version; }
  bool PreviousInstanceRunning() override { return previous_instance; }
  bool Elevated() override { return elevated; }
  ElevatedStart StartElevated(std::string_view hand_over) override;
  std::optional<std::string> TakeHandOver() override;
  std::string ProgramFolder() override { return program_folder; }
  std::string CommandLine() override { return command_line; }
  std::string DescribeFailure(int32_t number) override;
};

// Latin-1 stands in for the ANSI code page: characters up to U+00FF fit, others do not.
using FakeCodePage = Latin1CodePage;

// Orders by the text with ASCII letters folded to lower case.
class FakeCollator : public Collator {
 public:
  std::string SortKey(std::string_view utf8) const override;
};

class FakeListBox : public ListBox {
 public:
  struct Row {
    std::string text;
    bool selected = false;
  };
  std::vector<Row> rows;
  std::optional<size_t> current;

  void ResetRows(const std::vector<std::string_view>& texts) override;
  void InsertRow(size_t row, std::string_view text) override;
  void RemoveRow(size_t row) override;
  void SetSelected(size_t row, bool selected) override;
  void SetAllSelected(bool selected) override;
  void SetCurrentRow(std::optional<size_t> row) override;
  ListSelection UserSelection() override;
};

// The window as the program's logic sees it: what it shows, and how the program ended.
class FakeView : public MainView {
 public:
  explicit FakeView(Journal* journal = nullptr) : journal_(journal) {}

  struct Entry {
    std::string name, folder, date;
    bool operator==(const Entry&) const = default;
  };

  std::string caption;
  bool shown = false;
  Entry entry;
  std::optional<bool> actions_enabled;  // none until first set
  std::string status;
  FakeListBox list;
  // The exit code the program ended with through its message loop; none while it runs.
  std::optional<int> closed;

  void SetCaption(const std::string& text) override { caption = text; }
  void Show() override { shown = true; }
  void ShowEntry(const std::string& name, const std::string& folder,
                 const std::string& date) override;
  void EnableActions(bool enabled) override { actions_enabled = enabled; }
  void ShowStatus(const std::string& text) override;
  ListBox& Rows() override { return list; }
  void Close(int exit_code) override;

  // The next ShowStatus or ShowEntry throws `failure`, before anything is shown.
  void FailOnShowStatus(Failure failure) { status_failures_.push_back(std::move(failure)); }
  void FailOnShowEntry(Failure failure) { entry_failures_.push_back(std::move(failure)); }

 private:
  Journal* journal_;
  std::vector<Failure> status_failures_;
  std::vector<Failure> entry_failures_;
};

class FakeLauncher : public ProcessLauncher {
 public:
  explicit FakeLauncher(Journal* journal = nullptr) : journal_(journal) {}
  std::set<std::string> refused;  // program paths whose start fails
  bool no_user_token = false;     // an elevated Zelvo cannot start programs with the user's rights
  std::vector<std::pair<std::string, std::string>> started;  // program path, working folder
  StartResult Start(const std::string& program_path, const std::string& working_folder,
                    bool even_as_administrator) override;

 private:
  Journal* journal_;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(Journal* journal = nullptr) : journal_(journal) {}
  // The next call throws this, as when the shell cannot show the folder.
  std::optional<Failure> failure;
  void ShowInFolder(const std::string& folder, const std::vector<std::string>& names) override;

 private:
  Journal* journal_;
};

class FakeClipboard : public Clipboard {
 public:
  explicit FakeClipboard(Journal* journal = nullptr) : journal_(journal) {}
  std::string text;
  // The next call throws this, as when another program holds the clipboard.
  std::optional<Failure> failure;
  void SetText(const std::string& new_text) override;

 private:
  Journal* journal_;
};

}  // namespace zelvo::testing
