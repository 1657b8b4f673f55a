// Start-up, the window's events and shutdown, through the application object as the window
// drives it: the order of start-up, the single instance, the drop handlers' names, and that a
// failure neither costs the log nor is reported twice.
#include "application/zelvo.h"

#include <gtest/gtest.h>

#include "fakes/rig.h"
#include "model/hand_over.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

const std::string kLogPath = "C:\\Tools\\zelvo.ini";

class FakeDrop : public DroppedFiles {
 public:
  explicit FakeDrop(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  size_t Count(size_t) override { return listed ? *listed : paths_.size(); }
  std::string Path(size_t index) override {
    ++paths_read;
    if (unreadable) throw Failure(87, "パラメーターが間違っています。");
    return paths_.at(index);
  }
  bool unreadable = false;
  std::optional<size_t> listed;  // what the drop says it holds, when it is not the paths
  size_t paths_read = 0;

 private:
  std::vector<std::string> paths_;
};

struct ZelvoTest : ::testing::Test {
  Rig rig;
  Journal& journal = rig.journal;
  FakeDialogs& dialogs = rig.dialogs;
  FakeFileSystem& files = rig.files;
  FakeEnvironment& environment = rig.environment;
  FakeView& window = rig.view;
  Zelvo app{rig.platform, rig.trap};
  WindowEvents& events = app.Events();

  // Runs `action`, which is expected to end the program after a failure.
  template <class Action>
  void ExpectEnd(Action action) {
    action();
    EXPECT_EQ(window.closed, 1);
  }

  std::vector<Message> Reports() const {
    std::vector<Message> reports;
    for (const auto& message : dialogs.shown) {
      if (message.title == expected::kErrorReportTitle) reports.push_back(message);
    }
    return reports;
  }

  static bool Names(const Message& report, const std::string& source) {
    return report.text.find("エラー元 ： " + source + "\r\n") != std::string::npos;
  }
};

TEST(VersionAndFolder, MinorVersionHasAtLeastTwoDigitsAndTheFolderOneBackslash) {
  EXPECT_EQ(VersionText({2, 20}), "2.20");
  EXPECT_EQ(VersionText({2, 5}), "2.05");
  EXPECT_EQ(VersionText({2, 120}), "2.120");
  EXPECT_EQ(ToolFolder("C:\\Tools"), "C:\\Tools\\");
  EXPECT_EQ(ToolFolder("C:\\"), "C:\\");
  EXPECT_EQ(ToolFolder("\\\\server\\share\\Zelvo"), "\\\\server\\share\\Zelvo\\");
}

TEST_F(ZelvoTest, StartUpSetsTheCaptionLoadsTheLogShowsTheWindowThenAppliesTheCommandLine) {
  files.AddFile("C:\\Apps\\Foo.exe", "old program");
  environment.command_line = "\"C:\\Tools\\zelvo.exe\"  C:\\Apps\\foo.EXE";

  app.Start();

  EXPECT_EQ(window.caption, expected::Caption("2.20"));
  EXPECT_EQ(app.ToolFolderValue(), "C:\\Tools\\");
  EXPECT_TRUE(window.shown);
  // No log yet: the greeting, then the command line's program with its stored name.
  EXPECT_EQ(journal, (Journal{StatusEntry(expected::kGreeting),
                              StatusEntry(expected::AppliedStatus("Foo.exe"))}));
  EXPECT_NE(files.Find("C:\\Apps\\Foo.exe.manifest"), nullptr);
  EXPECT_EQ(window.list.rows.size(), 1u);
  EXPECT_FALSE(window.closed);
}

TEST_F(ZelvoTest, BoxesOfTheCommandLineStandInFrontOfTheShownWindow) {
  files.AddFile("C:\\Apps\\run.bat");
  environment.command_line = "zelvo.exe C:\\Apps\\run.bat";
  dialogs.answers = {Answer::No};
  bool shown_during_box = false;
  dialogs.on_show = [&](const Message&) { shown_during_box = window.shown; };
  app.Start();
  EXPECT_TRUE(shown_during_box);
  EXPECT_EQ(window.status, expected::CancelledStatus("run.bat"));
}

TEST_F(ZelvoTest, ASecondInstanceOnlyWarnsAndEnds) {
  environment.previous_instance = true;
  environment.command_line = "zelvo.exe C:\\Apps\\Foo.exe";
  files.AddFile("C:\\Apps\\Foo.exe");
  files.AddFile(kLogPath, "2.20\r\n\r\n");

  app.Start();

  EXPECT_EQ(window.closed, 0);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0], expected::SecondInstanceWarning());
  EXPECT_FALSE(window.shown);
  EXPECT_EQ(files.Find("C:\\Apps\\Foo.exe.manifest"), nullptr);
  EXPECT_EQ(files.Find(kLogPath)->content, "2.20\r\n\r\n");
  for (const auto& call : files.calls) EXPECT_NE(call, "ReadFile " + kLogPath);
}

