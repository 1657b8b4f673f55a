// The real program's life: one instance per program file, the log kept from one run to the
// next, every way of closing the window, a failure that ends the program, and log files that
// another version or an accident left behind.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/system/strings.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

const std::string kGreeting(expected::kGreeting);

// The names that files in a folder get, as the folder's change notifications tell them in
// order. The program saves its log by writing a temporary file and renaming it to zelvo.ini, so
// each save is one rename to that name.
class FolderChanges {
 public:
  explicit FolderChanges(fs::path folder) : folder_(std::move(folder)) {
    const HANDLE opened =
        CreateFileW(folder_.c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (opened == INVALID_HANDLE_VALUE) ThrowLastError("CreateFile " + Text(folder_));
    handle_.Reset(opened);
    event_.Reset(Check(CreateEventW(nullptr, TRUE, FALSE, nullptr), "CreateEvent"));
    Watch();
  }
  FolderChanges(const FolderChanges&) = delete;
  FolderChanges& operator=(const FolderChanges&) = delete;
  ~FolderChanges() {
    CancelIo(handle_.Get());
    DWORD ignored = 0;
    GetOverlappedResult(handle_.Get(), &overlapped_, &ignored, TRUE);
  }

  // How often a file was renamed to `name` until now. A marker file made after everything the
  // test waits for fences the notifications: once its own has come, the earlier ones have too.
  int RenamesTo(const std::wstring& name) {
    const fs::path marker = folder_ / L"marker.tmp";
    {
      win32::UniqueFile file(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    DeleteFileW(marker.c_str());
    if (!WaitFor([&] {
          Collect();
          return std::find(added_.begin(), added_.end(), L"marker.tmp") != added_.end();
        })) {
      throw DriverError("the folder's change notifications did not come");
    }
    added_.clear();
    const int count = static_cast<int>(
        std::count_if(renamed_to_.begin(), renamed_to_.end(), [&](const std::wstring& renamed) {
          return CompareStringOrdinal(renamed.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
        }));
    return count;
  }

 private:
  void Watch() {
    overlapped_ = {};
    overlapped_.hEvent = event_.Get();
    Check(ReadDirectoryChangesW(handle_.Get(), buffer_, sizeof(buffer_), FALSE,
                                FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &overlapped_, nullptr),
          "ReadDirectoryChanges");
  }

  // Takes the notifications that have come, and watches on.
  void Collect() {
    DWORD size = 0;
    if (!GetOverlappedResult(handle_.Get(), &overlapped_, &size, FALSE)) {
      if (GetLastError() == ERROR_IO_INCOMPLETE) return;
      ThrowLastError("GetOverlappedResult");
    }
    for (size_t offset = 0; size > 0;) {
      const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + offset);
      const std::wstring name(change->FileName, change->FileNameLength / sizeof(wchar_t));
      if (change->Action == FILE_ACTION_RENAMED_NEW_NAME) renamed_to_.push_back(name);
      if (change->Action == FILE_ACTION_ADDED) added_.push_back(name);
      if (change->NextEntryOffset == 0) break;
      offset += change->NextEntryOffset;
    }
    Watch();
  }

  fs::path folder_;
  win32::UniqueHandle handle_;
  win32::UniqueHandle event_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) std::byte buffer_[16384];
  std::vector<std::wstring> renamed_to_;
  std::vector<std::wstring> added_;
};

TEST(Lifecycle, ASecondInstanceIsWarnedOfAndEndsWhileTheFirstGoesOn) {
  ToolFolder folder;
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  {
    ZelvoProcess first(folder);
    const MainWindow window = first.WaitForMainWindow();

    // The second start with a program on its command line: only the warning, then its end.
    ZelvoProcess second(folder, Quoted({program}));
    const MessageBoxWindow box = second.WaitForBox();
    EXPECT_TRUE(BoxShows(box, SecondInstanceWarning()));
    EXPECT_FALSE(second.FindMainWindow());
    box.Answer(Answer::Ok);
    EXPECT_THAT(second.WaitForExit(), Optional(0u));
    EXPECT_FALSE(folder.Exists(program.wstring() + L".manifest"));
    EXPECT_FALSE(folder.ReadIni());

    // The first neither heard of it nor stopped working.
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(NoBoxAfterSync(first, window));
    ExpectStatusLine(window, kGreeting);
    window.DropFiles({program});
    EXPECT_TRUE(NoBoxAfterSync(first, window));
    ExpectStatusLine(window, AppliedStatus("Foo.exe"));
    window.Close();
    EXPECT_THAT(first.WaitForExit(), Optional(0u));
  }
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith({{"Foo.exe", FolderOf(program), Today()}})));

