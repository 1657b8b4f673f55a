// The three actions on the selected log entries in the real window: remove forgets entries,
// restore deletes manifests and forgets entries, launch starts programs. Every box is checked
// and answered as a user would; then the files, the list, the details, the status line, the
// buttons and the log file written at the end.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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

// A log entry for a program in `folder` under the test's root folder.
Entry LogEntryIn(const ToolFolder& tool, const fs::path& folder, const std::string& name,
                 const std::string& date) {
  return {name, Text(tool.Root() / folder) + "\\", date};
}

fs::path ProgramPathOf(const Entry& entry) { return Wide(entry.folder + entry.name); }

// The command that a button's click sends to the window, sent whatever the button's state: a
// user cannot click a disabled button, but the window must not rely on that alone.
void PostButtonCommand(const MainWindow& window, int id) {
  Post(window.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
       reinterpret_cast<LPARAM>(window.Control(id)));
}

TEST(ActionsWithoutSelection, EachActionOnlyShowsItsHint) {
  ToolFolder folder;
  const std::vector<Entry> entries = {
      LogEntryIn(folder, L"apps", "Alpha.exe", "2024/05/01"),
      LogEntryIn(folder, L"apps", "Bravo.exe", "2024/05/02"),
  };
  for (const Entry& entry : entries) {
    folder.WriteFile(ProgramPathOf(entry), kFakeProgram);
    folder.WriteFile(ProgramPathOf(entry).concat(L".manifest"), X86Manifest());
  }
  folder.WriteIni(IniWith(entries));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  // At start nothing is selected: the buttons are disabled, a user cannot click them.
  ExpectViewDisabled(window);
  for (int id : {ControlId(Control::cmdReturn), ControlId(Control::cmdDelLog),
                 ControlId(Control::cmdShell)}) {
    EXPECT_THROW(window.Click(id), DriverError) << id;
  }

  // Ctrl+click takes the only selection away again: the view is disabled, and still shows the
  // row that was current.
  window.ClickRow(ControlId(Control::lstLogName), 1);
  ExpectEntryShown(window, "Bravo.exe", entries[1].folder, entries[1].date);
  window.ClickRow(ControlId(Control::lstLogName), 1, Keys::Control);
  ASSERT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window, "Bravo.exe", entries[1].folder, entries[1].date);

  // Should a click come through all the same, each action looks at the selection itself: its
  // hint, no box, nothing touched.
  const struct {
    int button;
    std::string_view hint;
  } actions[] = {
      {ControlId(Control::cmdDelLog), expected::kRemoveHint},
      {ControlId(Control::cmdReturn), expected::kRestoreHint},
      {ControlId(Control::cmdShell), expected::kLaunchHint},
  };
  for (const auto& action : actions) {
    SCOPED_TRACE(std::string(action.hint));
    PostButtonCommand(window, action.button);
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
    ExpectStatusLine(window, action.hint);
    EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Alpha.exe", "Bravo.exe"));
    ExpectViewDisabled(window, "Bravo.exe", entries[1].folder, entries[1].date);
  }
  for (const Entry& entry : entries) {
    EXPECT_TRUE(folder.Exists(ProgramPathOf(entry).concat(L".manifest"))) << entry.name;
  }
  CloseAndExpectLog(zelvo, window, entries);
}

