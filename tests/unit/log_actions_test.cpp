// Restore, remove and launch on the selected log entries, driven as the user drives the window:
// select rows, click, answer the boxes; then the files, the log and the window are examined.
#include "application/log_actions.h"

#include <chrono>
#include <functional>
#include <initializer_list>

#include <gtest/gtest.h>

#include "fakes/rig.h"
#include "model/hand_over.h"
#include "model/manifest_document.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

struct LogActionsTest : ::testing::Test {
  Rig rig;
  LogActions& actions = rig.actions;
  EventRouter& events = rig.events;

  // Five entries whose file order (their keys 0..4) differs from the visible, sorted order:
  // visible row 0 is Alpha.exe (key 1), while row 0 of the hidden lists is zeta.exe's.
  void LoadFive() {
    rig.log.Load({{"zeta.exe", "C:\\Z\\", "2026/01/01"},
                  {"Alpha.exe", "C:\\Program Files\\Alpha\\", "2026/01/02"},
                  {"mid.exe", "D:\\Apps\\", "2026/01/03"},
                  {"beta.exe", "C:\\B\\", "2026/01/04"},
                  {"omega.exe", "C:\\O\\", "2026/01/05"}});
  }

  size_t RowOf(const std::string& name) {
    for (size_t row = 0; row < rig.log.Count(); ++row) {
      if (rig.log.Name(row) == name) return row;
    }
    ADD_FAILURE() << "no row " << name;
    return 0;
  }

  // Selects the rows as the user would, the last one named becoming the current row, and then
  // forgets what the window and the files recorded so far.
  void Select(std::initializer_list<std::string> names) {
    for (const auto& name : names) {
      rig.log.SetSelected(RowOf(name), true);
      rig.log.SetCurrentRow(RowOf(name));
    }
    Forget();
  }

  void Forget() {
    rig.journal.clear();
    rig.dialogs.shown.clear();
    rig.files.calls.clear();
  }

  // The log in visible order: name, folder and date found by the row's key, the key, "*" for a
  // selected row.
  std::vector<std::string> Log() {
    std::vector<std::string> rows;
    for (size_t row = 0; row < rig.log.Count(); ++row) {
      const LogEntry* entry = rig.log.InItemData(rig.log.Key(row));
      rows.push_back(rig.log.Name(row) + " " + (entry ? entry->folder + " " + entry->date : "?") +
                     " #" + std::to_string(rig.log.Key(row)) +
                     (rig.log.IsSelected(row) ? " *" : ""));
    }
    return rows;
  }

  // What the list control shows: its rows, "*" for a selected one.
  std::vector<std::string> Shown() {
    std::vector<std::string> rows;
    for (const auto& row : rig.view.list.rows)
      rows.push_back(row.text + (row.selected ? " *" : ""));
    return rows;
  }

  void ExpectViewDisabledAndEmpty() {
    EXPECT_EQ(rig.view.actions_enabled, false);
    EXPECT_EQ(rig.view.entry, FakeView::Entry{});
  }

  void ExpectButtonsEnabled() { EXPECT_EQ(rig.view.actions_enabled, true); }
};

// --- Every action -------------------------------------------------------------------------

TEST_F(LogActionsTest, EachActionWithoutSelectionOrCurrentRowOnlyShowsItsHint) {
  struct Case {
    std::function<void(EventRouter&)> click;
    std::string hint;
  };
  const Case cases[] = {
      {&EventRouter::RestoreClicked, std::string(expected::kRestoreHint)},
      {&EventRouter::RemoveClicked, std::string(expected::kRemoveHint)},
      {&EventRouter::LaunchClicked, std::string(expected::kLaunchHint)},
  };
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe");
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest");
  const auto before = Log();
  for (const auto& c : cases) {
    // A current row but nothing selected (the user Ctrl+clicked the last selected row away).
    rig.log.SetCurrentRow(RowOf("Alpha.exe"));
    rig.view.actions_enabled.reset();
    Forget();
    c.click(events);
    EXPECT_EQ(rig.journal, (Journal{StatusEntry(c.hint)}));
    EXPECT_FALSE(rig.view.actions_enabled) << "the buttons are not refreshed";

    // A selected row but no current row.
    rig.log.SetSelected(RowOf("Alpha.exe"), true);
    rig.log.SetCurrentRow(std::nullopt);
    rig.view.actions_enabled.reset();
    Forget();
    c.click(events);
    EXPECT_EQ(rig.journal, (Journal{StatusEntry(c.hint)}));
    EXPECT_TRUE(rig.files.calls.empty());
    EXPECT_FALSE(rig.view.actions_enabled);
    rig.log.SetSelected(RowOf("Alpha.exe"), false);
  }
  EXPECT_EQ(Log(), before);
  EXPECT_NE(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe.manifest"), nullptr);
  EXPECT_TRUE(rig.launcher.started.empty());
  EXPECT_FALSE(rig.view.closed);
}

// --- Restore ------------------------------------------------------------------------------

TEST_F(LogActionsTest, RestoreCancelledAtTheCountQuestionChangesNothing) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest");
  Select({"Alpha.exe"});
  rig.view.actions_enabled.reset();
  rig.dialogs.answers = {Answer::No};

  events.RestoreClicked();

  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0], expected::RestoreQuestion(1));
  EXPECT_EQ(rig.journal.back(), StatusEntry(expected::kRestoreCancelled));
  EXPECT_EQ(rig.journal.size(), 2u);
  EXPECT_NE(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe.manifest"), nullptr);
  EXPECT_TRUE(rig.log.IsSelected(RowOf("Alpha.exe")));
  EXPECT_FALSE(rig.view.actions_enabled) << "the buttons are not refreshed";
}