  // Once the first has ended the program starts again as the only one.
  ZelvoProcess again(folder);
  const MainWindow window = again.WaitForMainWindow();
  EXPECT_TRUE(NoBoxAfterSync(again, window));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Foo.exe"));
}

// ZELVO_LINKED_ROOT holds "tool" and "link", a Linux symbolic link to it: a second path to the
// same folder, as a junction, a linked folder or a substituted drive letter is on Windows. The
// test command makes both before this test.
TEST(LinkedToolFolder, OneToolFolderReachedByTwoPathsRunsOnce) {
  const fs::path root = ZELVO_LINKED_ROOT;
  ToolFolder folder(ZelvoProgram(), L"tool", root);
  const fs::path program = folder.WriteFile(L"tool\\apps\\Foo.exe", kFakeProgram);
  const fs::path through_link = root / L"link" / folder.ProgramPath().filename();
  const fs::path renamed = folder.Folder() / L"zelvo-copy.exe";
  Check(CopyFileW(folder.ProgramPath().c_str(), renamed.c_str(), TRUE), "CopyFile");

  ZelvoProcess first(folder);
  const MainWindow window = first.WaitForMainWindow();
  // The same log by another path to its folder, or by another program file beside it: one
  // Zelvo keeps it, and the second only warns.
  for (const fs::path& second_path : {through_link, renamed}) {
    SCOPED_TRACE(Text(second_path));
    ZelvoProcess second(folder, second_path, Quoted({program}));
    ExpectBoxAndAnswer(second, SecondInstanceWarning(), Answer::Ok);
    EXPECT_THAT(second.WaitForExit(), Optional(0u));
  }
  EXPECT_FALSE(folder.Exists(program.wstring() + L".manifest"));
  EXPECT_TRUE(NoBoxAfterSync(first, window));
  CloseAndExpectLog(first, window, {});
}

