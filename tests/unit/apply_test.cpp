// Applying the visual style to one program: the boxes the user sees, the files written, the
// backups kept and the log entry added, through ApplyZelvo and BackupManifest.
#include "application/apply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "fakes/pe_builder.h"
#include "fakes/rig.h"
#include "model/manifest_document.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

using expected::EmbeddedManifestQuestion;
using expected::EmbeddedThemedQuestion;
using expected::MissingProgramWarning;
using expected::NotAProgramQuestion;
using expected::ReplaceManifestQuestion;
using expected::ShortcutNotice;

// The start of a 64-bit (or, with the other magic, 32-bit) program file.
std::string ProgramImage(uint16_t magic) {
  std::string image(64, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 64;  // e_lfanew
  image += std::string("PE\0\0", 4);
  std::string file_header(20, '\0');
  file_header[16] = static_cast<char>(0xF0);  // SizeOfOptionalHeader
  image += file_header;
  image += static_cast<char>(magic & 0xFF);
  image += static_cast<char>(magic >> 8);
  image.resize(image.size() + 0xEE, '\0');
  return image;
}

const std::string kX86Manifest = ManifestDocument(ManifestArchitecture::X86);
const std::string kAnyManifest = ManifestDocument(ManifestArchitecture::Any);

// The calls that change something on disk, in order.
std::vector<std::string> Changes(const FakeFileSystem& files) {
  std::vector<std::string> changes;
  for (const auto& call : files.calls) {
    for (const char* operation :
         {"WriteFile ", "ReplaceAtomically ", "CopyToNew ", "MakeFolder ", "RemoveFile "}) {
      if (call.rfind(operation, 0) == 0) changes.push_back(call);
    }
  }
  return changes;
}

std::string Content(const FakeFileSystem& files, const std::string& path) {
  const FakeFile* file = files.Find(path);
  return file ? file->content : "(none)";
}

std::vector<std::string> NamesIn(const FakeFileSystem& files, const std::string& folder) {
  std::vector<std::string> names;
  for (const FakeFile* file : files.FilesIn(folder)) {
    names.push_back(file->path.substr(file->path.find_last_of('\\') + 1));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// How applying went, as the status line and the batch tell it: applied; not applied, for a
// reason the user was shown or chose; failed, with the failure reported; or to be done by Zelvo
// started again as administrator.
enum class ApplyResult { Applied, NotApplied, Failed, NeedsAdministrator };

// Applies `path` as a window event runs it; `outcome` takes what the procedure handed back.
ApplyResult Apply(Rig& rig, const std::string& path, ApplyOutcome* outcome = nullptr) {
  ApplyOutcome result;
  if (!rig.Event([&] { result = rig.applier.ApplyZelvo(path); })) return ApplyResult::Failed;
  if (outcome) *outcome = result;
  switch (result.result) {
    case ApplyOutcome::Applied:
      return ApplyResult::Applied;
    case ApplyOutcome::NeedsAdministrator:
      return ApplyResult::NeedsAdministrator;
    default:
      return ApplyResult::NotApplied;
  }
}

struct ApplyTest : ::testing::Test {
  Rig rig;

  void TearDown() override {
    // Backups are never lost, and nothing else is deleted either.
    for (const auto& call : rig.files.calls)
      EXPECT_EQ(call.rfind("RemoveFile", 0), std::string::npos) << call;
    EXPECT_TRUE(rig.dialogs.answers.empty()) << "a question that was never asked";
  }

  ApplyResult Apply(const std::string& path) { return testing::Apply(rig, path, &outcome); }

  // The entry at visible row `row`, as the log holds it.
  void ExpectEntry(size_t row, const std::string& name, const std::string& folder,
                   const std::string& date) {
    ASSERT_LT(row, rig.log.Count());
    EXPECT_EQ(rig.log.Name(row), name);
    const LogEntry* entry = rig.log.InItemData(rig.log.Key(row));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, name);
    EXPECT_EQ(entry->folder, folder);
    EXPECT_EQ(entry->date, date);
  }

  // The visible list shows the model's rows, selection and current row.
  void ExpectListMirrorsLog() {
    ASSERT_EQ(rig.view.list.rows.size(), rig.log.Count());
    for (size_t row = 0; row < rig.log.Count(); ++row) {
      EXPECT_EQ(rig.view.list.rows[row].text, rig.log.Name(row));
      EXPECT_EQ(rig.view.list.rows[row].selected, rig.log.IsSelected(row)) << row;
    }
    EXPECT_EQ(rig.view.list.current, rig.log.CurrentRow());
  }

  ApplyOutcome outcome;  // of the last Apply
};

// --- Programs that get their manifest -------------------------------------------------------

TEST_F(ApplyTest, ProgramGetsItsManifestAndASelectedCurrentEntryShownInTheDetails) {
  rig.files.AddFile("C:\\Apps\\Foo.exe", "not a PE image");

  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::Applied);

  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(outcome.name, "Foo.exe");
  EXPECT_EQ(outcome.given_name, "Foo.exe");
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), kX86Manifest);
  EXPECT_EQ(Changes(rig.files), std::vector<std::string>{"WriteFile C:\\Apps\\Foo.exe.manifest"});
  EXPECT_FALSE(rig.files.HasFolder("C:\\Tools\\backup"));

  ASSERT_EQ(rig.log.Count(), 1u);
  ExpectEntry(0, "Foo.exe", "C:\\Apps\\", "2026/12/07");
  EXPECT_EQ(rig.log.Key(0), 1);
  EXPECT_TRUE(rig.log.IsSelected(0));
  EXPECT_EQ(rig.log.CurrentRow(), 0u);
  ExpectListMirrorsLog();

  // The program's time is set anew, so that Windows notices its manifest at the next start.
  EXPECT_EQ(rig.files.Find("C:\\Apps\\Foo.exe")->touched, 1);
  EXPECT_EQ(rig.files.Find("C:\\Apps\\Foo.exe")->content, "not a PE image");

  // The click handling ran: details shown, actions enabled.
  EXPECT_EQ(rig.view.entry, (FakeView::Entry{"Foo.exe", "C:\\Apps\\", "2026/12/07"}));
  EXPECT_EQ(rig.view.actions_enabled, true);
}