TEST_F(LogActionsTest, RestoreDeletesPresentManifestsAndAsksForMissingOnes) {
  LoadFive();
  // Alpha.exe: its manifest is deleted; a file of that name in the folder of the entry at the
  // same hidden position (zeta.exe's) must survive.
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe", "program");
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest");
  rig.files.AddFile("C:\\Z\\Alpha.exe.manifest");
  // beta.exe: no manifest, dropped (Yes). mid.exe: hidden manifest counts as missing, kept
  // (No). zeta.exe: system manifest counts as missing, dropped (Yes).
  rig.files.AddFile("D:\\Apps\\mid.exe.manifest").hidden = true;
  rig.files.AddFile("C:\\Z\\zeta.exe.manifest").system = true;
  // omega.exe is not selected: its manifest stays.
  rig.files.AddFile("C:\\O\\omega.exe.manifest");
  Select({"Alpha.exe", "beta.exe", "mid.exe", "zeta.exe"});
  rig.dialogs.answers = {Answer::Yes, Answer::Yes, Answer::No, Answer::Yes};

  events.RestoreClicked();

  EXPECT_EQ(rig.journal, (Journal{
                             BoxEntry(expected::RestoreQuestion(4)),
                             StatusEntry(expected::Restoring("Alpha.exe")),
                             StatusEntry(expected::Restored("Alpha.exe")),
                             StatusEntry(expected::Restoring("beta.exe")),
                             BoxEntry(expected::RestoreMissingQuestion("beta.exe")),
                             StatusEntry(expected::DroppedFromList("beta.exe")),
                             StatusEntry(expected::Restoring("mid.exe")),
                             BoxEntry(expected::RestoreMissingQuestion("mid.exe")),
                             StatusEntry(expected::Restoring("zeta.exe")),
                             BoxEntry(expected::RestoreMissingQuestion("zeta.exe")),
                             StatusEntry(expected::DroppedFromList("zeta.exe")),
                             StatusEntry(expected::kRestoreDone),
                         }));
  ASSERT_EQ(rig.dialogs.shown.size(), 4u);
  EXPECT_EQ(rig.dialogs.shown[1], expected::RestoreMissingQuestion("beta.exe"));
  EXPECT_EQ(rig.dialogs.shown[3].default_button, DefaultButton::Second);

  // Only the one manifest was deleted.
  std::vector<std::string> removed;
  for (const auto& call : rig.files.calls) {
    if (call.starts_with("RemoveFile")) removed.push_back(call);
  }
  EXPECT_EQ(removed,
            (std::vector<std::string>{"RemoveFile C:\\Program Files\\Alpha\\Alpha.exe.manifest"}));
  EXPECT_EQ(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe.manifest"), nullptr);
  EXPECT_NE(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe"), nullptr);
  EXPECT_NE(rig.files.Find("C:\\Z\\Alpha.exe.manifest"), nullptr);
  EXPECT_NE(rig.files.Find("D:\\Apps\\mid.exe.manifest"), nullptr);
  EXPECT_NE(rig.files.Find("C:\\Z\\zeta.exe.manifest"), nullptr);
  EXPECT_NE(rig.files.Find("C:\\O\\omega.exe.manifest"), nullptr);

  EXPECT_EQ(Log(), (std::vector<std::string>{"mid.exe D:\\Apps\\ 2026/01/03 #2",
                                             "omega.exe C:\\O\\ 2026/01/05 #4"}));
  EXPECT_EQ(Shown(), (std::vector<std::string>{"mid.exe", "omega.exe"}));
  ExpectViewDisabledAndEmpty();
  EXPECT_TRUE(rig.dialogs.answers.empty());
}

TEST_F(LogActionsTest, RestoreKeepsACopyOfEveryManifestThatIsNotZelvosOwnAndTouchesItsProgram) {
  LoadFive();
  struct Program {
    std::string name, folder, manifest;
    bool link;
    const char* copy;  // in the backup folder, or nullptr for none
  };
  const Program programs[] = {
      {"Alpha.exe", "C:\\Program Files\\Alpha\\", ManifestDocument(ManifestArchitecture::X86),
       false, nullptr},
      {"beta.exe", "C:\\B\\", ManifestDocument(ManifestArchitecture::Any), false, nullptr},
      // Edited by hand: kept, after the copy of the same name that is there already.
      {"mid.exe", "D:\\Apps\\", "edited by hand", false, "mid.exe.manifest.2"},
      // A link leads to a file that stays: nothing of it is lost.
      {"omega.exe", "C:\\O\\", "through a link", true, nullptr},
  };
  rig.files.AddFile("C:\\Tools\\backup\\mid.exe.manifest", "an earlier copy");
  for (const Program& program : programs) {
    rig.files.AddFile(program.folder + program.name, "program");
    rig.files.AddFile(program.folder + program.name + ".manifest", program.manifest).link =
        program.link;
  }
  rig.files.AddFile("C:\\Z\\zeta.exe", "program");  // not selected
  Select({"Alpha.exe", "beta.exe", "mid.exe", "omega.exe"});
  rig.dialogs.answers = {Answer::Yes};

  events.RestoreClicked();

  for (const Program& program : programs) {
    SCOPED_TRACE(program.name);
    EXPECT_EQ(rig.files.Find(program.folder + program.name + ".manifest"), nullptr);
    if (program.copy) {
      EXPECT_EQ(rig.files.Find("C:\\Tools\\backup\\" + std::string(program.copy))->content,
                program.manifest);
    }
    // The program's time is set anew once, so that Windows notices the manifest has gone.
    EXPECT_EQ(rig.files.Find(program.folder + program.name)->touched, 1);
  }
  EXPECT_EQ(rig.files.FilesIn("C:\\Tools\\backup").size(), 2u);
  EXPECT_EQ(rig.files.Find("C:\\Z\\zeta.exe")->touched, 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"zeta.exe C:\\Z\\ 2026/01/01 #0"}));
}

