// Programs named on the command line or dropped on the window, through the real apply procedure
// and the fakes: what is applied, in which order, and what the status line says.
#include "application/program_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "fakes/fakes.h"
#include "fakes/rig.h"
#include "model/hand_over.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

std::string Applied(const std::string& name) { return StatusEntry(expected::AppliedStatus(name)); }
std::string Cancelled(const std::string& name) {
  return StatusEntry(expected::CancelledStatus(name));
}

TEST(ArgumentText, FollowsTheProgramNameAndItsBlanks) {
  EXPECT_EQ(ArgumentText("\"C:\\Tools\\zelvo.exe\" C:\\a.exe"), "C:\\a.exe");
  EXPECT_EQ(ArgumentText("\"C:\\My Tools\\zelvo.exe\"  \t \"C:\\a b.exe\" x"), "\"C:\\a b.exe\" x");
  EXPECT_EQ(ArgumentText("C:\\Tools\\zelvo.exe\tC:\\a.exe "), "C:\\a.exe ");
  EXPECT_EQ(ArgumentText("zelvo C:\\a.exe"), "C:\\a.exe");
  // A quoted name ends at its closing quote even without a blank after it.
  EXPECT_EQ(ArgumentText("\"zelvo.exe\"C:\\a.exe"), "C:\\a.exe");
  EXPECT_EQ(ArgumentText("\"C:\\Tools\\zelvo.exe\""), "");
  EXPECT_EQ(ArgumentText("\"C:\\Tools\\zelvo.exe\"   "), "");
  EXPECT_EQ(ArgumentText("\"C:\\Tools\\zelvo.exe"), "");
  EXPECT_EQ(ArgumentText("zelvo.exe"), "");
  EXPECT_EQ(ArgumentText(""), "");
}

TEST(SplitArguments, EveryShapeOfCommandLine) {
  using Paths = std::vector<std::string>;
  // The two forms of old: all quoted, or none.
  EXPECT_EQ(SplitArguments("\"C:\\a.exe\" \"C:\\Program Files\\b.exe\""),
            (Paths{"C:\\a.exe", "C:\\Program Files\\b.exe"}));
  EXPECT_EQ(SplitArguments("C:\\a.exe C:\\b.exe"), (Paths{"C:\\a.exe", "C:\\b.exe"}));
  EXPECT_EQ(SplitArguments("\"C:\\Program Files\\b.exe\""), Paths{"C:\\Program Files\\b.exe"});
  // Explorer quotes only the paths that hold a blank.
  EXPECT_EQ(SplitArguments("C:\\a.exe \"C:\\Program Files\\b.exe\""),
            (Paths{"C:\\a.exe", "C:\\Program Files\\b.exe"}));
  EXPECT_EQ(SplitArguments("\"C:\\Program Files\\b.exe\" C:\\a.exe"),
            (Paths{"C:\\Program Files\\b.exe", "C:\\a.exe"}));
  // Blanks never make an empty path.
  EXPECT_EQ(SplitArguments(""), Paths{});
  EXPECT_EQ(SplitArguments("   "), Paths{});
  EXPECT_EQ(SplitArguments(" \t "), Paths{});
  EXPECT_EQ(SplitArguments("\"\""), Paths{});
  EXPECT_EQ(SplitArguments("C:\\a.exe  C:\\b.exe"), (Paths{"C:\\a.exe", "C:\\b.exe"}));
  EXPECT_EQ(SplitArguments("C:\\a.exe\tC:\\b.exe "), (Paths{"C:\\a.exe", "C:\\b.exe"}));
  EXPECT_EQ(SplitArguments(" C:\\a.exe"), Paths{"C:\\a.exe"});
  // Quotes group wherever they stand; a backslash before a quote escapes nothing.
  EXPECT_EQ(SplitArguments("C:\\\"Program Files\"\\b.exe"), Paths{"C:\\Program Files\\b.exe"});
  EXPECT_EQ(SplitArguments("\"C:\\Program Files\\\" C:\\b.exe"),
            (Paths{"C:\\Program Files\\", "C:\\b.exe"}));
  EXPECT_EQ(SplitArguments("\\\\server\\share\\c.exe"), Paths{"\\\\server\\share\\c.exe"});
  // An unclosed quote runs to the end.
  EXPECT_EQ(SplitArguments("\"C:\\Program Files\\b.exe"), Paths{"C:\\Program Files\\b.exe"});
}