TEST(Lifecycle, CopiesInTwoFoldersRunSideBySideWithALogEach) {
  ToolFolder one;
  ToolFolder two;
  const fs::path first = one.WriteFile(L"apps\\First.exe", kFakeProgram);
  const fs::path second = two.WriteFile(L"apps\\Second.exe", kFakeProgram);
  ZelvoProcess zelvo_one(one, Quoted({first}));
  ZelvoProcess zelvo_two(two, Quoted({second}));
  const MainWindow window_one = zelvo_one.WaitForMainWindow();
  const MainWindow window_two = zelvo_two.WaitForMainWindow();
  WaitForStatusLine(window_one, AppliedStatus("First.exe"));
  WaitForStatusLine(window_two, AppliedStatus("Second.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo_one, window_one));
  EXPECT_TRUE(NoBoxAfterSync(zelvo_two, window_two));

  window_one.Close();
  window_two.Close();
  EXPECT_THAT(zelvo_one.WaitForExit(), Optional(0u));
  EXPECT_THAT(zelvo_two.WaitForExit(), Optional(0u));
  EXPECT_THAT(one.ReadIni(), Optional(IniWith({{"First.exe", FolderOf(first), Today()}})));
  EXPECT_THAT(two.ReadIni(), Optional(IniWith({{"Second.exe", FolderOf(second), Today()}})));
}

TEST(Lifecycle, TheLogIsKeptBetweenRunsInTheSystemsCodePage) {
  ToolFolder folder;
  const fs::path japanese = folder.WriteFile(L"apps\\テスト.exe", kFakeProgram);
  const fs::path zeta = folder.WriteFile(L"apps\\zeta.exe", kFakeProgram);
  const fs::path alpha = folder.WriteFile(L"apps\\Alpha.exe", kFakeProgram);
  // Code page 932 (Shift-JIS), three lines an entry in the order of the list, CR LF, and the
  // closing empty line.
  const std::string folder_text = FolderOf(alpha);
  const std::string expected =
      "2.20\r\n"
      "Alpha.exe\r\n" +
      folder_text + "\r\n" + Today() + "\r\n" + "zeta.exe\r\n" + folder_text + "\r\n" + Today() +
      "\r\n" + "\x83\x65\x83\x58\x83\x67.exe\r\n" + folder_text + "\r\n" + Today() + "\r\n" +
      "\r\n";
  {
    ZelvoProcess zelvo(folder, Quoted({zeta, japanese, alpha}));
    const MainWindow window = zelvo.WaitForMainWindow();
    WaitForStatusLine(window, AppliedStatus("Alpha.exe"));
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
    EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
                ElementsAre("Alpha.exe", "zeta.exe", "テスト.exe"));
    window.Close();
    EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  }
  EXPECT_THAT(folder.ReadIni(), Optional(expected));

  // The next start shows the same entries, none selected, and no greeting. A command line of
  // blanks names nothing.
  ZelvoProcess zelvo(folder, L"   ");
  const MainWindow window = zelvo.WaitForMainWindow();
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("Alpha.exe", "zeta.exe", "テスト.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectStatusLine(window, "");
  ExpectViewDisabled(window);
  window.ClickRow(ControlId(Control::lstLogName), 2);
  ExpectEntryShown(window, "テスト.exe", folder_text, Today());
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  EXPECT_THAT(folder.ReadIni(), Optional(expected));
}

TEST(Lifecycle, ANameTheCodePageCannotHoldKeepsTheWholeLogInUtf8) {
  ToolFolder folder;
  const fs::path korean = folder.WriteFile(L"apps\\한국어.exe", kFakeProgram);
  const fs::path japanese = folder.WriteFile(L"apps\\テスト.exe", kFakeProgram);
  {
    ZelvoProcess zelvo(folder, Quoted({korean, japanese}));
    const MainWindow window = zelvo.WaitForMainWindow();
    WaitForStatusLine(window, AppliedStatus("テスト.exe"));
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
    window.Close();
    EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  }
  // Not "?" in place of the Korean name: UTF-8 after a byte-order mark, for every line.
  EXPECT_THAT(folder.ReadIni(),
              Optional("\xEF\xBB\xBF" + IniWith({{"テスト.exe", FolderOf(japanese), Today()},
                                                 {"한국어.exe", FolderOf(korean), Today()}})));

  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("テスト.exe", "한국어.exe"));
  window.ClickRow(ControlId(Control::lstLogName), 1);
  ExpectEntryShown(window, "한국어.exe", FolderOf(korean), Today());
}

TEST(Lifecycle, EveryWayOfClosingSavesTheLogOnce) {
  struct Way {
    const char* what;
    void (MainWindow::*close)() const;
  };
  for (const Way& way :
       {Way{"WM_CLOSE", &MainWindow::Close},
        Way{"the close box and the system menu", &MainWindow::CloseBySystemCommand},
        Way{"Alt+F4", &MainWindow::PressAltF4}}) {
    SCOPED_TRACE(way.what);
    ToolFolder folder;
    const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
    FolderChanges changes(folder.Folder());
    ZelvoProcess zelvo(folder, Quoted({program}));
    const MainWindow window = zelvo.WaitForMainWindow();
    WaitForStatusLine(window, AppliedStatus("Foo.exe"));
    EXPECT_EQ(changes.RenamesTo(L"zelvo.ini"), 0);
    (window.*way.close)();
    EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
    EXPECT_EQ(changes.RenamesTo(L"zelvo.ini"), 1);
    EXPECT_THAT(folder.ReadIni(), Optional(IniWith({{"Foo.exe", FolderOf(program), Today()}})));
    EXPECT_THAT(FolderListing(folder.Folder()), ElementsAre("zelvo.exe", "zelvo.ini"));
  }
}

TEST(Lifecycle, LoggingOffSavesTheLogBeforeWindowsEndsTheProgram) {
  ToolFolder folder;
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  FolderChanges changes(folder.Folder());
  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  WaitForStatusLine(window, AppliedStatus("Foo.exe"));

  // The program never refuses, and the log is on disk when it has answered the end.
  EXPECT_TRUE(window.LogOff());
  EXPECT_EQ(changes.RenamesTo(L"zelvo.ini"), 1);
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith({{"Foo.exe", FolderOf(program), Today()}})));
  // Should the window close after all, the log is not saved a second time.
  if (zelvo.Running()) {
    window.Close();
    EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  }
  EXPECT_EQ(changes.RenamesTo(L"zelvo.ini"), 1);
  EXPECT_THAT(FolderListing(folder.Folder()), ElementsAre("zelvo.exe", "zelvo.ini"));
}