TEST_F(LogActionsTest, AManifestThatCannotBeCopiedOrWhoseTimeCannotBeSetIsNoFailure) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest", "the program's own");
  rig.files.AddFile("C:\\B\\beta.exe", "program");
  rig.files.AddFile("C:\\B\\beta.exe.manifest", ManifestDocument(ManifestArchitecture::X86));
  // Alpha's copy is refused: it stays as it was, as when its delete is refused. beta's time
  // cannot be set: it is restored all the same.
  rig.files.RefuseOn("CopyToNew", "");
  rig.files.RefuseOn("Touch", "C:\\B\\beta.exe");
  Select({"Alpha.exe", "beta.exe"});
  rig.dialogs.answers = {Answer::Yes, Answer::No};

  events.RestoreClicked();

  EXPECT_EQ(
      rig.journal,
      (Journal{BoxEntry(expected::RestoreQuestion(2)),
               StatusEntry(expected::Restoring("Alpha.exe")),
               BoxEntry(expected::RestoreAdministratorQuestion("C:\\Tools\\backup", "Alpha.exe")),
               StatusEntry(expected::Restoring("beta.exe")),
               StatusEntry(expected::Restored("beta.exe")), StatusEntry(expected::kRestoreDone)}));
  EXPECT_EQ(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe.manifest")->content,
            "the program's own");
  EXPECT_EQ(rig.files.Find("C:\\B\\beta.exe.manifest"), nullptr);
  EXPECT_EQ(Log().size(), 4u);
  EXPECT_FALSE(rig.view.closed);
}

TEST_F(LogActionsTest, ARestoreHandedOverHalfwayLeavesWhatItRestoredOutOfTheLog) {
  LoadFive();
  // Alpha.exe is restored here; Windows refuses beta.exe's, and the user wants Zelvo as
  // administrator: there Alpha.exe must not come back, beta.exe and mid.exe are to be restored.
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest",
                    ManifestDocument(ManifestArchitecture::X86));
  rig.files.AddFile("C:\\B\\beta.exe.manifest", ManifestDocument(ManifestArchitecture::X86));
  rig.files.RefuseOn("RemoveFile", "C:\\B\\beta.exe.manifest");
  Select({"Alpha.exe", "beta.exe", "mid.exe"});
  rig.dialogs.answers = {Answer::Yes, Answer::Yes};

  events.RestoreClicked();

  EXPECT_EQ(rig.view.closed, 0);
  ASSERT_EQ(rig.environment.hand_overs.size(), 1u);
  const HandOver hand_over = *ParseHandOver(rig.environment.hand_overs[0]);
  std::vector<std::string> names;
  for (const LogEntry& entry : hand_over.log) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"beta.exe", "mid.exe", "omega.exe", "zeta.exe"}));
  EXPECT_TRUE(hand_over.programs.empty());
  EXPECT_EQ(rig.LogSaves(), 0);
}

TEST_F(LogActionsTest, AProgramThatWouldRunAsAdministratorStartsOnlyWhenTheUserAgrees) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe");
  rig.files.AddFile("C:\\B\\beta.exe");
  rig.launcher.no_user_token = true;
  Select({"Alpha.exe", "beta.exe"});
  rig.dialogs.answers = {Answer::Yes, Answer::No, Answer::Yes};

  events.LaunchClicked();

  EXPECT_EQ(rig.journal,
            (Journal{BoxEntry(expected::LaunchQuestion(2)),
                     BoxEntry(expected::StartAsAdministratorQuestion("Alpha.exe")),
                     StatusEntry(expected::NotRun("Alpha.exe")),
                     BoxEntry(expected::StartAsAdministratorQuestion("beta.exe")),
                     "start: C:\\B\\beta.exe", StatusEntry(expected::Launched("beta.exe")),
                     StatusEntry(expected::kLaunchDone)}));
}

TEST_F(LogActionsTest, RestoreAnsweredNoUnselectsTheRowAndTheViewFollowsAtOnce) {
  LoadFive();
  Select({"beta.exe", "mid.exe", "omega.exe"});
  EXPECT_EQ(rig.view.entry.name, "omega.exe...");
  rig.dialogs.answers = {Answer::Yes, Answer::No, Answer::No, Answer::No};
  // What the window shows while the question for each later entry is up.
  std::vector<std::string> seen;
  rig.dialogs.on_show = [&](const Message&) {
    seen.push_back(rig.view.entry.name + " " +
                   std::to_string(rig.view.actions_enabled.value_or(false)) + " " +
                   std::to_string(rig.view.list.rows[RowOf("beta.exe")].selected));
  };

  events.RestoreClicked();

  // After beta.exe is unselected, two rows are still selected; after mid.exe, one: the name box
  // loses its "..." then. The buttons stay enabled until the last selected row is unselected.
  EXPECT_EQ(seen, (std::vector<std::string>{"omega.exe... 1 1", "omega.exe... 1 1",
                                            "omega.exe... 1 0", "omega.exe 1 0"}));
  // No status text for a No: the next one is the next entry's.
  EXPECT_EQ(rig.journal[2], BoxEntry(expected::RestoreMissingQuestion("beta.exe")));
  EXPECT_EQ(rig.journal[3], StatusEntry(expected::Restoring("mid.exe")));
  EXPECT_EQ(rig.journal.back(), StatusEntry(expected::kRestoreDone));
  EXPECT_EQ(rig.log.Count(), 5u);
  EXPECT_EQ(rig.log.SelectedCount(), 0u);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha.exe", "beta.exe", "mid.exe", "omega.exe",
                                               "zeta.exe"}));
  ExpectViewDisabledAndEmpty();
}