const std::string kBigApp = "C:\\Program Files\\Big App\\b.exe";
using Starts = std::vector<std::vector<std::string>>;

struct ProgramBatchTest : ::testing::Test {
  Rig rig;
  ProgramBatch& batch = rig.batch;

  // Runs the batch as the window's event runs it: a failure is reported, and Failed comes back.
  enum class Ending { Done, HandedOver, Failed };
  template <class Body>
  Ending Run(Body body) {
    BatchEnd end = BatchEnd::Done;
    if (!rig.Event([&] { end = body(); })) return Ending::Failed;
    return end == BatchEnd::Done ? Ending::Done : Ending::HandedOver;
  }
  Ending CommandLine(const std::string& text) {
    return Run([&] { return batch.ApplyCommandLine(text); });
  }
  Ending Drop(const std::vector<std::string>& files) {
    return Run([&] { return batch.ApplyDroppedFiles(files); });
  }

  ProgramBatchTest() { ResetFiles(); }

  // Three programs without manifests, and nothing else.
  void ResetFiles() {
    FakeFileSystem fresh;
    std::swap(rig.files, fresh);
    rig.files.AddFolder("C:\\Tools");
    rig.files.AddFile("C:\\Apps\\a.exe");
    rig.files.AddFile("C:\\Program Files\\Big App\\b.exe");
    rig.files.AddFile("C:\\Apps\\c.exe");
  }

  // An entry from an earlier run, selected and current.
  void SelectAnOldEntry() {
    rig.log.Load({{"old.exe", "C:\\Old\\", "2020/01/01"}});
    rig.log.SetCurrentRow(0);
    rig.log.SetSelected(0, true);
    rig.journal.clear();
  }

  bool HasManifest(const std::string& program) {
    return rig.files.Find(program + ".manifest") != nullptr;
  }

  // The names of the selected rows, in visible order.
  std::vector<std::string> SelectedNames() {
    std::vector<std::string> names;
    for (size_t row : rig.log.SelectedRows()) names.push_back(rig.log.Name(row));
    return names;
  }
};

TEST_F(ProgramBatchTest, EveryShapeOfCommandLineAppliesThePathsInOrder) {
  struct Shape {
    const char* what;
    std::string text;
    Journal statuses;
  };
  const Shape shapes[] = {
      {"all quoted",
       "\"C:\\Apps\\a.exe\" \"C:\\Program Files\\Big App\\b.exe\"",
       {Applied("a.exe"), Applied("b.exe")}},
      {"none quoted", "C:\\Apps\\c.exe C:\\Apps\\a.exe", {Applied("c.exe"), Applied("a.exe")}},
      {"as Explorer writes it",
       "C:\\Apps\\a.exe \"C:\\Program Files\\Big App\\b.exe\"",
       {Applied("a.exe"), Applied("b.exe")}},
      {"first quoted, then not",
       "\"C:\\Program Files\\Big App\\b.exe\" C:\\Apps\\c.exe",
       {Applied("b.exe"), Applied("c.exe")}},
      {"two blanks", "C:\\Apps\\a.exe  C:\\Apps\\c.exe", {Applied("a.exe"), Applied("c.exe")}},
      {"trailing blank", "C:\\Apps\\a.exe ", {Applied("a.exe")}},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.what);
    ResetFiles();
    rig.journal.clear();
    rig.log.Load({});
    EXPECT_EQ(CommandLine(shape.text), Ending::Done);
    EXPECT_EQ(rig.journal, shape.statuses);
    EXPECT_EQ(rig.log.Count(), shape.statuses.size());
    EXPECT_EQ(rig.log.SelectedCount(), shape.statuses.size());
  }
  EXPECT_TRUE(HasManifest("C:\\Apps\\a.exe"));
  EXPECT_FALSE(HasManifest("C:\\Apps\\c.exe"));
  EXPECT_EQ(rig.view.status, expected::AppliedStatus("a.exe"));
}