TEST_F(ApplyTest, AProgramWhoseTimeCannotBeSetIsAppliedAllTheSame) {
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.files.RefuseOn("Touch", "C:\\Apps\\Foo.exe");
  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::Applied);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), kX86Manifest);
  EXPECT_EQ(rig.log.Count(), 1u);
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(ApplyTest, ProgramExtensionCountsInAnyCaseAndNamesKeepTheStoredCase) {
  rig.files.AddFile("C:\\Apps\\UPPER.EXE");
  rig.files.AddFile("C:\\Apps\\Mixed.Exe");
  rig.files.AddFile("C:\\Apps\\Foo.exe");

  EXPECT_EQ(Apply("C:\\Apps\\UPPER.EXE"), ApplyResult::Applied);
  EXPECT_EQ(Apply("C:\\Apps\\Mixed.Exe"), ApplyResult::Applied);
  EXPECT_EQ(Apply("c:\\apps\\FOO.EXE"), ApplyResult::Applied);  // typed in another case

  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.files.Find("C:\\Apps\\UPPER.EXE.manifest")->path, "C:\\Apps\\UPPER.EXE.manifest");
  EXPECT_EQ(rig.files.Find("C:\\Apps\\Mixed.Exe.manifest")->path, "C:\\Apps\\Mixed.Exe.manifest");
  EXPECT_EQ(rig.files.Find("C:\\Apps\\Foo.exe.manifest")->path, "C:\\Apps\\Foo.exe.manifest");
  ASSERT_EQ(rig.log.Count(), 3u);
  ExpectEntry(0, "Foo.exe", "C:\\Apps\\", "2026/12/07");
  ExpectEntry(1, "Mixed.Exe", "C:\\Apps\\", "2026/12/07");
  ExpectEntry(2, "UPPER.EXE", "C:\\Apps\\", "2026/12/07");
}

TEST_F(ApplyTest, SixtyFourBitProgramsGetTheArchitectureStarEveryOtherFileX86) {
  rig.files.AddFile("C:\\Apps\\x64.exe", ProgramImage(0x20B));
  rig.files.AddFile("C:\\Apps\\x86.exe", ProgramImage(0x10B));
  rig.files.AddFile("C:\\Apps\\tiny.exe", "MZ");

  for (const char* name : {"x64.exe", "x86.exe", "tiny.exe"}) {
    EXPECT_EQ(Apply(std::string("C:\\Apps\\") + name), ApplyResult::Applied) << name;
  }

  EXPECT_EQ(Content(rig.files, "C:\\Apps\\x64.exe.manifest"), kAnyManifest);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\x64.exe.manifest").size(), 448u);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\x86.exe.manifest").size(), 450u);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\x86.exe.manifest"), kX86Manifest);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\tiny.exe.manifest"), kX86Manifest);
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.log.Count(), 3u);
}

TEST_F(ApplyTest, DateIsYearMonthDayWithSlashesAndLeadingZeros) {
  rig.files.AddFile("C:\\Apps\\a.exe");
  rig.files.AddFile("C:\\Apps\\b.exe");
  rig.clock.today = {2005, 3, 9};
  ASSERT_EQ(Apply("C:\\Apps\\a.exe"), ApplyResult::Applied);
  rig.clock.today = {2026, 10, 31};
  ASSERT_EQ(Apply("C:\\Apps\\b.exe"), ApplyResult::Applied);
  ExpectEntry(0, "a.exe", "C:\\Apps\\", "2005/03/09");
  ExpectEntry(1, "b.exe", "C:\\Apps\\", "2026/10/31");
}

TEST_F(ApplyTest, NewEntryIsAddedBesideTheSelectionItFinds) {
  rig.log.Load({{"b.exe", "C:\\B\\", "2026/01/01"}, {"c.exe", "C:\\C\\", "2026/01/02"}});
  rig.log.SetCurrentRow(0);
  rig.log.SetSelected(0, true);  // b.exe selected, c.exe not
  rig.files.AddFile("C:\\Apps\\a.exe");

  EXPECT_EQ(Apply("C:\\Apps\\a.exe"), ApplyResult::Applied);

  ASSERT_EQ(rig.log.Count(), 3u);
  ExpectEntry(0, "a.exe", "C:\\Apps\\", "2026/12/07");
  EXPECT_EQ(rig.log.Key(0), 3);  // two rows before it: 2 + 1
  EXPECT_EQ(rig.log.CurrentRow(), 0u);
  EXPECT_TRUE(rig.log.IsSelected(0));
  EXPECT_TRUE(rig.log.IsSelected(1));  // b.exe keeps its selection
  EXPECT_FALSE(rig.log.IsSelected(2));
  ExpectListMirrorsLog();
  // Several rows selected.
  EXPECT_EQ(rig.view.entry, (FakeView::Entry{"a.exe...", "C:\\Apps\\", "2026/12/07"}));
}

TEST_F(ApplyTest, SameProgramTwiceGivesTwoEntriesAndKeepsTheFirstManifestAsBackup) {
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::Applied);
  rig.clock.today = {2026, 12, 8};
  rig.dialogs.answers = {Answer::Yes};
  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReplaceManifestQuestion("Foo.exe")});
  ASSERT_EQ(rig.log.Count(), 2u);
  ExpectEntry(0, "Foo.exe", "C:\\Apps\\", "2026/12/07");
  ExpectEntry(1, "Foo.exe", "C:\\Apps\\", "2026/12/08");
  EXPECT_EQ(rig.log.Key(0), 1);
  EXPECT_EQ(rig.log.Key(1), 2);
  EXPECT_TRUE(rig.log.IsSelected(0));
  EXPECT_TRUE(rig.log.IsSelected(1));
  EXPECT_EQ(rig.log.CurrentRow(), 1u);
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest"), kX86Manifest);
}