TEST(Lifecycle, AFailureInADropIsReportedOnceAndTheLogIsSavedBeforeTheEnd) {
  ToolFolder folder;
  const Entry earlier{"Earlier.exe", "C:\\Apps\\", "2024/05/06"};
  folder.WriteIni(IniWith({earlier}));
  // A file where the backup folder would be made.
  folder.WriteFile(folder.Folder() / L"backup", "not a folder");
  const fs::path first = folder.WriteFile(L"apps\\First.exe", kFakeProgram);
  const fs::path second = folder.WriteFile(L"apps\\Second.exe", kFakeProgram);
  const fs::path replaced = folder.WriteFile(L"apps\\Replaced.exe", kFakeProgram);
  folder.WriteFile(L"apps\\Replaced.exe.manifest", "old");
  const fs::path last = folder.WriteFile(L"apps\\Last.exe", kFakeProgram);

  ZelvoProcess zelvo(folder, Quoted({first}));
  const MainWindow window = zelvo.WaitForMainWindow();
  WaitForStatusLine(window, AppliedStatus("First.exe"));
  window.DropFiles(ControlId(Control::lstLogName), {second, replaced, last});
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Replaced.exe"), Answer::Yes);
  // The backup cannot make its folder: one report, no second one naming the drop, and the end.
  ExpectBoxAndAnswer(zelvo, ErrorReport("BackupManifest()", ERROR_ALREADY_EXISTS), Answer::Ok);
  EXPECT_THAT(zelvo.WaitForExit(), Optional(1u));

  // The entries applied before the failure in this run are in the log; the rest of the drop
  // was not applied, and the old manifest is as it was.
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith({earlier,
                                                  {"First.exe", FolderOf(first), Today()},
                                                  {"Second.exe", FolderOf(second), Today()}})));
  EXPECT_THAT(FolderListing(first.parent_path()),
              ElementsAre("First.exe", "First.exe.manifest", "Last.exe", "Replaced.exe",
                          "Replaced.exe.manifest", "Second.exe", "Second.exe.manifest"));
  EXPECT_THAT(folder.ReadFile(replaced.wstring() + L".manifest"), Optional(std::string("old")));
  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup"), Optional(std::string("not a folder")));
  EXPECT_THAT(FolderListing(folder.Folder()), ElementsAre("backup", "zelvo.exe", "zelvo.ini"));
}

TEST(Lifecycle, ADamagedOrForeignLogStartsWithoutABoxAndIsKeptAside) {
  const Entry a{"A.exe", "C:\\A\\", "2025/01/01"};
  struct Case {
    const char* what;
    std::string log;
    std::vector<std::string> rows;  // loaded
    std::vector<Entry> saved;
    const wchar_t* kept_as;  // the copy of the old file, if any
  };
  const Case cases[] = {
      {"cut inside an entry",
       "2.20\r\nA.exe\r\nC:\\A\\\r\n2025/01/01\r\nB.exe\r\nC:\\B\\\r\n",
       {"A.exe"},
       {a},
       L"zelvo.ini.damaged.bak"},
      {"another version",
       "2.10\r\nA.exe\r\nC:\\A\\\r\n2025/01/01\r\n\r\n",
       {},
       {},
       L"zelvo.ini.2.10.bak"},
      {"lines ending in a bare line feed",
       "2.20\nA.exe\nC:\\A\\\n2025/01/01\n\n",
       {},
       {},
       L"zelvo.ini.bare-lf.bak"},
      {"zero bytes", "", {}, {}, nullptr},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    ToolFolder folder;
    folder.WriteIni(test.log);
    ZelvoProcess zelvo(folder);
    const MainWindow window = zelvo.WaitForMainWindow();
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
    EXPECT_EQ(window.Rows(ControlId(Control::lstLogName)), test.rows);
    ExpectStatusLine(window, "");  // a log file stands: no greeting
    window.Close();
    EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));

    EXPECT_THAT(folder.ReadIni(), Optional(IniWith(test.saved)));
    std::vector<std::string> files = {"zelvo.exe", "zelvo.ini"};
    if (test.kept_as) {
      files.push_back(Text(test.kept_as));
      EXPECT_THAT(folder.ReadFile(folder.Folder() / test.kept_as), Optional(test.log));
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(FolderListing(folder.Folder()), files);
  }
}

}  // namespace
}  // namespace zelvo::e2e