TEST_F(ProgramBatchTest, NothingOnTheCommandLineDoesNothingAtAll) {
  for (const std::string text : {"", " ", "   ", "\t", "\"\""}) {
    SCOPED_TRACE(text);
    SelectAnOldEntry();
    rig.files.calls.clear();
    rig.view.actions_enabled.reset();
    EXPECT_EQ(CommandLine(text), Ending::Done);
    EXPECT_TRUE(rig.journal.empty());
    EXPECT_TRUE(rig.files.calls.empty());
    EXPECT_FALSE(rig.view.actions_enabled);
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"old.exe"});
  }
}

TEST_F(ProgramBatchTest, TheOldSelectionIsClearedOnceAndTheBatchStaysSelected) {
  SelectAnOldEntry();
  EXPECT_EQ(CommandLine("C:\\Apps\\c.exe C:\\Apps\\a.exe"), Ending::Done);
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"a.exe", "c.exe"}));
  EXPECT_EQ(rig.view.entry.name, "a.exe...");

  EXPECT_EQ(Drop({"C:\\Program Files\\Big App\\b.exe"}), Ending::Done);
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"b.exe"});
  EXPECT_EQ(rig.view.entry.name, "b.exe");
}

TEST_F(ProgramBatchTest, MissingAndDeclinedProgramsAreCancelled) {
  rig.files.AddFile("C:\\Apps\\readme.txt");
  rig.dialogs.answers = {Answer::No};
  EXPECT_EQ(CommandLine("C:\\Apps\\gone.exe C:\\Apps\\readme.txt C:\\Apps\\a.exe"), Ending::Done);
  ASSERT_EQ(rig.journal.size(), 5u);
  EXPECT_EQ(rig.journal[1], Cancelled(""));  // nothing there: the text starts with the space
  EXPECT_EQ(rig.journal[1], StatusEntry(expected::CancelledStatus("")));
  EXPECT_EQ(rig.journal[3], Cancelled("readme.txt"));
  EXPECT_EQ(rig.journal[4], Applied("a.exe"));
  EXPECT_EQ(rig.log.Count(), 1u);
}