// --- Shortcuts -------------------------------------------------------------------------------

TEST_F(ApplyTest, ShortcutInAnyCaseIsFollowedToItsTargetAfterANotice) {
  rig.files.AddFile("C:\\Desk\\Foo.lnk");
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.shortcuts.targets["C:\\Desk\\Foo.lnk"] = "C:\\Apps\\Foo.exe";

  EXPECT_EQ(Apply("C:\\Desk\\FOO.LNK"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ShortcutNotice("Foo.lnk")});
  // The outcome names the target, and the shortcut as given.
  EXPECT_EQ(outcome.name, "Foo.exe");
  EXPECT_EQ(outcome.given_name, "Foo.lnk");
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), kX86Manifest);
  EXPECT_EQ(rig.files.Find("C:\\Desk\\Foo.lnk.manifest"), nullptr);
  ASSERT_EQ(rig.log.Count(), 1u);
  ExpectEntry(0, "Foo.exe", "C:\\Apps\\", "2026/12/07");
}

TEST_F(ApplyTest, ShortcutToNothingOrToAMissingFileIsAMissingTarget) {
  rig.files.AddFile("C:\\Desk\\Gone.lnk");
  rig.files.AddFile("C:\\Desk\\Printer.lnk");
  rig.shortcuts.targets["C:\\Desk\\Gone.lnk"] = "C:\\Apps\\Gone.exe";
  rig.shortcuts.targets["C:\\Desk\\Printer.lnk"] = "";

  EXPECT_EQ(Apply("C:\\Desk\\Gone.lnk"), ApplyResult::NotApplied);
  EXPECT_EQ(outcome.given_name, "Gone.lnk");
  EXPECT_EQ(outcome.name, "");
  EXPECT_EQ(Apply("C:\\Desk\\Printer.lnk"), ApplyResult::NotApplied);
  EXPECT_EQ(outcome.given_name, "Printer.lnk");
  EXPECT_EQ(outcome.name, "");

  EXPECT_EQ(rig.dialogs.shown,
            (std::vector<Message>{ShortcutNotice("Gone.lnk"), MissingProgramWarning(),
                                  ShortcutNotice("Printer.lnk"), MissingProgramWarning()}));
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(ApplyTest, ShortcutToAShortcutIsNotFollowedFurther) {
  rig.files.AddFile("C:\\Desk\\Foo.lnk");
  rig.files.AddFile("C:\\Desk\\Other.lnk");
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.shortcuts.targets["C:\\Desk\\Foo.lnk"] = "C:\\Desk\\Other.lnk";
  rig.shortcuts.targets["C:\\Desk\\Other.lnk"] = "C:\\Apps\\Foo.exe";
  rig.dialogs.answers = {Answer::No};

  EXPECT_EQ(Apply("C:\\Desk\\Foo.lnk"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown,
            (std::vector<Message>{ShortcutNotice("Foo.lnk"), NotAProgramQuestion("Other.lnk")}));
  EXPECT_EQ(outcome.name, "Other.lnk");
  EXPECT_TRUE(Changes(rig.files).empty());
}

TEST_F(ApplyTest, ShortcutThatCannotBeReadIsReportedOnceAndNothingIsDone) {
  rig.files.AddFile("C:\\Desk\\Broken.lnk");  // no target known: reading it fails
  const Failure unreadable(static_cast<int32_t>(0x80070002),
                           "指定されたファイルが見つかりません。");

  EXPECT_EQ(Apply("C:\\Desk\\Broken.lnk"), ApplyResult::Failed);

  EXPECT_EQ(rig.dialogs.shown, (std::vector<Message>{ShortcutNotice("Broken.lnk"),
                                                     ReportOf("ApplyZelvo()", unreadable)}));
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_EQ(rig.log.Count(), 0u);
}

// --- Missing targets -------------------------------------------------------------------------

TEST(ApplyMissingTargetTest, PathsThatFindNoOrdinaryFileGetTheWarningAndNothingElse) {
  for (const std::string path :
       {"C:\\Apps\\Gone.exe", "C:\\Apps\\Folder.exe", "C:\\Apps\\Hidden.exe",
        "C:\\Apps\\System.exe", "", "C:\\Apps\\*.exe", "C:\\Apps\\Fo?.exe", "C:\\Apps\\*.lnk",
        "C:\\Apps\\Fo?.lnk", "C:\\Apps\\Foo.exe\\",
        // A shortcut that is not there (a typo, a moved file) is a missing program too: no
        // notice about a shortcut, no attempt to read it.
        "C:\\Apps\\Missing.lnk", "C:\\Apps\\Hidden.lnk"}) {
    SCOPED_TRACE(path);
    Rig rig;
    rig.files.AddFile("C:\\Apps\\Foo.exe");
    rig.files.AddFile("C:\\Apps\\Foo.lnk");
    rig.files.AddFolder("C:\\Apps\\Folder.exe");
    rig.files.AddFile("C:\\Apps\\Hidden.exe").hidden = true;
    rig.files.AddFile("C:\\Apps\\System.exe").system = true;
    rig.files.AddFile("C:\\Apps\\Hidden.lnk").hidden = true;
    rig.shortcuts.targets["C:\\Apps\\Hidden.lnk"] = "C:\\Apps\\Foo.exe";
    // Were a pattern ever read as a shortcut, it would lead to Foo.exe.
    rig.shortcuts.targets["C:\\Apps\\*.lnk"] = "C:\\Apps\\Foo.exe";
    rig.shortcuts.targets["C:\\Apps\\Fo?.lnk"] = "C:\\Apps\\Foo.exe";

    ApplyOutcome outcome;
    EXPECT_EQ(Apply(rig, path, &outcome), ApplyResult::NotApplied);

    EXPECT_EQ(outcome.result, ApplyOutcome::Missing);
    EXPECT_EQ(outcome.name, "");
    EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{MissingProgramWarning()});
    EXPECT_TRUE(Changes(rig.files).empty());
    EXPECT_EQ(rig.log.Count(), 0u);
  }
}

// --- Files that are not programs -------------------------------------------------------------

TEST_F(ApplyTest, NonProgramAnsweredNoIsLeftAlone) {
  rig.files.AddFile("D:\\scripts\\run.bat");
  rig.dialogs.answers = {Answer::No};

  EXPECT_EQ(Apply("D:\\scripts\\run.bat"), ApplyResult::NotApplied);
  EXPECT_EQ(rig.files.Find("D:\\scripts\\run.bat")->touched, 0);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{NotAProgramQuestion("run.bat")});
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(ApplyTest, NonProgramAnsweredYesGetsItsFullNamePlusManifest) {
  rig.files.AddFile("D:\\scripts\\run.bat");
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(Apply("d:\\SCRIPTS\\RUN.BAT"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{NotAProgramQuestion("run.bat")});
  EXPECT_EQ(rig.files.Find("D:\\scripts\\run.bat.manifest")->path, "D:\\scripts\\run.bat.manifest");
  EXPECT_EQ(Content(rig.files, "D:\\scripts\\run.bat.manifest"), kX86Manifest);
  ExpectEntry(0, "run.bat", "D:\\scripts\\", "2026/12/07");
}

TEST_F(ApplyTest, NonProgramWithAManifestIsAskedTwiceInOrder) {
  rig.files.AddFile("D:\\scripts\\run.bat");
  rig.files.AddFile("D:\\scripts\\run.bat.manifest", "old");
  rig.dialogs.answers = {Answer::Yes, Answer::No};

  EXPECT_EQ(Apply("D:\\scripts\\run.bat"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown, (std::vector<Message>{NotAProgramQuestion("run.bat"),
                                                     ReplaceManifestQuestion("run.bat")}));
  EXPECT_EQ(Content(rig.files, "D:\\scripts\\run.bat.manifest"), "old");
  EXPECT_TRUE(Changes(rig.files).empty());
}

// --- Short (8.3) paths -----------------------------------------------------------------------

TEST_F(ApplyTest, ShortPathIsExpandedBeforeAnythingIsWrittenOrLogged) {
  const std::string long_path = "C:\\Program Files\\Foobar App\\Foobar App.exe";
  rig.files.AddFile(long_path);
  rig.files.AddShortName("C:\\PROGRA~1\\FOOBAR~1\\FOOBAR~1.EXE", long_path);

  EXPECT_EQ(Apply("C:\\PROGRA~1\\FOOBAR~1\\FOOBAR~1.EXE"), ApplyResult::Applied);

  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(Changes(rig.files), std::vector<std::string>{"WriteFile " + long_path + ".manifest"});
  EXPECT_EQ(Content(rig.files, long_path + ".manifest"), kX86Manifest);
  ExpectEntry(0, "Foobar App.exe", "C:\\Program Files\\Foobar App\\", "2026/12/07");
}

TEST_F(ApplyTest, ShortPathFindsTheLongManifestAndTheLongExtensionDecides) {
  // The short form of "tool.exe2" ends in ".EXE"; the long name is what Windows runs by.
  rig.files.AddFile("C:\\Apps\\tool.exe2");
  rig.files.AddShortName("C:\\Apps\\TOOL~1.EXE", "C:\\Apps\\tool.exe2");
  rig.files.AddFile("C:\\Apps\\Long Name.exe");
  rig.files.AddFile("C:\\Apps\\Long Name.exe.manifest", "old");
  rig.files.AddShortName("C:\\Apps\\LONGNA~1.EXE", "C:\\Apps\\Long Name.exe");
  rig.dialogs.answers = {Answer::No, Answer::Yes};

  EXPECT_EQ(Apply("C:\\Apps\\TOOL~1.EXE"), ApplyResult::NotApplied);
  EXPECT_EQ(Apply("C:\\Apps\\LONGNA~1.EXE"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, (std::vector<Message>{NotAProgramQuestion("tool.exe2"),
                                                     ReplaceManifestQuestion("Long Name.exe")}));
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Long Name.exe.manifest"), "old");
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Long Name.exe.manifest"), kX86Manifest);
  ASSERT_EQ(rig.log.Count(), 1u);
  ExpectEntry(0, "Long Name.exe", "C:\\Apps\\", "2026/12/07");
}

// --- An existing manifest and its backup ---------------------------------------------------

TEST_F(ApplyTest, ExistingManifestAnsweredNoStaysAndNothingIsBackedUp) {
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.files.AddFile("C:\\Apps\\Foo.exe.manifest", "old");
  rig.dialogs.answers = {Answer::No};

  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReplaceManifestQuestion("Foo.exe")});
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), "old");
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_FALSE(rig.files.HasFolder("C:\\Tools\\backup"));
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(ApplyTest, ExistingManifestAnsweredYesIsCopiedToANewBackupFolderThenReplaced) {
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.files.AddFile("C:\\Apps\\FOO.EXE.MANIFEST", "old");  // stored in its own case
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReplaceManifestQuestion("Foo.exe")});
  EXPECT_EQ(Changes(rig.files),
            (std::vector<std::string>{
                "MakeFolder C:\\Tools\\backup",
                "CopyToNew C:\\Apps\\FOO.EXE.MANIFEST -> C:\\Tools\\backup\\FOO.EXE.MANIFEST",
                "WriteFile C:\\Apps\\Foo.exe.manifest"}));
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\FOO.EXE.MANIFEST"), "old");
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), kX86Manifest);
  ExpectEntry(0, "Foo.exe", "C:\\Apps\\", "2026/12/07");
}