TEST_F(LogActionsTest, RestoreThatCannotDeleteAManifestReportsOnceAndKeepsTheLog) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest");
  rig.files.AddFile("C:\\B\\beta.exe.manifest").read_only = true;
  rig.files.AddFile("C:\\Z\\zeta.exe.manifest");
  Select({"Alpha.exe", "beta.exe", "zeta.exe"});
  const auto before = Log();
  rig.dialogs.answers = {Answer::Yes};

  events.RestoreClicked();

  ASSERT_EQ(rig.dialogs.shown.size(), 2u);
  EXPECT_EQ(rig.dialogs.shown[1], ReportOf("cmdReturn_Click()", Win32Failure(5)));
  EXPECT_EQ(rig.journal[rig.journal.size() - 2], StatusEntry(expected::Restoring("beta.exe")));
  EXPECT_EQ(rig.view.closed, 1);
  // Deleted before the failure stays deleted; no entry has left the log; later ones untouched.
  EXPECT_EQ(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe.manifest"), nullptr);
  EXPECT_NE(rig.files.Find("C:\\B\\beta.exe.manifest"), nullptr);
  EXPECT_NE(rig.files.Find("C:\\Z\\zeta.exe.manifest"), nullptr);
  EXPECT_EQ(Log(), before);
}

TEST_F(LogActionsTest, RestoreWhoseStatusTextFailsEndsWithTheOneReportOfPutInformation) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe.manifest");
  Select({"Alpha.exe"});
  rig.dialogs.answers = {Answer::Yes};
  rig.view.FailOnShowStatus(Win32Failure(1400));

  events.RestoreClicked();

  EXPECT_EQ(rig.view.closed, 1);
  ASSERT_EQ(rig.dialogs.shown.size(), 2u);
  EXPECT_EQ(rig.dialogs.shown[1], ReportOf("PutInformation()", Win32Failure(1400)));
  EXPECT_NE(rig.files.Find("C:\\Program Files\\Alpha\\Alpha.exe.manifest"), nullptr);
  EXPECT_EQ(rig.log.Count(), 5u);
}

// Windows refuses to delete Alpha.exe's manifest for want of rights; beta.exe's goes. The
// program runs elevated or not, and the user answers the question about it.
struct RestoreRefusedCase {
  const char* what;
  bool elevated;
  Answer answer;  // to the question, when not elevated
  bool allowed;   // the elevation prompt, after a Yes
};

void PrintTo(const RestoreRefusedCase& refused, std::ostream* out) { *out << refused.what; }

struct RestoreRefusedTest : LogActionsTest, ::testing::WithParamInterface<RestoreRefusedCase> {
  const std::string alpha_manifest = "C:\\Program Files\\Alpha\\Alpha.exe.manifest";

  void SetUp() override {
    LoadFive();
    rig.files.AddFile(alpha_manifest, "alpha's");
    rig.files.AddFile("C:\\B\\beta.exe.manifest");
    rig.files.RefuseOn("RemoveFile", alpha_manifest);
    Select({"Alpha.exe", "beta.exe"});
    rig.environment.elevated = GetParam().elevated;
    rig.environment.elevation_allowed = GetParam().allowed;
    rig.dialogs.answers = {Answer::Yes};
    if (!GetParam().elevated) rig.dialogs.answers.push_back(GetParam().answer);
  }
};

TEST_P(RestoreRefusedTest, KeepsTheEntryOrStartsAgainAsAdministrator) {
  const RestoreRefusedCase& refused = GetParam();
  const bool restarts = !refused.elevated && refused.answer == Answer::Yes && refused.allowed;
  const Message refusal_box =
      refused.elevated
          ? expected::RefusedWarning("C:\\Program Files\\Alpha", Win32Failure(5).Description(),
                                     expected::kRestoreFailedTitle)
          : expected::RestoreAdministratorQuestion("C:\\Program Files\\Alpha", "Alpha.exe");

  if (restarts) {
    // The program started again as administrator, handed the log (not saved here) and no
    // programs (the user restores again there), and this one ended: nothing else was touched.
    events.RestoreClicked();
    EXPECT_EQ(rig.journal,
              (Journal{BoxEntry(expected::RestoreQuestion(2)),
                       StatusEntry(expected::Restoring("Alpha.exe")), BoxEntry(refusal_box)}));
    EXPECT_EQ(rig.environment.elevated_starts, std::vector<std::vector<std::string>>{{}});
    EXPECT_EQ(ParseHandOver(rig.environment.hand_overs.at(0))->log.size(), 5u);
    EXPECT_EQ(rig.LogSaves(), 0);
    EXPECT_EQ(rig.view.closed, 0);
    EXPECT_NE(rig.files.Find("C:\\B\\beta.exe.manifest"), nullptr);
    EXPECT_EQ(rig.log.Count(), 5u);
    return;
  }

  events.RestoreClicked();

  EXPECT_EQ(
      rig.journal,
      (Journal{BoxEntry(expected::RestoreQuestion(2)),
               StatusEntry(expected::Restoring("Alpha.exe")), BoxEntry(refusal_box),
               StatusEntry(expected::Restoring("beta.exe")),
               StatusEntry(expected::Restored("beta.exe")), StatusEntry(expected::kRestoreDone)}));
  // Alpha.exe keeps its manifest and its entry, unselected; beta.exe has left the log.
  EXPECT_EQ(rig.files.Find(alpha_manifest)->content, "alpha's");
  EXPECT_EQ(rig.files.Find("C:\\B\\beta.exe.manifest"), nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"Alpha.exe C:\\Program Files\\Alpha\\ 2026/01/02 #1",
                                             "mid.exe D:\\Apps\\ 2026/01/03 #2",
                                             "omega.exe C:\\O\\ 2026/01/05 #4",
                                             "zeta.exe C:\\Z\\ 2026/01/01 #0"}));
  const bool asked_to_start = !refused.elevated && refused.answer == Answer::Yes;
  EXPECT_EQ(rig.environment.elevated_starts.size(), asked_to_start ? 1u : 0u);
  EXPECT_FALSE(rig.view.closed);
  ExpectViewDisabledAndEmpty();
}