TEST_F(ProgramBatchTest, TheStatusLineSaysWhatHappenedToEachProgram) {
  struct Case {
    const char* language;
    std::string dropped;
    std::deque<Answer> answers;
    std::string status;  // of the program, which was not applied
  };
  // A shortcut whose program is gone, a program Windows refuses to change, one that cannot be
  // read, one whose old manifest is a link, and one the user said No to.
  const Case cases[] = {
      {"ja", "C:\\Links\\gone.lnk", {}, expected::MissingStatus("gone.lnk")},
      {"ja", kBigApp, {}, expected::RefusedStatus("b.exe")},
      {"ja", "C:\\Apps\\c.exe", {}, expected::UnreadableStatus("c.exe")},
      {"ja", "C:\\Apps\\a.exe", {Answer::Yes}, expected::LinkedManifestStatus("a.exe")},
      {"ja", "C:\\Apps\\readme.txt", {Answer::No}, expected::CancelledStatus("readme.txt")},
      {"en", "C:\\Links\\gone.lnk", {}, expected::english::MissingStatus()},
      {"en", kBigApp, {}, expected::english::RefusedStatus("b.exe")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    Rig fresh(c.language);
    fresh.files.AddFile("C:\\Links\\gone.lnk");
    fresh.shortcuts.targets["C:\\Links\\gone.lnk"] = "C:\\Apps\\gone.exe";
    fresh.files.AddFile("C:\\Apps\\a.exe");
    fresh.files.AddFile("C:\\Apps\\a.exe.manifest", "old").link = true;
    fresh.files.AddFile(kBigApp);
    fresh.files.RefuseOn("WriteFile", kBigApp + ".manifest");
    fresh.files.AddFile("C:\\Apps\\c.exe");
    fresh.files.FailOn("OpenProgram", "C:\\Apps\\c.exe", Win32Failure(32));
    fresh.files.AddFile("C:\\Apps\\readme.txt");
    fresh.environment.elevated = true;
    fresh.dialogs.answers = c.answers;
    EXPECT_TRUE(fresh.Event([&] { (void)fresh.batch.ApplyDroppedFiles({c.dropped}); }));
    EXPECT_EQ(fresh.view.status, c.status);
    EXPECT_TRUE(fresh.dialogs.answers.empty());
  }
}

TEST_F(ProgramBatchTest, TheNameIsShownAsStoredOnDisk) {
  rig.files.AddShortName("C:\\PROGRA~1\\BIGAPP~1\\B.EXE", "C:\\Program Files\\Big App\\b.exe");
  EXPECT_EQ(CommandLine("c:\\apps\\A.EXE C:\\PROGRA~1\\BIGAPP~1\\B.EXE"), Ending::Done);
  EXPECT_EQ(rig.journal, (Journal{Applied("a.exe"), Applied("b.exe")}));
}

TEST_F(ProgramBatchTest, AShortcutIsNamedByItsTargetOnTheCommandLineAndByItselfWhenDropped) {
  rig.files.AddFile("C:\\Links\\Foo.lnk");
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.shortcuts.targets["C:\\Links\\Foo.lnk"] = "C:\\Apps\\Foo.exe";

  EXPECT_EQ(CommandLine("C:\\Links\\Foo.lnk"), Ending::Done);
  ASSERT_EQ(rig.journal.size(), 2u);  // the shortcut notice, then the status
  EXPECT_EQ(rig.journal[1], Applied("Foo.exe"));

  rig.journal.clear();
  ASSERT_TRUE(rig.files.RemoveFile("C:\\Apps\\Foo.exe.manifest").Made());
  EXPECT_EQ(Drop({"C:\\Links\\Foo.lnk"}), Ending::Done);
  ASSERT_EQ(rig.journal.size(), 2u);
  EXPECT_EQ(rig.journal[1], Applied("Foo.lnk"));
  EXPECT_EQ(rig.log.Count(), 2u);
  EXPECT_EQ(rig.log.Name(0), "Foo.exe");
  EXPECT_EQ(rig.log.Name(1), "Foo.exe");
}

TEST_F(ProgramBatchTest, ADropIsAppliedInTheOrderOfItsFiles) {
  EXPECT_EQ(Drop({"C:\\Apps\\c.exe", "C:\\Apps\\a.exe", "C:\\Program Files\\Big App\\b.exe"}),
            Ending::Done);
  EXPECT_EQ(rig.journal, (Journal{Applied("c.exe"), Applied("a.exe"), Applied("b.exe")}));
  EXPECT_EQ(rig.view.status, expected::AppliedStatus("b.exe"));
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"a.exe", "b.exe", "c.exe"}));
}

TEST_F(ProgramBatchTest, AFailedProgramStopsTheDropWithOneReport) {
  const Failure denied = Win32Failure(5);
  rig.files.FailOn("WriteFile", "C:\\Program Files\\Big App\\b.exe.manifest", denied);
  EXPECT_EQ(Drop({"C:\\Apps\\a.exe", "C:\\Program Files\\Big App\\b.exe", "C:\\Apps\\c.exe"}),
            Ending::Failed);
  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReportOf("ApplyZelvo()", denied)});
  EXPECT_EQ(rig.journal.front(), Applied("a.exe"));
  EXPECT_EQ(rig.journal.size(), 2u);  // no status after the failure
  EXPECT_TRUE(HasManifest("C:\\Apps\\a.exe"));
  EXPECT_FALSE(HasManifest("C:\\Apps\\c.exe"));
  EXPECT_EQ(rig.log.Count(), 1u);
}