TEST_F(ApplyTest, HiddenManifestIsNotSeenAndItsWriteFailureIsReported) {
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.files.AddFile("C:\\Apps\\Foo.exe.manifest", "hidden").hidden = true;

  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::Failed);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReportOf("ApplyZelvo()", Win32Failure(5))});
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), "hidden");
  EXPECT_FALSE(rig.files.HasFolder("C:\\Tools\\backup"));
  EXPECT_EQ(rig.log.Count(), 0u);
}

struct BackupTest : ApplyTest {
  // Gives `program` a manifest holding `old`, then applies it with Yes to the question.
  ApplyResult Reapply(const std::string& program, const std::string& old) {
    if (!rig.files.Find(program)) rig.files.AddFile(program);
    rig.files.AddFile(program + ".manifest", old);
    rig.dialogs.answers.push_back(Answer::Yes);
    return Apply(program);
  }
};

TEST_F(BackupTest, LaterCopiesOfANameGetNumberedNamesAndNoCopyIsEverReplaced) {
  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "first"), ApplyResult::Applied);
  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "second"), ApplyResult::Applied);
  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "third"), ApplyResult::Applied);

  EXPECT_EQ(
      NamesIn(rig.files, "C:\\Tools\\backup"),
      (std::vector<std::string>{"Foo.exe.manifest", "Foo.exe.manifest.2", "Foo.exe.manifest.3"}));
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest"), "first");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest.2"), "second");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest.3"), "third");
  // The folder is made once.
  EXPECT_EQ(
      std::count(rig.files.calls.begin(), rig.files.calls.end(), "MakeFolder C:\\Tools\\backup"),
      1);
}