TEST(RemoveAction, AsksWithNoAsDefaultAndForgetsOnlyTheSelectedEntries) {
  ToolFolder folder;
  // The log file's order is the hidden lists' order; the visible list sorts the names, so the
  // two orders differ and each entry's folder and date must follow it by its key.
  const Entry delta = LogEntryIn(folder, L"d", "Delta.exe", "2024/01/04");
  const Entry alpha = LogEntryIn(folder, L"a", "alpha.exe", "2024/01/01");
  const Entry charlie = LogEntryIn(folder, L"c", "Charlie.exe", "2024/01/03");
  const Entry bravo = LogEntryIn(folder, L"b", "Bravo.exe", "2024/01/02");
  for (const Entry& entry : {delta, alpha, charlie, bravo}) {
    folder.WriteFile(ProgramPathOf(entry), kFakeProgram);
    folder.WriteFile(ProgramPathOf(entry).concat(L".manifest"), X86Manifest());
  }
  folder.WriteIni(IniWith({delta, alpha, charlie, bravo}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  ASSERT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("alpha.exe", "Bravo.exe", "Charlie.exe", "Delta.exe"));

  window.ClickRow(ControlId(Control::lstLogName), 1);
  window.ClickRow(ControlId(Control::lstLogName), 2, Keys::Shift);
  ASSERT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1, 2));
  ExpectEntryShown(window, "Charlie.exe...", charlie.folder, charlie.date);

  // No keeps everything as it was, still selected.
  window.Click(ControlId(Control::cmdDelLog));
  ExpectBoxAndAnswer(zelvo, RemoveQuestion(2), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRemoveCancelled);
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("alpha.exe", "Bravo.exe", "Charlie.exe", "Delta.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1, 2));
  ExpectEntryShown(window, "Charlie.exe...", charlie.folder, charlie.date);

  // Yes forgets exactly the two selected entries; their programs keep their manifests.
  window.Click(ControlId(Control::cmdDelLog));
  ExpectBoxAndAnswer(zelvo, RemoveQuestion(2), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRemoved);
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("alpha.exe", "Delta.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window);
  for (const Entry& entry : {delta, alpha, charlie, bravo}) {
    EXPECT_TRUE(folder.Exists(ProgramPathOf(entry))) << entry.name;
    EXPECT_THAT(folder.ReadFile(ProgramPathOf(entry).concat(L".manifest")), Optional(X86Manifest()))
        << entry.name;
  }

  // The remaining entries still show their own folder and date.
  window.ClickRow(ControlId(Control::lstLogName), 0);
  ExpectEntryShown(window, "alpha.exe", alpha.folder, alpha.date);
  window.ClickRow(ControlId(Control::lstLogName), 1);
  ExpectEntryShown(window, "Delta.exe", delta.folder, delta.date);

  CloseAndExpectLog(zelvo, window, {alpha, delta});
}

TEST(RemoveAction, AllEntriesSelectedEmptiesTheLog) {
  ToolFolder folder;
  const std::vector<Entry> entries = {
      LogEntryIn(folder, L"apps", "One.exe", "2024/02/01"),
      LogEntryIn(folder, L"apps", "Three.exe", "2024/02/03"),
      LogEntryIn(folder, L"apps", "Two.exe", "2024/02/02"),
  };
  folder.WriteIni(IniWith(entries));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  window.ClickRow(ControlId(Control::lstLogName), 0);
  window.ClickRow(ControlId(Control::lstLogName), 2, Keys::Shift);
  window.Click(ControlId(Control::cmdDelLog));
  ExpectBoxAndAnswer(zelvo, RemoveQuestion(3), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRemoved);
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window);

  CloseAndExpectLog(zelvo, window, {});
}