TEST_F(ProgramBatchTest, AFailedProgramStopsTheCommandLine) {
  const Failure denied = Win32Failure(5);
  rig.files.FailOn("WriteFile", "C:\\Apps\\a.exe.manifest", denied);
  EXPECT_EQ(CommandLine("C:\\Apps\\a.exe C:\\Apps\\c.exe"), Ending::Failed);
  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReportOf("ApplyZelvo()", denied)});
  EXPECT_FALSE(HasManifest("C:\\Apps\\c.exe"));
  EXPECT_EQ(rig.journal.size(), 1u);
}

TEST_F(ProgramBatchTest, AFailedStatusLineDoesNotStopTheBatch) {
  const Failure failure = Win32Failure(1400);
  rig.view.FailOnShowStatus(failure);
  EXPECT_EQ(Drop({"C:\\Apps\\a.exe", "C:\\Apps\\c.exe"}), Ending::Done);
  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReportOf("PutInformation()", failure)});
  EXPECT_TRUE(HasManifest("C:\\Apps\\c.exe"));
  EXPECT_EQ(rig.view.status, expected::AppliedStatus("c.exe"));

  rig.dialogs.shown.clear();
  rig.view.FailOnShowStatus(failure);
  EXPECT_EQ(CommandLine("\"C:\\Program Files\\Big App\\b.exe\""), Ending::Done);
  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReportOf("PutInformation()", failure)});
  EXPECT_TRUE(HasManifest("C:\\Program Files\\Big App\\b.exe"));
}

TEST_F(ProgramBatchTest, AFailureOfTheBatchItselfNamesIt) {
  // The rest of the batch cannot be made into paths for Zelvo as administrator.
  const Failure failure = Win32Failure(1155);
  for (const bool dropped : {true, false}) {
    SCOPED_TRACE(dropped ? "dropped" : "command line");
    ResetFiles();
    rig.dialogs.shown.clear();
    rig.files.RefuseOn("WriteFile", kBigApp + ".manifest");
    rig.files.FailOn("PathForAnyAccount", "", failure);
    rig.dialogs.answers = {Answer::Yes};
    const Ending ending = dropped ? Drop({kBigApp, "C:\\Apps\\a.exe"})
                                  : CommandLine("\"" + kBigApp + "\" C:\\Apps\\a.exe");
    EXPECT_EQ(ending, Ending::Failed);
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1],
              ReportOf(dropped ? "ApplyZelvoDropFile()" : "GetCommandLine()", failure));
    EXPECT_FALSE(HasManifest("C:\\Apps\\a.exe"));
  }
}

TEST_F(ProgramBatchTest, EachPathIsLookedAtOnceAndEachImageOpenedOnce) {
  rig.files.AddFile("C:\\Apps\\a.exe.manifest", "old");
  rig.files.AddFile("C:\\Links\\c.lnk");
  rig.shortcuts.targets["C:\\Links\\c.lnk"] = "C:\\Apps\\c.exe";
  rig.dialogs.answers = {Answer::Yes};
  rig.files.calls.clear();

  EXPECT_EQ(Drop({"C:\\Apps\\a.exe", "C:\\Links\\c.lnk"}), Ending::Done);

  const auto calls = [&](const std::string& call) {
    return std::count(rig.files.calls.begin(), rig.files.calls.end(), call);
  };
  for (const char* path : {"C:\\Apps\\a.exe", "C:\\Apps\\a.exe.manifest", "C:\\Links\\c.lnk",
                           "C:\\Apps\\c.exe", "C:\\Apps\\c.exe.manifest"}) {
    EXPECT_EQ(calls("Look " + std::string(path)), 1) << path;
  }
  EXPECT_EQ(calls("OpenProgram C:\\Apps\\a.exe"), 1);
  EXPECT_EQ(calls("OpenProgram C:\\Apps\\c.exe"), 1);
  EXPECT_EQ(rig.journal.back(), Applied("c.lnk"));
}

TEST_F(ProgramBatchTest, ADropWithoutFilesOnlyClearsTheSelection) {
  SelectAnOldEntry();
  EXPECT_EQ(Drop({}), Ending::Done);
  EXPECT_TRUE(SelectedNames().empty());
  EXPECT_TRUE(rig.journal.empty());
  EXPECT_EQ(rig.view.actions_enabled, false);
}