TEST_F(BackupTest, AManifestEqualToTheNewestCopyOfItsNameIsNotCopiedAgain) {
  // Applied again after the write was refused: the same old manifest, backed up already.
  rig.files.AddFile("C:\\Tools\\backup\\Foo.exe.manifest", "first");
  rig.files.AddFile("C:\\Tools\\backup\\Foo.exe.manifest.2", "old");
  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "old"), ApplyResult::Applied);
  EXPECT_EQ(NamesIn(rig.files, "C:\\Tools\\backup"),
            (std::vector<std::string>{"Foo.exe.manifest", "Foo.exe.manifest.2"}));
  // Equal to an older copy only: copied.
  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "first"), ApplyResult::Applied);
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest.3"), "first");
}

TEST_F(BackupTest, AnElevatedZelvoSaysOnceThatOthersMayChangeTheBackupFolder) {
  rig.environment.elevated = true;
  rig.files.AddFolder("C:\\Tools\\backup");  // made by a Zelvo without administrator rights
  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "one"), ApplyResult::Applied);
  EXPECT_EQ(Reapply("C:\\Apps\\Bar.exe", "two"), ApplyResult::Applied);
  EXPECT_EQ(rig.dialogs.shown,
            (std::vector<Message>{ReplaceManifestQuestion("Foo.exe"),
                                  expected::BackupFolderOpenWarning("C:\\Tools\\backup"),
                                  ReplaceManifestQuestion("Bar.exe")}));
  EXPECT_EQ(NamesIn(rig.files, "C:\\Tools\\backup"),
            (std::vector<std::string>{"Bar.exe.manifest", "Foo.exe.manifest"}));

  // A folder only administrators may change, or one nothing could guard (a drive without access
  // lists, or Wine, whose programs pass them all): nothing to say.
  for (const bool guarding : {true, false}) {
    Rig fresh;
    fresh.environment.elevated = true;
    fresh.files.guarding = guarding;
    fresh.files.AddFolder("C:\\Tools\\backup");
    if (guarding) fresh.files.made_folders["c:\\tools\\backup"] = NewFolder::AdministratorsOnly;
    fresh.files.AddFile("C:\\Apps\\Foo.exe");
    fresh.files.AddFile("C:\\Apps\\Foo.exe.manifest", "one");
    fresh.dialogs.answers = {Answer::Yes};
    EXPECT_EQ(testing::Apply(fresh, "C:\\Apps\\Foo.exe"), ApplyResult::Applied);
    EXPECT_EQ(fresh.dialogs.shown, std::vector<Message>{ReplaceManifestQuestion("Foo.exe")});
  }
}

TEST_F(BackupTest, TwoProgramsOfTheSameNameFromTwoFoldersKeepBothCopies) {
  EXPECT_EQ(Reapply("C:\\A\\setup.exe", "from A"), ApplyResult::Applied);
  EXPECT_EQ(Reapply("C:\\B\\setup.exe", "from B"), ApplyResult::Applied);

  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\setup.exe.manifest"), "from A");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\setup.exe.manifest.2"), "from B");
  ASSERT_EQ(rig.log.Count(), 2u);
  ExpectEntry(0, "setup.exe", "C:\\A\\", "2026/12/07");
  ExpectEntry(1, "setup.exe", "C:\\B\\", "2026/12/07");
}

TEST_F(BackupTest, HiddenOrReadOnlyOldCopiesStayAsTheyAre) {
  rig.files.AddFile("C:\\Tools\\backup\\Foo.exe.manifest", "hidden copy").hidden = true;
  rig.files.AddFile("C:\\Tools\\backup\\Foo.exe.manifest.2", "read-only copy").read_only = true;

  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "new"), ApplyResult::Applied);

  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest"), "hidden copy");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest.2"), "read-only copy");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest.3"), "new");
  // The folder stood there already.
  EXPECT_EQ(std::count_if(rig.files.calls.begin(), rig.files.calls.end(),
                          [](const std::string& call) { return call.rfind("MakeFolder", 0) == 0; }),
            0);
}

TEST_F(BackupTest, FileNamedBackupStopsEverythingWithOneReport) {
  rig.files.AddFile("C:\\Tools\\backup", "not a folder");

  EXPECT_EQ(Reapply("C:\\Apps\\Foo.exe", "old"), ApplyResult::Failed);

  EXPECT_EQ(rig.dialogs.shown,
            (std::vector<Message>{ReplaceManifestQuestion("Foo.exe"),
                                  ReportOf("BackupManifest()", Win32Failure(183))}));
  EXPECT_EQ(Changes(rig.files), std::vector<std::string>{"MakeFolder C:\\Tools\\backup"});
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), "old");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup"), "not a folder");
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(BackupTest, BackupManifestOnItsOwn) {
  rig.files.AddFile("C:\\Apps\\Foo.exe.manifest", "old");
  EXPECT_EQ(rig.backup.BackupManifest(rig.files.Look("C:\\Apps\\Foo.exe.manifest")).outcome,
            BackupResult::Done);
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest"), "old");
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), "old");  // the original stays
  EXPECT_TRUE(rig.dialogs.shown.empty());

  // A manifest that has gone since it was looked at cannot be copied: the system's reason is
  // reported.
  FileFacts gone;
  gone.kind = FileFacts::Kind::File;
  gone.stored_name = "Gone.exe.manifest";
  gone.full_path = "C:\\Apps\\Gone.exe.manifest";
  EXPECT_FALSE(rig.Event([&] { (void)rig.backup.BackupManifest(gone); }));
  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{ReportOf("BackupManifest()", Win32Failure(2))});
  EXPECT_EQ(NamesIn(rig.files, "C:\\Tools\\backup"), std::vector<std::string>{"Foo.exe.manifest"});
}