INSTANTIATE_TEST_SUITE_P(
    EachAnswer, RestoreRefusedTest,
    ::testing::Values(RestoreRefusedCase{"No", false, Answer::No, true},
                      RestoreRefusedCase{"YesDeclined", false, Answer::Yes, false},
                      RestoreRefusedCase{"YesStarted", false, Answer::Yes, true},
                      RestoreRefusedCase{"ElevatedAlready", true, Answer::No, true}));

// --- Remove -------------------------------------------------------------------------------

TEST_F(LogActionsTest, RemoveAnsweredNoKeepsTheSelectionAndRefreshesTheButtons) {
  LoadFive();
  Select({"Alpha.exe", "mid.exe"});
  const auto before = Log();
  rig.view.actions_enabled.reset();
  rig.dialogs.answers = {Answer::No};

  events.RemoveClicked();

  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0], expected::RemoveQuestion(2));
  EXPECT_EQ(rig.journal.back(), StatusEntry(expected::kRemoveCancelled));
  EXPECT_EQ(Log(), before);
  ExpectButtonsEnabled();
}

TEST_F(LogActionsTest, RemoveAnsweredYesTakesEachEntryWithItsOwnFolderAndDate) {
  LoadFive();
  rig.files.AddFile("C:\\B\\beta.exe.manifest");
  // Adjacent visible rows 1 and 2, keys 3 and 2.
  Select({"beta.exe", "mid.exe"});
  rig.dialogs.answers = {Answer::Yes};

  events.RemoveClicked();

  EXPECT_EQ(rig.journal,
            (Journal{BoxEntry(expected::RemoveQuestion(2)), StatusEntry(expected::kRemoved)}));
  EXPECT_EQ(Log(), (std::vector<std::string>{"Alpha.exe C:\\Program Files\\Alpha\\ 2026/01/02 #1",
                                             "omega.exe C:\\O\\ 2026/01/05 #4",
                                             "zeta.exe C:\\Z\\ 2026/01/01 #0"}));
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha.exe", "omega.exe", "zeta.exe"}));
  ExpectViewDisabledAndEmpty();
  // The programs keep their manifests.
  EXPECT_NE(rig.files.Find("C:\\B\\beta.exe.manifest"), nullptr);
  EXPECT_TRUE(rig.files.calls.empty());
}

TEST_F(LogActionsTest, RemoveAllRowsEmptiesTheLog) {
  LoadFive();
  Select({"Alpha.exe", "beta.exe", "mid.exe", "omega.exe", "zeta.exe"});
  rig.dialogs.answers = {Answer::Yes};

  events.RemoveClicked();

  EXPECT_EQ(rig.dialogs.shown.at(0), expected::RemoveQuestion(5));
  EXPECT_TRUE(Log().empty());
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(rig.log.CurrentRow());
  ExpectViewDisabledAndEmpty();
}

TEST_F(LogActionsTest, DeleteLogRemovesOnlySelectedEntriesAndTheViewFollows) {
  LoadFive();
  rig.log.SetCurrentRow(RowOf("mid.exe"));
  const auto before = Log();
  actions.DeleteLog();  // nothing selected
  EXPECT_EQ(Log(), before);
  EXPECT_TRUE(rig.journal.empty());
  EXPECT_TRUE(rig.dialogs.shown.empty());

  Select({"Alpha.exe", "mid.exe"});
  ExpectButtonsEnabled();
  actions.DeleteLog();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"beta.exe", "omega.exe", "zeta.exe"}));
  // No row is selected any more: the buttons are off at once, and the boxes show the row that
  // became current, as after any change of the selection.
  EXPECT_EQ(rig.view.actions_enabled, false);
  EXPECT_EQ(rig.view.entry.name, "omega.exe");
  EXPECT_EQ(rig.view.entry.folder, "C:\\O\\");
  EXPECT_TRUE(rig.journal.empty()) << "DeleteLog shows no status text";
}