TEST_F(ZelvoTest, AZelvoStartedByAnotherAsAdministratorTakesItsLogAndAppliesItsPrograms) {
  // What the file holds is older than what the other Zelvo had: its log is the one that counts.
  files.AddFile(kLogPath, "2.20\r\nOld.exe\r\nC:\\Old\\\r\n2020/01/01\r\n\r\n");
  files.AddFile("C:\\Apps\\Foo.exe");
  environment.handed_over =
      FormatHandOver({{{"Run.exe", "C:\\Run\\", "2026/12/07"}}, "", {"C:\\Apps\\Foo.exe"}});

  app.Start();

  EXPECT_EQ(journal, Journal{StatusEntry(expected::AppliedStatus("Foo.exe"))});
  for (const auto& call : files.calls) EXPECT_NE(call, "ReadFile " + kLogPath);
  events.Closing();
  EXPECT_EQ(
      files.Find(kLogPath)->content,
      "2.20\r\nFoo.exe\r\nC:\\Apps\\\r\n2026/12/07\r\nRun.exe\r\nC:\\Run\\\r\n2026/12/07\r\n\r\n");

  // Bytes that are no whole hand-over, or none that can be read: the user hears that they are
  // lost, and Zelvo starts as it always does.
  for (const bool damaged : {true, false}) {
    Rig plain;
    plain.files.AddFile(kLogPath, "2.20\r\nOld.exe\r\nC:\\Old\\\r\n2020/01/01\r\n\r\n");
    if (damaged) {
      plain.environment.handed_over = std::string(kHandOverMark) + "damaged";
    } else {
      plain.environment.hand_over_failure = Win32Failure(32);
    }
    Zelvo other(plain.platform, plain.trap);
    other.Start();
    EXPECT_EQ(plain.dialogs.shown,
              std::vector<Message>{expected::HandOverLostWarning(
                  damaged ? plain.environment.DescribeFailure(13)  // ERROR_INVALID_DATA
                          : Win32Failure(32).Description())});
    EXPECT_EQ(plain.view.list.rows.size(), 1u);
    EXPECT_FALSE(plain.view.closed);
  }
}

TEST_F(ZelvoTest, ALogThatCannotBeReadEndsStartUpWithOneReportAndNoSave) {
  files.AddFile(kLogPath, "2.20\r\nA.exe\r\nC:\\A\\\r\n2026/01/01\r\n\r\n");
  files.FailOn("ReadFile", kLogPath, Win32Failure(32));

  ExpectEnd([&] { app.Start(); });

  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_TRUE(Names(Reports()[0], "LoadListData()"));
  EXPECT_FALSE(window.shown);
  EXPECT_EQ(files.Find(kLogPath)->content, "2.20\r\nA.exe\r\nC:\\A\\\r\n2026/01/01\r\n\r\n");
}

TEST_F(ZelvoTest, AFailureOnTheCommandLineKeepsTheEntriesAppliedBeforeIt) {
  files.AddFile("C:\\Apps\\A.exe");
  files.AddFile("C:\\Locked\\B.exe");
  files.AddFile("C:\\Apps\\C.exe");
  files.FailOn("WriteFile", "C:\\Locked\\B.exe.manifest", Win32Failure(5));
  environment.command_line = "zelvo.exe C:\\Apps\\A.exe C:\\Locked\\B.exe C:\\Apps\\C.exe";

  ExpectEnd([&] { app.Start(); });

  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_TRUE(Names(Reports()[0], "ApplyZelvo()"));
  EXPECT_EQ(files.Find("C:\\Apps\\C.exe.manifest"), nullptr);
  ASSERT_NE(files.Find(kLogPath), nullptr);
  EXPECT_EQ(files.Find(kLogPath)->content, "2.20\r\nA.exe\r\nC:\\Apps\\\r\n2026/12/07\r\n\r\n");
}

TEST_F(ZelvoTest, ClosingSavesOnceWhateverClosesTheWindow) {
  app.Start();
  files.calls.clear();
  events.Closing();  // the close box
  events.Closing();  // and then the session ending
  int saves = 0;
  for (const auto& call : files.calls) saves += call == "ReplaceAtomically " + kLogPath;
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(files.Find(kLogPath)->content, "2.20\r\n\r\n");
  EXPECT_FALSE(window.closed);
}

TEST_F(ZelvoTest, AFailedSaveAtCloseIsReportedOnceAndNotTriedAgain) {
  app.Start();
  files.FailOn("ReplaceAtomically", kLogPath, Win32Failure(112));
  files.calls.clear();

  ExpectEnd([&] { events.Closing(); });

  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_TRUE(Names(Reports()[0], "SaveListData()"));
  EXPECT_EQ(files.calls.size(), 1u);
}