// --- Programs with a manifest of their own ---------------------------------------------------

const std::string kTrustInfoOnly =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
    "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"
    "</requestedPrivileges></security></trustInfo>\r\n"
    "</assembly>\r\n";

std::string ProgramEmbedding(const std::string& manifest_xml, bool pe32_plus) {
  return BuildImage(
             {.pe32_plus = pe32_plus,
              .resources = {{{kRtIcon}, {1}, 0x411, "icon"}, ManifestResource(manifest_xml)}})
      .bytes;
}

TEST_F(ApplyTest, EmbeddedCommonControls6AnsweredNoLeavesTheThemedProgramAlone) {
  rig.files.AddFile("C:\\Apps\\Themed.exe", ProgramEmbedding(kX86Manifest, false));
  rig.dialogs.answers = {Answer::No};

  EXPECT_EQ(Apply("C:\\Apps\\Themed.exe"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{EmbeddedThemedQuestion("Themed.exe")});
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_EQ(rig.log.Count(), 0u);
  EXPECT_FALSE(rig.view.list.current);
}

TEST_F(ApplyTest, EmbeddedManifestWithoutCommonControlsAnsweredNoWritesNothing) {
  rig.files.AddFile("C:\\Apps\\Elevated.exe", ProgramEmbedding(kTrustInfoOnly, true));
  rig.files.AddFile("C:\\Apps\\Elevated.exe.manifest", "old");
  rig.dialogs.answers = {Answer::No};

  EXPECT_EQ(Apply("C:\\Apps\\Elevated.exe"), ApplyResult::NotApplied);

  // Asked before the existing manifest, and nothing after the No.
  EXPECT_EQ(rig.dialogs.shown, std::vector<Message>{EmbeddedManifestQuestion("Elevated.exe")});
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Elevated.exe.manifest"), "old");
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_FALSE(rig.files.HasFolder("C:\\Tools\\backup"));
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(ApplyTest, EmbeddedManifestAnsweredYesGoesOnToTheWriteAndTheEntry) {
  rig.files.AddFile("C:\\Apps\\Themed64.exe", ProgramEmbedding(kAnyManifest, true));
  rig.files.AddFile("C:\\Apps\\Elevated.exe", ProgramEmbedding(kTrustInfoOnly, false));
  rig.dialogs.answers = {Answer::Yes, Answer::Yes};

  EXPECT_EQ(Apply("C:\\Apps\\Themed64.exe"), ApplyResult::Applied);
  EXPECT_EQ(Apply("C:\\Apps\\Elevated.exe"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, (std::vector<Message>{EmbeddedThemedQuestion("Themed64.exe"),
                                                     EmbeddedManifestQuestion("Elevated.exe")}));
  // The image read for the question still decides the document's architecture.
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Themed64.exe.manifest"), kAnyManifest);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Elevated.exe.manifest"), kX86Manifest);
  ASSERT_EQ(rig.log.Count(), 2u);
  ExpectEntry(0, "Elevated.exe", "C:\\Apps\\", "2026/12/07");
  ExpectEntry(1, "Themed64.exe", "C:\\Apps\\", "2026/12/07");
  EXPECT_EQ(rig.log.CurrentRow(), 0u);
  ExpectListMirrorsLog();
}

TEST_F(ApplyTest, EmbeddedManifestAnsweredYesThenTheExistingManifestQuestion) {
  rig.files.AddFile("C:\\Apps\\Elevated.exe", ProgramEmbedding(kTrustInfoOnly, false));
  rig.files.AddFile("C:\\Apps\\Elevated.exe.manifest", "old");
  rig.dialogs.answers = {Answer::Yes, Answer::Yes};

  EXPECT_EQ(Apply("C:\\Apps\\Elevated.exe"), ApplyResult::Applied);

  EXPECT_EQ(rig.dialogs.shown, (std::vector<Message>{EmbeddedManifestQuestion("Elevated.exe"),
                                                     ReplaceManifestQuestion("Elevated.exe")}));
  EXPECT_EQ(Changes(rig.files),
            (std::vector<std::string>{"MakeFolder C:\\Tools\\backup",
                                      "CopyToNew C:\\Apps\\Elevated.exe.manifest -> "
                                      "C:\\Tools\\backup\\Elevated.exe.manifest",
                                      "WriteFile C:\\Apps\\Elevated.exe.manifest"}));
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Elevated.exe.manifest"), "old");
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Elevated.exe.manifest"), kX86Manifest);
}

TEST_F(ApplyTest, EmbeddedManifestIsAskedAfterTheProgramTypeAndForAShortcutsTarget) {
  rig.files.AddFile("C:\\Apps\\Saver.scr", ProgramEmbedding(kX86Manifest, false));
  rig.files.AddFile("C:\\Desk\\Tool.lnk");
  rig.files.AddFile("C:\\Program Files\\Long Tool\\Long Tool.exe",
                    ProgramEmbedding(kTrustInfoOnly, true));
  rig.files.AddShortName("C:\\PROGRA~1\\LONGTO~1\\LONGTO~1.EXE",
                         "C:\\Program Files\\Long Tool\\Long Tool.exe");
  rig.shortcuts.targets["C:\\Desk\\Tool.lnk"] = "C:\\PROGRA~1\\LONGTO~1\\LONGTO~1.EXE";
  rig.dialogs.answers = {Answer::Yes, Answer::No, Answer::No};

  EXPECT_EQ(Apply("C:\\Apps\\Saver.scr"), ApplyResult::NotApplied);
  EXPECT_EQ(Apply("C:\\Desk\\Tool.lnk"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown,
            (std::vector<Message>{NotAProgramQuestion("Saver.scr"),
                                  EmbeddedThemedQuestion("Saver.scr"), ShortcutNotice("Tool.lnk"),
                                  EmbeddedManifestQuestion("Long Tool.exe")}));
  EXPECT_TRUE(Changes(rig.files).empty());
}

TEST_F(ApplyTest, ProgramsWithoutAManifestOfId1AreNotAsked) {
  rig.files.AddFile("C:\\Apps\\Icons.exe",
                    BuildImage({.resources = {{{kRtIcon}, {1}, 0x409, "icon"}}}).bytes);
  rig.files.AddFile("C:\\Apps\\Library.exe",
                    BuildImage({.resources = {{{kRtManifest}, {2}, 0x409, kX86Manifest}}}).bytes);
  rig.files.AddFile("C:\\Apps\\Bare.exe", BuildImage({.pe32_plus = false}).bytes);
  // Damaged where the manifest's bytes should stand.
  std::string cut = ProgramEmbedding(kTrustInfoOnly, true);
  cut.resize(cut.find("<trustInfo"));
  rig.files.AddFile("C:\\Apps\\Cut.exe", cut);

  for (const char* name : {"Icons.exe", "Library.exe", "Bare.exe", "Cut.exe"}) {
    EXPECT_EQ(Apply(std::string("C:\\Apps\\") + name), ApplyResult::Applied) << name;
  }

  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Icons.exe.manifest"), kAnyManifest);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Bare.exe.manifest"), kX86Manifest);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Cut.exe.manifest"), kAnyManifest);
  EXPECT_EQ(rig.log.Count(), 4u);
}