TEST(RestoreAction, DeletesPresentManifestsAndAsksForEachMissingOne) {
  ToolFolder folder;
  const fs::path apps = L"Old Apps";
  const Entry alpha = LogEntryIn(folder, apps, "Alpha.exe", "2024/03/01");
  const Entry bravo = LogEntryIn(folder, apps, "Bravo.exe", "2024/03/02");
  const Entry charlie = LogEntryIn(folder, apps, "Charlie.exe", "2024/03/03");
  const Entry delta = LogEntryIn(folder, apps, "Delta.exe", "2024/03/04");
  const Entry echo = LogEntryIn(folder, apps, "Echo.exe", "2024/03/05");
  const std::vector<Entry> entries = {alpha, bravo, charlie, delta, echo};
  for (const Entry& entry : entries) folder.WriteFile(ProgramPathOf(entry), kFakeProgram);

  const fs::path alpha_manifest = ProgramPathOf(alpha).concat(L".manifest");
  const fs::path delta_manifest = ProgramPathOf(delta).concat(L".manifest");
  const fs::path echo_manifest = ProgramPathOf(echo).concat(L".manifest");
  folder.WriteFile(alpha_manifest, X86Manifest());
  folder.WriteFile(delta_manifest, X86Manifest());
  // A hidden manifest is no manifest of ours: it is asked about, never deleted.
  folder.WriteFile(echo_manifest, X86Manifest());
  ASSERT_TRUE(SetFileAttributesW(echo_manifest.c_str(), FILE_ATTRIBUTE_HIDDEN));
  // Files with similar names, and the backup of the manifest that stood there before, stay.
  const std::string earlier = "<assembly>the program's own</assembly>\r\n";
  const fs::path backup = folder.Folder() / L"backup" / L"Alpha.exe.manifest";
  const fs::path look_alikes[] = {ProgramPathOf(alpha).replace_extension(L".manifest"),
                                  ProgramPathOf(alpha).concat(L".manifest.old"), backup};
  for (const fs::path& file : look_alikes) folder.WriteFile(file, earlier);

  folder.WriteIni(IniWith(entries));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  // Alpha to Charlie by Shift, Echo by Ctrl; Delta stays unselected.
  window.ClickRow(ControlId(Control::lstLogName), 0);
  window.ClickRow(ControlId(Control::lstLogName), 2, Keys::Shift);
  window.ClickRow(ControlId(Control::lstLogName), 4, Keys::Control);
  ASSERT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0, 1, 2, 4));
  ExpectEntryShown(window, "Echo.exe...", echo.folder, echo.date);

  // No at the count question: nothing changes, the buttons stay as they are.
  window.Click(ControlId(Control::cmdReturn));
  ExpectBoxAndAnswer(zelvo, RestoreQuestion(4), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRestoreCancelled);
  EXPECT_TRUE(folder.Exists(alpha_manifest));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("Alpha.exe", "Bravo.exe", "Charlie.exe", "Delta.exe", "Echo.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0, 1, 2, 4));
  ExpectEntryShown(window, "Echo.exe...", echo.folder, echo.date);

  window.Click(ControlId(Control::cmdReturn));
  ExpectBoxAndAnswer(zelvo, RestoreQuestion(4), Answer::Yes);

  // The entries come in list order: Alpha's manifest is gone before Bravo, without one, is
  // asked about.
  {
    const MessageBoxWindow box = zelvo.WaitForBox();
    EXPECT_TRUE(BoxShows(box, RestoreMissingQuestion("Bravo.exe")));
    EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), expected::Restoring("Bravo.exe"));
    EXPECT_FALSE(folder.Exists(alpha_manifest));
    box.Answer(Answer::Yes);
  }
  {
    const MessageBoxWindow box = zelvo.WaitForBox();
    EXPECT_TRUE(BoxShows(box, RestoreMissingQuestion("Charlie.exe")));
    EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), expected::Restoring("Charlie.exe"));
    box.Answer(Answer::No);
  }
  {
    const MessageBoxWindow box = zelvo.WaitForBox();
    EXPECT_TRUE(BoxShows(box, RestoreMissingQuestion("Echo.exe")));
    EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), expected::Restoring("Echo.exe"));
    box.Answer(Answer::No);
  }
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRestoreDone);

  // Alpha (restored) and Bravo (dropped) have left the log; Charlie and Echo (answered No) are
  // kept unselected; Delta was never selected.
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("Charlie.exe", "Delta.exe", "Echo.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window);

  EXPECT_FALSE(folder.Exists(alpha_manifest));
  EXPECT_THAT(folder.ReadFile(delta_manifest), Optional(X86Manifest()));
  EXPECT_THAT(folder.ReadFile(echo_manifest), Optional(X86Manifest()));
  for (const fs::path& file : look_alikes) {
    EXPECT_THAT(folder.ReadFile(file), Optional(earlier)) << Text(file);
  }
  for (const Entry& entry : entries) EXPECT_TRUE(folder.Exists(ProgramPathOf(entry))) << entry.name;

  window.ClickRow(ControlId(Control::lstLogName), 2);
  ExpectEntryShown(window, "Echo.exe", echo.folder, echo.date);
  CloseAndExpectLog(zelvo, window, {charlie, delta, echo});
}