TEST_F(ZelvoTest, ADropOnAnyControlAppliesItsFiles) {
  app.Start();
  for (DropPlace target : {DropPlace::Window, DropPlace::DateBox, DropPlace::LaunchButton}) {
    const std::string folder = "C:\\Apps" + std::to_string(static_cast<int>(target)) + "\\";
    files.AddFile(folder + "A.exe");
    files.AddFile(folder + "B.exe");
    FakeDrop drop({folder + "A.exe", folder + "B.exe"});
    events.FilesDropped(target, drop);
    EXPECT_NE(files.Find(folder + "B.exe.manifest"), nullptr);
  }
  EXPECT_EQ(window.list.rows.size(), 6u);
  EXPECT_EQ(window.status, expected::AppliedStatus("B.exe"));
  EXPECT_TRUE(Reports().empty());
}

TEST_F(ZelvoTest, AFailureInADropHandlerNamesThatHandlerAndKeepsTheLog) {
  app.Start();
  files.AddFile("C:\\Apps\\A.exe");
  FakeDrop first({"C:\\Apps\\A.exe"});
  events.FilesDropped(DropPlace::DropFrame, first);

  for (auto [target, source] : {std::pair{DropPlace::Window, "Form_OLEDragDrop()"},
                                std::pair{DropPlace::NameList, "lstLogName_OLEDragDrop()"},
                                std::pair{DropPlace::FolderBox, "txtLogPath_OLEDragDrop()"}}) {
    dialogs.shown.clear();
    FakeDrop broken({"C:\\Apps\\A.exe"});
    broken.unreadable = true;
    ExpectEnd([&] { events.FilesDropped(target, broken); });
    ASSERT_EQ(Reports().size(), 1u) << source;
    EXPECT_TRUE(Names(Reports()[0], source)) << Reports()[0].text;
  }
  EXPECT_EQ(files.Find(kLogPath)->content, "2.20\r\nA.exe\r\nC:\\Apps\\\r\n2026/12/07\r\n\r\n");
}

TEST_F(ZelvoTest, ADropOfMoreThanAHundredThousandFilesIsRefusedWhole) {
  files.AddFile(kLogPath, "2.20\r\nA.exe\r\nC:\\A\\\r\n2026/01/01\r\n\r\n");
  files.AddFile("C:\\Apps\\A.exe");
  app.Start();
  window.list.rows[0].selected = true;
  window.list.current = 0;
  events.SelectionChanged();
  journal.clear();

  FakeDrop drop({"C:\\Apps\\A.exe"});
  drop.listed = 100001;
  events.FilesDropped(DropPlace::NameList, drop);

  EXPECT_EQ(journal, Journal{BoxEntry(expected::TooManyFilesWarning())});
  EXPECT_EQ(dialogs.shown.back(), expected::TooManyFilesWarning());
  EXPECT_EQ(drop.paths_read, 0u);
  EXPECT_EQ(files.Find("C:\\Apps\\A.exe.manifest"), nullptr);
  EXPECT_TRUE(window.list.rows[0].selected) << "the selection was not cleared";

  drop.listed.reset();  // the window still takes the next drop
  events.FilesDropped(DropPlace::NameList, drop);
  EXPECT_NE(files.Find("C:\\Apps\\A.exe.manifest"), nullptr);
}

TEST_F(ZelvoTest, TheUsersSelectionShowsTheCurrentEntry) {
  files.AddFile(kLogPath,
                "2.20\r\nB.exe\r\nC:\\B\\\r\n2026/01/02\r\nA.exe\r\nC:\\A\\\r\n2026/01/01\r\n\r\n");
  app.Start();
  window.list.rows[0].selected = window.list.rows[1].selected = true;
  window.list.current = 1;
  events.SelectionChanged();
  EXPECT_EQ(window.entry, (FakeView::Entry{"B.exe...", "C:\\B\\", "2026/01/02"}));
  EXPECT_EQ(window.actions_enabled, true);
}

TEST_F(ZelvoTest, TheButtonsRunTheirActions) {
  files.AddFile(kLogPath, "2.20\r\nA.exe\r\nC:\\A\\\r\n2026/01/01\r\n\r\n");
  app.Start();
  window.list.rows[0].selected = true;
  window.list.current = 0;
  events.SelectionChanged();
  dialogs.answers = {Answer::Yes};
  events.RemoveClicked();
  EXPECT_TRUE(window.list.rows.empty());
  EXPECT_EQ(window.status, expected::kRemoved);
}

}  // namespace
}  // namespace zelvo::testing