TEST_F(ApplyTest, AProgramThatCannotBeReadIsNeverTakenForA32BitOne) {
  // A 64-bit program that another program holds open (an installer still writing it): no
  // manifest at all rather than the X86 one, which would keep it from starting.
  rig.files.AddFile("C:\\Apps\\Locked.exe", ProgramImage(0x20B));
  rig.files.AddFile("C:\\Apps\\Locked.exe.manifest", "old");
  rig.files.FailOn("OpenProgram", "C:\\Apps\\Locked.exe", Win32Failure(32));
  // Opened, but a range of it locked: the same.
  rig.files.AddFile("C:\\Apps\\Held.exe", ProgramImage(0x20B));
  rig.files.FailOn("Read", "C:\\Apps\\Held.exe", Win32Failure(33));

  EXPECT_EQ(Apply("C:\\Apps\\Locked.exe"), ApplyResult::NotApplied);
  EXPECT_EQ(Apply("C:\\Apps\\Held.exe"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown,
            (std::vector<Message>{
                expected::UnreadableProgramWarning("Locked.exe", Win32Failure(32).Description()),
                expected::UnreadableProgramWarning("Held.exe", Win32Failure(33).Description())}));
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Locked.exe.manifest"), "old");
  EXPECT_TRUE(Changes(rig.files).empty());
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(ApplyTest, AnOldManifestThatIsALinkIsNotBackedUpAndTheProgramIsLeftAsItWas) {
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.files.AddFile("C:\\Apps\\Foo.exe.manifest", "the file it leads to").link = true;
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(Apply("C:\\Apps\\Foo.exe"), ApplyResult::NotApplied);

  EXPECT_EQ(rig.dialogs.shown, (std::vector<Message>{ReplaceManifestQuestion("Foo.exe"),
                                                     expected::LinkedManifestWarning("Foo.exe")}));
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), "the file it leads to");
  EXPECT_TRUE(NamesIn(rig.files, "C:\\Tools\\backup").empty());
  EXPECT_EQ(rig.log.Count(), 0u);
}

TEST_F(ApplyTest, ABackupFolderMadeElevatedAdmitsOnlyAdministratorsToChangeIt) {
  for (const bool elevated : {false, true}) {
    Rig fresh;
    fresh.environment.elevated = elevated;
    fresh.files.AddFile("C:\\Apps\\Foo.exe");
    fresh.files.AddFile("C:\\Apps\\Foo.exe.manifest", "old");
    fresh.dialogs.answers = {Answer::Yes};
    EXPECT_EQ(testing::Apply(fresh, "C:\\Apps\\Foo.exe"), ApplyResult::Applied);
    EXPECT_EQ(fresh.files.made_folders.at("c:\\tools\\backup"),
              elevated ? NewFolder::AdministratorsOnly : NewFolder::Inherited);
  }
}

// --- Failures of the platform ----------------------------------------------------------------

struct InjectedFailure {
  const char* operation;
  const char* path;     // "" for any path
  bool after_question;  // injected while the replace question is up
  const char* source;
  int32_t number;
  std::vector<std::string> changes;  // every change attempted, the failed one last
  bool backup_made;
};

// Named in test output by what fails and where, not by its bytes.
void PrintTo(const InjectedFailure& injected, std::ostream* out) {
  *out << injected.operation << " " << (*injected.path ? injected.path : "(any)")
       << (injected.after_question ? " after the question" : "") << " in " << injected.source;
}

const std::string kMakeFolder = "MakeFolder C:\\Tools\\backup";
const std::string kCopy =
    "CopyToNew C:\\Apps\\Foo.exe.manifest -> C:\\Tools\\backup\\Foo.exe.manifest";
const std::string kWrite = "WriteFile C:\\Apps\\Foo.exe.manifest";

class ApplyFailureTest : public ::testing::TestWithParam<InjectedFailure> {};