TEST_F(LogActionsTest, DeleteLogOnALargeLogKeepsEveryOtherEntryWhole) {
  constexpr size_t kEntries = 100'000;
  std::vector<LogEntry> entries;
  entries.reserve(kEntries);
  // File order is the reverse of the sorted order.
  for (size_t i = kEntries; i-- > 0;) {
    const std::string number = std::to_string(1'000'000 + i);
    entries.push_back({"p" + number + ".exe", "C:\\" + number + "\\", "2026/01/01"});
  }
  rig.log.Load(std::move(entries));
  for (size_t row = 0; row < kEntries; row += 2) rig.log.SetSelected(row, true);
  rig.log.SetCurrentRow(0);

  const auto start = std::chrono::steady_clock::now();
  actions.DeleteLog();
  const auto took = std::chrono::steady_clock::now() - start;
  RecordProperty(
      "DeleteLogMilliseconds",
      std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));

  ASSERT_EQ(rig.log.Count(), kEntries / 2);
  ASSERT_EQ(rig.view.list.rows.size(), kEntries / 2);
  for (size_t row = 0; row < rig.log.Count(); ++row) {
    const std::string number = std::to_string(1'000'000 + 2 * row + 1);
    const LogEntry* entry = rig.log.InItemData(rig.log.Key(row));
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(rig.log.Name(row), "p" + number + ".exe");
    ASSERT_EQ(entry->folder, "C:\\" + number + "\\");
    ASSERT_EQ(rig.log.Key(row), static_cast<int32_t>(kEntries - 2 - 2 * row));
  }
}

// --- Launch -------------------------------------------------------------------------------

TEST_F(LogActionsTest, LaunchQuestionWarnsOnlyForSeveralAndNoStartsNothing) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe");
  rig.files.AddFile("D:\\Apps\\mid.exe");
  Select({"Alpha.exe"});
  rig.dialogs.answers = {Answer::No};
  events.LaunchClicked();
  EXPECT_EQ(rig.journal, (Journal{BoxEntry(expected::LaunchQuestion(1)),
                                  StatusEntry(expected::kLaunchCancelled)}));
  EXPECT_EQ(rig.dialogs.shown.at(0), expected::LaunchQuestion(1));

  Select({"mid.exe"});
  rig.dialogs.answers = {Answer::No};
  events.LaunchClicked();
  EXPECT_EQ(rig.dialogs.shown.at(0), expected::LaunchQuestion(2));
  EXPECT_EQ(rig.journal.back(), StatusEntry(expected::kLaunchCancelled));
  EXPECT_TRUE(rig.launcher.started.empty());
  EXPECT_TRUE(rig.files.calls.empty());
}

TEST_F(LogActionsTest, LaunchHandlesEachSelectedEntryInVisibleOrderAndChangesNothing) {
  // File order: refused, gone, Alpha, unselected, notes, hidden; sorted, Alpha.EXE comes first
  // while row 0 of the hidden lists is refused.exe's folder.
  rig.log.Load({{"refused.exe", "C:\\R\\", "2026/02/01"},
                {"gone.exe", "C:\\G\\", "2026/02/02"},
                {"Alpha.EXE", "C:\\Program Files\\Alpha\\", "2026/02/03"},
                {"unselected.exe", "C:\\U\\", "2026/02/04"},
                {"notes.txt", "C:\\Docs\\", "2026/02/05"},
                {"hidden.exe", "C:\\H\\", "2026/02/06"}});
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.EXE");
  rig.files.AddFile("C:\\R\\refused.exe");
  rig.files.AddFile("C:\\R\\Alpha.EXE");  // a decoy where pairing by position would look
  rig.files.AddFile("C:\\U\\unselected.exe");
  rig.files.AddFile("C:\\Docs\\notes.txt");
  rig.files.AddFile("C:\\H\\hidden.exe").hidden = true;
  rig.launcher.refused.insert("C:\\R\\refused.exe");
  Select({"Alpha.EXE", "gone.exe", "hidden.exe", "notes.txt", "refused.exe"});
  const auto before = Log();
  const auto current = rig.log.CurrentRow();
  rig.view.actions_enabled.reset();
  rig.dialogs.answers = {Answer::Yes};

  events.LaunchClicked();

  EXPECT_EQ(rig.journal, (Journal{
                             BoxEntry(expected::LaunchQuestion(5)),
                             "start: C:\\Program Files\\Alpha\\Alpha.EXE",
                             StatusEntry(expected::Launched("Alpha.EXE")),
                             StatusEntry(expected::NotRun("gone.exe")),
                             BoxEntry(expected::NotFoundNotice("gone.exe")),
                             StatusEntry(expected::NotRun("hidden.exe")),
                             BoxEntry(expected::NotFoundNotice("hidden.exe")),
                             BoxEntry(expected::NotExecutableNotice("notes.txt")),
                             StatusEntry(expected::NotRun("notes.txt")),
                             "start: C:\\R\\refused.exe",
                             StatusEntry(expected::LaunchFailed("refused.exe")),
                             BoxEntry(expected::LaunchFailedNotice("refused.exe")),
                             StatusEntry(expected::kLaunchDone),
                         }));
  ASSERT_EQ(rig.dialogs.shown.size(), 5u);
  EXPECT_EQ(rig.dialogs.shown[4], expected::LaunchFailedNotice("refused.exe"));
  for (size_t box = 1; box < 5; ++box) {
    EXPECT_EQ(rig.dialogs.shown[box].buttons, Buttons::Ok) << box;
    EXPECT_EQ(rig.dialogs.shown[box].icon, Icon::Warning) << box;
    EXPECT_EQ(rig.dialogs.shown[box].title, expected::kLaunchFailedTitle) << box;
  }
  // Started by its exact path, in its own folder.
  EXPECT_EQ(rig.launcher.started,
            (std::vector<std::pair<std::string, std::string>>{
                {"C:\\Program Files\\Alpha\\Alpha.EXE", "C:\\Program Files\\Alpha\\"}}));
  // A file that is no program is not even looked up.
  for (const auto& call : rig.files.calls) EXPECT_EQ(call.find("notes.txt"), std::string::npos);
  // The log, its selection and the buttons stay as they were.
  EXPECT_EQ(Log(), before);
  EXPECT_EQ(rig.log.CurrentRow(), current);
  EXPECT_FALSE(rig.view.actions_enabled);
}