// What the launch probe wrote when it ran: its own path and its current folder.
struct ProbeRun {
  std::wstring program;
  std::wstring current_folder;
};

std::optional<ProbeRun> ReadProbeRun(const ToolFolder& folder, const fs::path& program) {
  // The probe holds the file without sharing until it has written both lines.
  const auto bytes = folder.ReadFile(fs::path(program).concat(L".ran"));
  if (!bytes) return std::nullopt;
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()),
                          bytes->size() / sizeof(wchar_t));
  const size_t first = text.find(L"\r\n");
  if (first == std::wstring::npos) return std::nullopt;
  const size_t second = text.find(L"\r\n", first + 2);
  if (second == std::wstring::npos) return std::nullopt;
  return ProbeRun{text.substr(0, first), text.substr(first + 2, second - first - 2)};
}

// Waits for the probe at `program` to report its run; nullopt when it has not run.
std::optional<ProbeRun> WaitForProbeRun(const ToolFolder& folder, const fs::path& program) {
  std::optional<ProbeRun> run;
  WaitFor([&] { return (run = ReadProbeRun(folder, program)).has_value(); }, kStartTimeout);
  return run;
}

fs::path CopyProbe(const ToolFolder& folder, const fs::path& relative) {
  const fs::path target = folder.Root() / relative;
  fs::create_directories(target.parent_path());
  fs::copy_file(E2E_LAUNCH_PROBE_EXE, target);
  return target;
}