TEST_P(ApplyFailureTest, IsReportedOnceWithItsSourceAndStopsAllThatFollows) {
  const InjectedFailure& injected = GetParam();
  Rig rig;
  rig.files.AddFile("C:\\Apps\\Foo.exe");
  rig.files.AddFile("C:\\Apps\\Foo.exe.manifest", "old");
  const Failure failure = Win32Failure(injected.number);
  if (injected.after_question) {
    rig.dialogs.on_show = [&](const Message& message) {
      if (message == ReplaceManifestQuestion("Foo.exe")) {
        rig.files.FailOn(injected.operation, injected.path, failure);
      }
    };
  } else {
    rig.files.FailOn(injected.operation, injected.path, failure);
  }
  rig.dialogs.answers = {Answer::Yes};

  EXPECT_EQ(testing::Apply(rig, "C:\\Apps\\Foo.exe"), ApplyResult::Failed);

  ASSERT_FALSE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.dialogs.shown.back(), ReportOf(injected.source, failure));
  const size_t boxes_before = rig.dialogs.shown.size() - 1;
  for (size_t i = 0; i < boxes_before; ++i) {
    EXPECT_EQ(rig.dialogs.shown[i], ReplaceManifestQuestion("Foo.exe"));
  }
  EXPECT_EQ(Changes(rig.files), injected.changes);
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"), "old");
  EXPECT_EQ(Content(rig.files, "C:\\Tools\\backup\\Foo.exe.manifest"),
            injected.backup_made ? "old" : "(none)");
  EXPECT_EQ(rig.log.Count(), 0u);
  EXPECT_FALSE(rig.view.list.current);
}

INSTANTIATE_TEST_SUITE_P(
    EachPlatformCall, ApplyFailureTest,
    ::testing::Values(
        InjectedFailure{"Look", "C:\\Apps\\Foo.exe", false, "ApplyZelvo()", 5, {}, false},
        InjectedFailure{"Look", "C:\\Apps\\Foo.exe.manifest", false, "ApplyZelvo()", 32, {}, false},
        InjectedFailure{"Look", "C:\\Tools\\backup", true, "BackupManifest()", 5, {}, false},
        InjectedFailure{"MakeFolder", "", true, "BackupManifest()", 112, {kMakeFolder}, false},
        InjectedFailure{
            "CopyToNew", "", true, "BackupManifest()", 112, {kMakeFolder, kCopy}, false},
        // The backup made before the write stays; the old manifest stays beside the program.
        InjectedFailure{"WriteFile",
                        "C:\\Apps\\Foo.exe.manifest",
                        false,
                        "ApplyZelvo()",
                        5,
                        {kMakeFolder, kCopy, kWrite},
                        true}));

// --- Folders that Windows refuses to change ----------------------------------------------------

// Windows refuses the manifest of Foo.exe, or the copy of its old one into the backup folder;
// the program runs elevated or not, and the user answers the question about it.
struct RefusedCase {
  const char* refused;  // WriteFile or CopyToNew
  bool elevated;
  Answer answer;  // to the question, when not elevated
};

void PrintTo(const RefusedCase& refused, std::ostream* out) {
  *out << refused.refused << (refused.elevated ? " elevated" : " not elevated")
       << (refused.answer == Answer::Yes ? " Yes" : " No");
}

struct RefusedTest : ::testing::TestWithParam<RefusedCase> {
  Rig rig;
  std::vector<Message> boxes;  // what the user is to see

  void SetUp() override {
    const RefusedCase& refused = GetParam();
    rig.files.AddFile("C:\\Apps\\Foo.exe");
    rig.environment.elevated = refused.elevated;
    if (std::string(refused.refused) == "CopyToNew") {
      rig.files.AddFile("C:\\Apps\\Foo.exe.manifest", "old");
      rig.dialogs.answers.push_back(Answer::Yes);
      boxes.push_back(ReplaceManifestQuestion("Foo.exe"));
    }
    if (!refused.elevated) rig.dialogs.answers.push_back(refused.answer);
    rig.files.RefuseOn(refused.refused, "");
  }
};

TEST_P(RefusedTest, AsksToStartAgainAsAdministratorOrWarnsAndLosesNothing) {
  const RefusedCase& refused = GetParam();
  const ApplyResult result = testing::Apply(rig, "C:\\Apps\\Foo.exe");

  // The folder Windows refused to change: the program's, or the backup folder.
  const std::string folder =
      std::string(refused.refused) == "CopyToNew" ? "C:\\Tools\\backup" : "C:\\Apps";
  if (refused.elevated) {
    EXPECT_EQ(result, ApplyResult::NotApplied);
    boxes.push_back(expected::RefusedWarning(folder, Win32Failure(5).Description(),
                                             expected::kApplyFailedTitle));
  } else {
    EXPECT_EQ(result, refused.answer == Answer::Yes ? ApplyResult::NeedsAdministrator
                                                    : ApplyResult::NotApplied);
    boxes.push_back(expected::AdministratorQuestion(folder, "Foo.exe"));
  }
  EXPECT_EQ(rig.dialogs.shown, boxes);
  // Nothing is lost and nothing is reported: the old manifest whole, no entry. The start as
  // administrator is the batch's, which knows the programs after this one.
  EXPECT_EQ(Content(rig.files, "C:\\Apps\\Foo.exe.manifest"),
            std::string(refused.refused) == "CopyToNew" ? "old" : "(none)");
  EXPECT_EQ(rig.log.Count(), 0u);
  EXPECT_TRUE(rig.environment.elevated_starts.empty());
  EXPECT_TRUE(rig.dialogs.answers.empty());
}

INSTANTIATE_TEST_SUITE_P(ManifestOrBackup, RefusedTest,
                         ::testing::Values(RefusedCase{"WriteFile", false, Answer::No},
                                           RefusedCase{"WriteFile", false, Answer::Yes},
                                           RefusedCase{"WriteFile", true, Answer::No},
                                           RefusedCase{"CopyToNew", false, Answer::No},
                                           RefusedCase{"CopyToNew", false, Answer::Yes},
                                           RefusedCase{"CopyToNew", true, Answer::No}));

}  // namespace
}  // namespace zelvo::testing