TEST_F(LogActionsTest, LaunchWhoseStatusTextFailsEndsBeforeTheNextProgram) {
  LoadFive();
  rig.files.AddFile("C:\\Program Files\\Alpha\\Alpha.exe");
  rig.files.AddFile("C:\\B\\beta.exe");
  Select({"Alpha.exe", "beta.exe"});
  rig.dialogs.answers = {Answer::Yes};
  rig.view.FailOnShowStatus(Win32Failure(1400));

  events.LaunchClicked();

  EXPECT_EQ(rig.view.closed, 1);
  ASSERT_EQ(rig.dialogs.shown.size(), 2u);
  EXPECT_EQ(rig.dialogs.shown[1], ReportOf("PutInformation()", Win32Failure(1400)));
  EXPECT_EQ(rig.launcher.started.size(), 1u);
}

// --- Open folder and copy path (the list's context menu) ------------------------------------

TEST_F(LogActionsTest, OpenFolderShowsEachFolderOnceWithItsProgramsAndTellsOfMissingOnes) {
  rig.log.Load({{"b.exe", "C:\\Apps\\", "2026/04/01"},
                {"gone.exe", "C:\\Apps\\", "2026/04/02"},
                {"c.exe", "D:\\Other\\", "2026/04/03"},
                {"a.exe", "C:\\Apps\\", "2026/04/04"},
                {"hidden.exe", "D:\\Other\\", "2026/04/05"},
                {"..\\x.exe", "C:\\Apps\\", "2026/04/06"},
                {"unselected.exe", "E:\\U\\", "2026/04/07"}});
  for (const char* path : {"C:\\Apps\\a.exe", "C:\\Apps\\b.exe", "D:\\Other\\c.exe", "C:\\x.exe",
                           "E:\\U\\unselected.exe"}) {
    rig.files.AddFile(path, "program");
  }
  rig.files.AddFile("D:\\Other\\hidden.exe", "program").hidden = true;
  Select({"..\\x.exe", "b.exe", "gone.exe", "hidden.exe", "c.exe", "a.exe"});
  const auto before = Log();

  events.OpenFolderClicked();

  // In visible order: the notices for what is not there (an entry that names no one file, a
  // program gone, a hidden file as the launch sees them), then one window for each folder with
  // its programs.
  EXPECT_EQ(rig.journal, (Journal{
                             BoxEntry(expected::NotFoundNotice("..\\x.exe")),
                             BoxEntry(expected::NotFoundNotice("gone.exe")),
                             BoxEntry(expected::NotFoundNotice("hidden.exe")),
                             "show: C:\\Apps\\ | a.exe b.exe",
                             StatusEntry(expected::FolderOpened("a.exe")),
                             "show: D:\\Other\\ | c.exe",
                             StatusEntry(expected::FolderOpened("c.exe")),
                         }));
  EXPECT_EQ(rig.dialogs.shown.at(0), expected::NotFoundNotice("..\\x.exe"));
  EXPECT_EQ(Log(), before);
  EXPECT_TRUE(rig.launcher.started.empty());
  for (const auto& call : rig.files.calls) EXPECT_TRUE(call.starts_with("Look ")) << call;
  EXPECT_FALSE(rig.view.closed);
}