// --- Folders that Windows refuses to change ----------------------------------------------------

TEST_F(ProgramBatchTest, ARefusedProgramStartsTheRestOfTheBatchAsAdministratorAndEnds) {
  rig.files.RefuseOn("WriteFile", kBigApp + ".manifest");
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(Drop({"C:\\Apps\\a.exe", kBigApp, "C:\\Apps\\c.exe"}), Ending::HandedOver);

  // This program and the ones after it, as dropped, with the log (a.exe's entry included):
  // the new Zelvo owns the log from now on, and this one does not save it.
  EXPECT_EQ(rig.environment.elevated_starts, (Starts{{kBigApp, "C:\\Apps\\c.exe"}}));
  ASSERT_EQ(rig.environment.hand_overs.size(), 1u);
  EXPECT_EQ(ParseHandOver(rig.environment.hand_overs[0])->log,
            (std::vector<LogEntry>{{"a.exe", "C:\\Apps\\", "2026/12/07"}}));
  EXPECT_EQ(rig.LogSaves(), 0);
  EXPECT_EQ(rig.journal, (Journal{Applied("a.exe"), BoxEntry(expected::AdministratorQuestion(
                                                        "C:\\Program Files\\Big App", "b.exe"))}));
  EXPECT_FALSE(HasManifest("C:\\Apps\\c.exe"));
}

TEST_F(ProgramBatchTest, ANoOrADeclinedElevationCancelsTheProgramAndTheBatchGoesOn) {
  for (const bool declined : {false, true}) {
    SCOPED_TRACE(declined ? "declined elevation" : "No");
    ResetFiles();
    rig.journal.clear();
    rig.environment.elevated_starts.clear();
    rig.files.RefuseOn("WriteFile", kBigApp + ".manifest");
    rig.dialogs.answers = {declined ? Answer::Yes : Answer::No};
    rig.environment.elevation_allowed = !declined;

    EXPECT_EQ(CommandLine("C:\\Apps\\a.exe \"" + kBigApp + "\" C:\\Apps\\c.exe"), Ending::Done);

    // Not cancelled: Windows refused it, and the status line says so.
    EXPECT_EQ(
        rig.journal,
        (Journal{Applied("a.exe"),
                 BoxEntry(expected::AdministratorQuestion("C:\\Program Files\\Big App", "b.exe")),
                 StatusEntry(expected::RefusedStatus("b.exe")), Applied("c.exe")}));
    const Starts starts = declined ? Starts{{kBigApp, "C:\\Apps\\c.exe"}} : Starts{};
    EXPECT_EQ(rig.environment.elevated_starts, starts);
  }
}

TEST_F(ProgramBatchTest, OneQuestionABatchAndAnyFailureToStartIsANo) {
  // Three programs in folders Windows refuses to change, a free one between them.
  const std::string refused[] = {kBigApp, "C:\\Program Files\\D\\d.exe",
                                 "C:\\Program Files\\E\\e.exe"};
  struct Case {
    const char* what;
    Answer answer;
    bool allowed;                        // Windows' prompt, after a Yes
    std::optional<std::string> failure;  // Windows' reason why it could not start
  };
  for (const Case& c : {Case{"No", Answer::No, true, std::nullopt},
                        Case{"declined", Answer::Yes, false, std::nullopt},
                        Case{"not started", Answer::Yes, true, "The policy forbids it."}}) {
    SCOPED_TRACE(c.what);
    Rig fresh;
    for (const std::string& program : refused) {
      fresh.files.AddFile(program);
      fresh.files.RefuseOn("WriteFile", program + ".manifest");
    }
    fresh.files.AddFile("C:\\Apps\\a.exe");
    fresh.environment.elevation_allowed = c.allowed;
    fresh.environment.start_failure = c.failure;
    fresh.dialogs.answers = {c.answer};

    EXPECT_TRUE(fresh.Event([&] {
      EXPECT_EQ(
          fresh.batch.ApplyDroppedFiles({refused[0], refused[1], "C:\\Apps\\a.exe", refused[2]}),
          BatchEnd::Done);
    }));

    Journal journal{
        BoxEntry(expected::AdministratorQuestion("C:\\Program Files\\Big App", "b.exe"))};
    if (c.failure) {
      journal.push_back(
          BoxEntry(expected::ElevationFailedWarning(*c.failure, expected::kApplyFailedTitle)));
    }
    for (const char* line : {"b.exe", "d.exe", "a.exe", "e.exe"}) {
      journal.push_back(StatusEntry(std::string(line) == "a.exe" ? expected::AppliedStatus(line)
                                                                 : expected::RefusedStatus(line)));
    }
    EXPECT_EQ(fresh.journal, journal);
    EXPECT_EQ(fresh.environment.elevated_starts.size(), c.answer == Answer::Yes ? 1u : 0u);
    // The user's answer holds for this batch only.
    fresh.dialogs.answers = {Answer::No};
    fresh.files.RefuseOn("WriteFile", "");
    EXPECT_TRUE(fresh.Event([&] { (void)fresh.batch.ApplyDroppedFiles({refused[0]}); }));
    EXPECT_TRUE(fresh.dialogs.answers.empty()) << "not asked in the next batch";
  }
}