TEST(LaunchAction, StartsTheProgramItselfInItsOwnFolder) {
  ToolFolder folder;
  // Started by its path alone, a program in "My Apps" would be looked for as "My.exe" first.
  const fs::path probe = CopyProbe(folder, L"My Apps\\probe.exe");
  const fs::path decoy = CopyProbe(folder, L"My.exe");
  const Entry entry = LogEntryIn(folder, L"My Apps", "probe.exe", "2024/04/01");
  folder.WriteIni(IniWith({entry}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  window.ClickRow(ControlId(Control::lstLogName), 0);

  // One entry: the question has no warning line.
  window.Click(ControlId(Control::cmdShell));
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(1), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kLaunchCancelled);
  EXPECT_FALSE(folder.Exists(fs::path(probe).concat(L".ran")));

  window.Click(ControlId(Control::cmdShell));
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(1), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kLaunchDone);

  // Whichever of the two was started reports its run.
  std::optional<ProbeRun> run;
  std::optional<ProbeRun> decoy_run;
  WaitFor(
      [&] {
        run = ReadProbeRun(folder, probe);
        decoy_run = ReadProbeRun(folder, decoy);
        return run || decoy_run;
      },
      kStartTimeout);
  EXPECT_FALSE(decoy_run) << "the program at the cut-off path ran";
  ASSERT_TRUE(run) << "the program did not run";
  EXPECT_EQ(Text(run->program), Text(probe));
  EXPECT_EQ(Text(run->current_folder), Text(probe.parent_path()));

  // The log, the selection and the view are as before.
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("probe.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0));
  ExpectEntryShown(window, "probe.exe", entry.folder, entry.date);
  CloseAndExpectLog(zelvo, window, {entry});
}

TEST(LaunchAction, HandlesEachSelectedEntryInOrderWithItsNotice) {
  ToolFolder folder;
  const Entry alpha = LogEntryIn(folder, L"First Apps", "Alpha.exe", "2024/04/01");
  const Entry document = LogEntryIn(folder, L"docs", "Document.txt", "2024/04/02");
  const Entry shortcut = LogEntryIn(folder, L"links", "Editor.lnk", "2024/04/03");
  const Entry failing = LogEntryIn(folder, L"broken", "Failing.exe", "2024/04/04");
  const Entry gone = LogEntryIn(folder, L"gone", "Gone.exe", "2024/04/05");
  const Entry hidden = LogEntryIn(folder, L"hidden", "Hidden.exe", "2024/04/06");
  const Entry zulu = LogEntryIn(folder, L"Last Apps", "Zulu.EXE", "2024/04/07");
  const std::vector<Entry> entries = {alpha, document, shortcut, failing, gone, hidden, zulu};
  CopyProbe(folder, ProgramPathOf(alpha));
  CopyProbe(folder, ProgramPathOf(zulu));  // the extension in capitals is a program all the same
  folder.WriteFile(ProgramPathOf(document), "not a program\r\n");
  // Editor.lnk does not exist: a name that is no program is refused before anything is looked
  // for.
  folder.WriteFile(ProgramPathOf(failing), kFakeProgram);  // Windows refuses to start it
  const fs::path hidden_program = CopyProbe(folder, ProgramPathOf(hidden));
  ASSERT_TRUE(SetFileAttributesW(hidden_program.c_str(), FILE_ATTRIBUTE_HIDDEN));
  folder.WriteIni(IniWith(entries));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  window.ClickRow(ControlId(Control::lstLogName), 0);
  window.ClickRow(ControlId(Control::lstLogName), 6, Keys::Shift);
  ASSERT_THAT(window.SelectedRows(ControlId(Control::lstLogName)),
              ElementsAre(0, 1, 2, 3, 4, 5, 6));
  const int caret = window.CaretRow(ControlId(Control::lstLogName));

  // Several entries: the question warns.
  window.Click(ControlId(Control::cmdShell));
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(7), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kLaunchCancelled);

  // Each box shows while the status line still holds the text that came before it: a notice
  // for a name that is no program comes before its status text, the others after theirs.
  window.Click(ControlId(Control::cmdShell));
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(7), Answer::Yes);
  const struct {
    Message notice;
    std::string status;
  } failures[] = {
      {NotExecutableNotice("Document.txt"), expected::Launched("Alpha.exe")},
      {NotExecutableNotice("Editor.lnk"), expected::NotRun("Document.txt")},
      {LaunchFailedNotice("Failing.exe"), expected::LaunchFailed("Failing.exe")},
      {NotFoundNotice("Gone.exe"), expected::NotRun("Gone.exe")},
      // Hidden counts as missing.
      {NotFoundNotice("Hidden.exe"), expected::NotRun("Hidden.exe")},
  };
  for (const auto& failure : failures) {
    const MessageBoxWindow box = zelvo.WaitForBox();
    EXPECT_TRUE(BoxShows(box, failure.notice));
    EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), failure.status);
    box.Answer(Answer::Ok);
  }
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kLaunchDone);

  for (const Entry& started : {alpha, zulu}) {
    const std::optional<ProbeRun> run = WaitForProbeRun(folder, ProgramPathOf(started));
    ASSERT_TRUE(run) << started.name << " did not run";
    EXPECT_EQ(Text(run->current_folder), Text(ProgramPathOf(started).parent_path()));
  }
  // Zulu.EXE came after it in the list and has run: the hidden program would have by now.
  EXPECT_FALSE(folder.Exists(fs::path(hidden_program).concat(L".ran")));

  // Nothing in the log, the selection or the view has changed.
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("Alpha.exe", "Document.txt", "Editor.lnk", "Failing.exe", "Gone.exe",
                          "Hidden.exe", "Zulu.EXE"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)),
              ElementsAre(0, 1, 2, 3, 4, 5, 6));
  EXPECT_EQ(window.CaretRow(ControlId(Control::lstLogName)), caret);
  ExpectEntryShown(window, "Zulu.EXE...", zulu.folder, zulu.date);
  CloseAndExpectLog(zelvo, window, entries);
}

}  // namespace
}  // namespace zelvo::e2e