TEST_F(LogActionsTest, OpenFolderOpensNoMoreThanTenFolders) {
  std::vector<LogEntry> entries;
  for (int i = 10; i < 22; ++i) {
    const std::string folder = "C:\\" + std::to_string(i) + "\\";
    entries.push_back({"p" + std::to_string(i) + ".exe", folder, "2026/04/01"});
    rig.files.AddFile(folder + entries.back().name, "program");
  }
  rig.log.Load(entries);
  rig.log.SetAllSelected(true);
  rig.log.SetCurrentRow(0);
  Forget();

  events.OpenFolderClicked();

  Journal shown;
  for (const auto& entry : rig.journal) {
    if (entry.starts_with("show: ")) shown.push_back(entry);
  }
  ASSERT_EQ(shown.size(), kMostFoldersOpened);
  EXPECT_EQ(shown.front(), "show: C:\\10\\ | p10.exe");
  EXPECT_EQ(shown.back(), "show: C:\\19\\ | p19.exe");
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(LogActionsTest, CopyPathPutsTheSelectedPathsOneALineInVisibleOrder) {
  LoadFive();
  Select({"zeta.exe", "Alpha.exe", "mid.exe"});
  const auto before = Log();

  events.CopyPathClicked();

  EXPECT_EQ(rig.clipboard.text,
            "C:\\Program Files\\Alpha\\Alpha.exe\r\nD:\\Apps\\mid.exe\r\nC:\\Z\\zeta.exe");
  EXPECT_EQ(rig.journal.back(), StatusEntry(expected::PathsCopied(3)));
  EXPECT_EQ(rig.journal.size(), 2u);
  EXPECT_TRUE(rig.files.calls.empty()) << "copying a path touches no file";
  EXPECT_EQ(Log(), before);

  // One program: its path alone, without a line end, as a Run box or a command line takes it.
  rig.log.SetAllSelected(false);
  Select({"beta.exe"});
  events.CopyPathClicked();
  EXPECT_EQ(rig.clipboard.text, "C:\\B\\beta.exe");
  EXPECT_EQ(rig.journal.back(), StatusEntry(expected::PathsCopied(1)));
}

TEST_F(LogActionsTest, TheMenusOwnItemsNeedASelectionAndReportFailuresUnderTheirOwnNames) {
  struct Case {
    std::function<void(EventRouter&)> click;
    std::function<std::optional<Failure>&(Rig&)> failure_of;  // the fake's next failure
    const char* source;
  };
  const Case cases[] = {
      {&EventRouter::OpenFolderClicked,
       [](Rig& r) -> std::optional<Failure>& { return r.shell.failure; }, "mnuOpenFolder_Click()"},
      {&EventRouter::CopyPathClicked,
       [](Rig& r) -> std::optional<Failure>& { return r.clipboard.failure; },
       "mnuCopyPath_Click()"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    Rig fresh;
    fresh.log.Load({{"a.exe", "C:\\A\\", "2026/04/01"}});
    fresh.files.AddFile("C:\\A\\a.exe", "program");
    // A current row, but nothing selected: nothing to show or copy, and no hint either.
    fresh.log.SetCurrentRow(0);
    c.click(fresh.events);
    EXPECT_TRUE(fresh.journal.empty());

    fresh.log.SetSelected(0, true);
    c.failure_of(fresh) = Win32Failure(5);
    c.click(fresh.events);
    EXPECT_EQ(fresh.journal, (Journal{BoxEntry(ReportOf(c.source, Win32Failure(5)))}));
    EXPECT_EQ(fresh.view.closed, 1);
  }
}

// The log file lies beside the tool, where any program of the user may edit it. An entry that
// names no one file as the program writes entries (a relative folder, which the current folder
// would complete; a name that climbs out of its folder; a device or \\?\ folder; a folder
// that Windows would take as another) is not found: no file of the name it stands for is
// deleted or started, though one stands there.
TEST_F(LogActionsTest, EntriesThatNameNoOneFileAreNotFoundForRestoreOrLaunch) {
  const std::vector<LogEntry> untrusted = {
      {"bare.exe", "", "2026/03/01"},
      {"relative.exe", "apps\\", "2026/03/02"},
      {"rooted.exe", "\\apps\\", "2026/03/03"},
      {"drive.exe", "C:apps\\", "2026/03/04"},
      {"..\\victim\\v.exe", "C:\\apps\\", "2026/03/06"},
      {"device.exe", "\\\\?\\C:\\apps\\", "2026/03/07"},
      {"pipe.exe", "\\\\.\\C:\\apps\\", "2026/03/08"},
      {"climb.exe", "C:\\apps\\..\\apps\\", "2026/03/09"},
      {"slash.exe", "C:/apps/", "2026/03/10"},
      {"dot.exe.", "C:\\apps\\", "2026/03/11"},
  };
  std::vector<LogEntry> entries = untrusted;
  entries.push_back({"full.exe", "C:\\apps\\", "2026/03/05"});
  rig.log.Load(entries);
  for (const LogEntry& entry : entries) {
    rig.files.AddFile(entry.folder + entry.name, "program");
    rig.files.AddFile(entry.folder + entry.name + ".manifest",
                      ManifestDocument(ManifestArchitecture::X86));
  }
  rig.log.SetAllSelected(true);
  rig.log.SetCurrentRow(0);
  std::vector<std::string> unnamed;  // in visible order
  for (size_t row = 0; row < rig.log.Count(); ++row) {
    if (rig.log.Name(row) != "full.exe") unnamed.push_back(rig.log.Name(row));
  }
  rig.dialogs.answers = {Answer::Yes};

  events.LaunchClicked();

  EXPECT_EQ(
      rig.launcher.started,
      (std::vector<std::pair<std::string, std::string>>{{"C:\\apps\\full.exe", "C:\\apps\\"}}));
  ASSERT_EQ(rig.dialogs.shown.size(), 1 + unnamed.size());
  for (size_t index = 0; index < unnamed.size(); ++index) {
    // A name that does not end in .exe is no program to start before anything else.
    const std::string& name = unnamed[index];
    EXPECT_EQ(rig.dialogs.shown[1 + index], name.ends_with(".exe")
                                                ? expected::NotFoundNotice(name)
                                                : expected::NotExecutableNotice(name));
  }

  Forget();
  rig.dialogs.answers = {Answer::Yes};
  rig.dialogs.answers.insert(rig.dialogs.answers.end(), unnamed.size(), Answer::No);
  events.RestoreClicked();

  // Only the manifest of the one entry that names a file was looked at and deleted.
  for (const auto& call : rig.files.calls) {
    if (call.starts_with("Look") || call.starts_with("RemoveFile")) {
      EXPECT_NE(call.find("C:\\apps\\full.exe.manifest"), std::string::npos) << call;
    }
  }
  EXPECT_EQ(rig.files.Find("C:\\apps\\full.exe.manifest"), nullptr);
  ASSERT_EQ(rig.dialogs.shown.size(), 1 + unnamed.size());
  for (size_t index = 0; index < unnamed.size(); ++index) {
    EXPECT_EQ(rig.dialogs.shown[1 + index], expected::RestoreMissingQuestion(unnamed[index]));
  }
  for (const LogEntry& entry : untrusted) {
    EXPECT_NE(rig.files.Find(entry.folder + entry.name + ".manifest"), nullptr) << entry.name;
  }
}

}  // namespace
}  // namespace zelvo::testing