TEST_F(ProgramBatchTest, TheRestOfTheBatchGoesOverAsPathsAnyAccountCanReach) {
  // Given relative to the folder this Zelvo runs in, and on a drive mapped to a share: the new
  // Zelvo runs in its own folder, maybe as another account that has no such drive.
  rig.files.current_folder = "C:\\Program Files\\Old";
  rig.files.mapped_drives["Z:"] = "\\\\nas\\tools";
  rig.files.RefuseOn("WriteFile", kBigApp + ".manifest");
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(CommandLine("C:\\Apps\\a.exe \"" + kBigApp + "\" app.exe Z:\\old\\x.exe"),
            Ending::HandedOver);

  EXPECT_EQ(rig.environment.elevated_starts,
            (Starts{{kBigApp, "C:\\Program Files\\Old\\app.exe", "\\\\nas\\tools\\old\\x.exe"}}));
}

TEST_F(ProgramBatchTest, TheElevatedProgramGetsTheShortcutAsGivenOnTheCommandLine) {
  rig.files.AddFile("C:\\Links\\Big.lnk");
  rig.shortcuts.targets["C:\\Links\\Big.lnk"] = kBigApp;
  rig.files.RefuseOn("WriteFile", kBigApp + ".manifest");
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(CommandLine("C:\\Links\\Big.lnk C:\\Apps\\a.exe"), Ending::HandedOver);

  EXPECT_EQ(rig.environment.elevated_starts, (Starts{{"C:\\Links\\Big.lnk", "C:\\Apps\\a.exe"}}));
}

TEST_F(ProgramBatchTest, ALogThatCannotBeSavedHereReachesTheNewZelvoWhole) {
  // Zelvo's own folder refuses the log to all but administrators: the entries of the run go to
  // the Zelvo started as administrator, which can save them; nothing is tried here.
  rig.files.FailOn("ReplaceAtomically", "C:\\Tools\\zelvo.ini", Win32Failure(5));
  rig.files.RefuseOn("WriteFile", kBigApp + ".manifest");
  rig.log.Load({{"old.exe", "C:\\Old\\", "2020/01/01"}});
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(Drop({"C:\\Apps\\a.exe", kBigApp}), Ending::HandedOver);

  ASSERT_EQ(rig.environment.hand_overs.size(), 1u);
  EXPECT_EQ(ParseHandOver(rig.environment.hand_overs[0])->log,
            (std::vector<LogEntry>{{"a.exe", "C:\\Apps\\", "2026/12/07"},
                                   {"old.exe", "C:\\Old\\", "2020/01/01"}}));
  EXPECT_EQ(rig.LogSaves(), 0);
  for (const Message& box : rig.dialogs.shown) EXPECT_NE(box.icon, Icon::Stop) << box.text;
}

}  // namespace
}  // namespace zelvo::testing
